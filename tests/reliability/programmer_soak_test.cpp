// The Programmer's receive line test left running while modules are powered
// up with their button held again and again, on the virtual clock: every
// numbered message must show as it arrives, the end of each burst must be
// told once, and the heap must not grow with the bursts.
#include <QLabel>
#include <cstdio>

#include "protocol/commands.h"
#include "soak_support.h"
#include "tests/programmer/programmer_fixture.h"

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

  std::vector<std::size_t> heap;
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
      for (const auto& f : bus.hostFrames()) ASSERT_EQ(f.frame, request::collective(500)) << "at " << f.atMs;
      EXPECT_NEAR(double(bus.hostFrames().size()),
                  double(clock.nowMs() - bus.hostFrames().front().atMs) / 1000, 2);
      forgetFrames();
      heap.push_back(heapInUse());
    }
  }
  EXPECT_EQ(messages, std::uint64_t(bursts) * kNumbersPerBurst);
  EXPECT_EQ(shownWrong, 0u);
  std::printf("[line check] %d bursts, %.0f min virtual; heap %zu KB after the first 100 bursts, "
              "%zu KB after the last\n",
              bursts, clock.nowMs() / 60000.0, heap.front() / 1024, heap.back() / 1024);
  if (!kUnderSanitizer && heap.size() >= 3) {
    for (std::size_t k = heap.size() / 2; k < heap.size(); ++k)
      EXPECT_LE(heap[k], heap.front() + 256 * 1024) << "after " << (k + 1) * 100 << " bursts";
  }
}

}  // namespace
}  // namespace zelta::testing
