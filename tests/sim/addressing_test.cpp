#include <gmock/gmock.h>

#include "protocol/commands.h"
#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

using ::testing::ElementsAreArray;
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
  EXPECT_THAT(frames[0].frame, ElementsAreArray(frameOf({1, 4, 0xFF, 1, 4})));
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
  const Frame from260 = frameOf({1, 4, 0xFD, 0, 1, 4});
  exchange(request::addressQuery());
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_THAT(frames[0].frame, ElementsAreArray(from260));
  bus.addModules(1, 5);
  frames.clear();
  bytes.clear();
  exchange(request::addressQuery());
  const Frame from5 = frameOf({0, 5, 0xFD, 0, 0, 5});
  std::vector<std::uint8_t> wired(kFrameSize);
  for (std::size_t k = 0; k < kFrameSize; ++k) wired[k] = from260[k] & from5[k];
  EXPECT_EQ(bytes, wired);
  EXPECT_TRUE(frames.empty());
  EXPECT_EQ(crcErrors, 1);
}

}  // namespace
}  // namespace zelta::test
