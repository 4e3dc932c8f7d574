// The Programmer's receive line test left running while modules are powered
// up with their button held again and again, on the virtual clock: every
// numbered message must show as it arrives, the end of each burst must be
// told once, and the heap must not grow with the bursts.
#include <QLabel>
#include <cstdio>

#include "protocol/commands.h"
#include "soak_support.h"
#include "tests/programmer/programmer_fixture.h"
#include "wire_check.h"

namespace zelta::testing {
namespace {

constexpr int kNumbersPerBurst = 301;  // 300 down to 0

class ReceiveLineSoak : public test::ProgrammerFixture {};

TEST_F(ReceiveLineSoak, BurstAfterBurstEveryNumberShowsAndEachEndIsToldOnce) {
  // Hours of virtual time; a burst with its pause takes about seven seconds.
  const int bursts = soakHours(24, 1) * 500;
  bus.addModules(3, 0);
  startOpen();
  click("Option3");
  click("Option5");
  click("Command8");
  QLabel* label2 = find<QLabel>("Label2");

  std::uint64_t messages = 0, shownWrong = 0;
  bus.setTraceSink([&](const BusSimulator::TraceEvent& e) {
    if (e.fromHost || e.bytes.size() != kFrameSize || e.bytes[3] != cmd::Ping) return;
    ++messages;
    const int number = e.bytes[4] << 8 | e.bytes[5];
    if (label2->text() != QString::number(number) && ++shownWrong <= 5)
      ADD_FAILURE() << "message " << number << " shows as '" << label2->text().toStdString() << "'";
  });

  std::vector<MemorySample> memory;
  for (int b = 1; b <= bursts; ++b) {
    clock.advance(700);  // the installer reconnects the next module
    boxes.clearAsked();
    bus.powerUpWithButtonHeld(b % 3);
    ASSERT_TRUE(clock.advanceUntil([&] { return !boxes.asked().empty(); }, 10000))
        << "burst " << b << " was not told to end";
    clock.advance(100);
    ASSERT_EQ(boxes.asked().size(), 1u) << "burst " << b;
    EXPECT_EQ(boxes.asked()[0].text, "To restart test, reconnect module.");
    EXPECT_EQ(boxes.asked()[0].title, "Line Check");
    EXPECT_EQ(label2->text(), "0");
    if (b % 100 == 0) {
      // Meanwhile only the collective request to 500, once per second.
      EXPECT_EQ(wireProblem(bus.hostFrames(), 500, 500, {cmd::Collective}), "");
      EXPECT_NEAR(double(bus.hostFrames().size()),
                  double(clock.nowMs() - bus.hostFrames().front().atMs) / 1000, 2);
      forgetFrames();
      memory.push_back(sampleMemory());
    }
  }
  EXPECT_EQ(messages, std::uint64_t(bursts) * kNumbersPerBurst);
  EXPECT_EQ(shownWrong, 0u);
  std::printf("[line check] %d bursts, %llu numbered messages, %.0f min virtual; heap %zu KB "
              "after the first 100 bursts, %zu KB after the last\n",
              bursts, static_cast<unsigned long long>(messages), clock.nowMs() / 60000.0,
              memory.front().heapInUse / 1024, memory.back().heapInUse / 1024);
  if (!kUnderSanitizer && memory.size() >= 3) {
    for (std::size_t k = memory.size() / 2; k < memory.size(); ++k)
      EXPECT_LE(memory[k].heapInUse, memory.front().heapInUse + 256 * 1024)
          << "after " << (k + 1) * 100 << " bursts";
  }
}

}  // namespace
}  // namespace zelta::testing
