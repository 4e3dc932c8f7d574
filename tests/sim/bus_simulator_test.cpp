#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

using BusModules = BusFixture;

// Frames written back to back cross the line one after the other, and each
// reply arrives at the line's pace; a frame with a wrong check byte gets no
// answer. (What the modules answer is checked through the programs' tests.)
TEST_F(BusModules, ReplyBytesArriveAtTheLinePace) {
  bus.addModules(2, 1);
  clock.advance(1000);
  const qint64 t0 = clock.nowMs();
  line.write(request::readerVoltage(1));
  line.write(request::readerVoltage(2));
  clock.advance(200);
  ASSERT_EQ(byteTimes.size(), 22u);
  // Request on the line 11.46 ms, turnaround 3 ms, then one byte per 1.04 ms.
  EXPECT_NEAR(byteTimes.front() - t0, 15.5, 0.5);
  EXPECT_EQ(byteTimes[10] - t0, 26);
  for (std::size_t k = 1; k < 11; ++k) EXPECT_LE(byteTimes[k] - byteTimes[k - 1], 2);
  EXPECT_NEAR(byteTimes[21] - t0, 37.5, 0.5);
  Frame bad = request::readerVoltage(1);
  bad[10] ^= 0x01;
  exchange(bad);
  EXPECT_EQ(byteTimes.size(), 22u);

  // In chunks, as a receive buffer hands them over: the first eight bytes
  // when the eighth is through, the other three with the last.
  bus.setReplyChunkBytes(8);
  byteTimes.clear();
  const qint64 t1 = clock.nowMs();
  line.write(request::readerVoltage(1));
  clock.advance(200);
  ASSERT_EQ(byteTimes.size(), 11u);
  EXPECT_EQ(byteTimes,
            std::vector<qint64>({t1 + 23, t1 + 23, t1 + 23, t1 + 23, t1 + 23, t1 + 23, t1 + 23,
                                 t1 + 23, t1 + 26, t1 + 26, t1 + 26}));
}

using ModuleAddressing = BusFixture;

// Only a press while automatic addressing is armed addresses a module; the
// stop broadcast disarms the others.
TEST_F(ModuleAddressing, ButtonPressAfterAutomaticRequestTakesTheAddressAndConfirms) {
  bus.addModules(3, 0);
  bus.pressButton(0);
  clock.advance(100);
  exchange(request::autoAddress(260));
  EXPECT_TRUE(bytes.empty()) << "neither a press with nothing armed nor arming is answered";
  bus.pressButton(1);
  clock.advance(50);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].frame, reply(260, 0xFF, 1, 4));
  EXPECT_EQ(bus.module(1).address, 260);
  EXPECT_EQ(bus.module(0).address, 0);
  exchange(request::stopAutoAddressing());
  bus.pressButton(2);
  clock.advance(50);
  EXPECT_EQ(frames.size(), 1u);
  EXPECT_EQ(bus.module(2).address, 0);
}

// Two answers at once meet on the open-drain line: a bit is high only where
// both senders leave it high, so the receiver sees one damaged frame.
TEST_F(ModuleAddressing, AddressQueryIsAnsweredByALoneModuleAndCollidesWithTwo) {
  bus.addModules(1, 260);
  const Frame from260 = reply(260, 0xFD, 0, 1, 4);
  exchange(request::addressQuery());
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].frame, from260);
  bus.addModules(1, 5);
  frames.clear();
  bytes.clear();
  exchange(request::addressQuery());
  const Frame from5 = reply(5, 0xFD, 0, 0, 5);
  std::vector<std::uint8_t> wired(kFrameSize);
  for (std::size_t k = 0; k < kFrameSize; ++k) wired[k] = from260[k] & from5[k];
  EXPECT_EQ(bytes, wired);
  EXPECT_TRUE(frames.empty());
  EXPECT_EQ(crcErrors, 1);
}

}  // namespace
}  // namespace zelta::test
