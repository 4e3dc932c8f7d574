#include <algorithm>
#include <map>

#include "protocol/commands.h"
#include "protocol/decoders.h"
#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

// The wake-up request the programmer sends once a second meanwhile does not
// disturb the burst.
TEST_F(BusFixture, PowerUpWithButtonHeldSends301NumberedMessagesAtAnEvenPace) {
  bus.addModules(3, 0);
  bus.addModules(1, 42);
  bus.powerUpWithButtonHeld(3);
  for (int i = 0; i < 10; ++i) {
    line.write(request::collective(cmd::WakeUpAddress));
    clock.advance(1000);
  }
  ASSERT_EQ(frames.size(), 301u);
  for (std::size_t k = 0; k < frames.size(); ++k) {
    EXPECT_EQ(frameAddress(frames[k].frame), 42);
    EXPECT_EQ(frameCommand(frames[k].frame), cmd::Ping);
    EXPECT_EQ(decode::messageNumber(frames[k].frame), 300 - k);
    EXPECT_EQ(frames[k].atMs - frames[k > 0 ? k - 1 : 0].atMs, k > 0 ? 20 : 0) << k;
  }
  EXPECT_EQ(crcErrors, 0);
}

// A flaky module's own faults hit only its replies; a corrupted one still
// arrives as a whole frame (a check-byte error, never a lost start).
TEST_F(BusFixture, FlakyModuleLosesAndCorruptsOnlyItsOwnReplies) {
  bus.addModules(3, 1);
  bus.setModuleFaults(1, {.missingReply = 0.3, .corruptReply = 0.3});
  for (int i = 0; i < 300; ++i) exchange(request::readerVoltage(static_cast<std::uint16_t>(i % 3 + 1)));
  const InjectedFaults flaky = bus.injectedBy(1);
  EXPECT_GT(flaky.missingReplies, 10u);
  EXPECT_GT(flaky.corruptedReplies, 10u);
  std::map<int, std::uint64_t> answered;
  for (const auto& f : frames) ++answered[frameAddress(f.frame)];
  EXPECT_EQ(answered[1], 100u);
  EXPECT_EQ(answered[3], 100u);
  EXPECT_EQ(answered[2], 100u - flaky.missingReplies - flaky.corruptedReplies);
  EXPECT_EQ(static_cast<std::uint64_t>(crcErrors), flaky.corruptedReplies);
  EXPECT_EQ(bus.injectedBy(0).missingReplies + bus.injectedBy(2).corruptedReplies, 0u);
}

// A long scan with these faults switched on, as the program's receiver sees it.
struct FaultRun {
  std::vector<std::uint8_t> bytes;
  std::vector<qint64> times;
  InjectedFaults injected;
  int validFrames = 0;
};

FaultRun runWithFaults(std::uint32_t seed, int requests, const FaultRates& faults) {
  VirtualClock clock;
  BusSimulator bus(clock, seed);
  FaultRun run;
  FrameReceiver receiver;
  bus.setByteSink([&](std::uint8_t b) {
    run.bytes.push_back(b);
    run.times.push_back(clock.nowMs());
    run.validFrames += receiver.push(b) == FrameReceiver::Outcome::Complete;
  });
  bus.addModules(20, 1);
  bus.setFaults(faults);
  for (int i = 0; i < requests; ++i) {
    bus.hostWrote(request::readerVoltage(static_cast<std::uint16_t>(i % 20 + 1)));
    clock.advance(100);
  }
  run.injected = bus.injected();
  return run;
}

// The same seed repeats a run byte for byte and to the millisecond; the
// counts of injected faults match what reached the line.
TEST(BusFaults, SeedRepeatsTheRunAndCountsMatchTheLine) {
  const int requests = 2000;
  const FaultRates all{.missingReply = 0.05, .corruptByte = 0.005, .noiseByte = 0.05,
                       .strayStart = 0.05, .lateReply = 0.05, .lateByMs = 30};
  const FaultRun run = runWithFaults(77, requests, all);
  const FaultRun again = runWithFaults(77, requests, all);
  EXPECT_EQ(run.bytes, again.bytes);
  EXPECT_EQ(run.times, again.times);
  EXPECT_NE(run.bytes, runWithFaults(78, requests, all).bytes);
  const InjectedFaults& f = run.injected;
  for (auto n : {f.missingReplies, f.corruptedReplies, f.noiseBytes, f.strayStarts, f.lateReplies}) {
    EXPECT_GT(n, 20u);
    EXPECT_LT(n, 200u);
  }
  const std::uint64_t sent = requests - f.missingReplies;
  EXPECT_EQ(run.bytes.size(), sent * kFrameSize + f.noiseBytes + f.strayStarts);
  // Late replies are 30 ms late but still before the next request's reply.
  EXPECT_TRUE(std::is_sorted(run.times.begin(), run.times.end()));
  EXPECT_GE(run.validFrames, static_cast<int>(sent - f.corruptedReplies));
  EXPECT_LE(run.validFrames, static_cast<int>(sent));
}

// Noise bytes come before a reply and never look like its start.
TEST(BusFaults, NoiseNeverLooksLikeAStartByte) {
  const FaultRun run = runWithFaults(3, 300, {.noiseByte = 1.0});
  ASSERT_EQ(run.bytes.size(), 300u * 12);
  for (std::size_t i = 0; i < run.bytes.size(); i += 12) {
    EXPECT_NE(run.bytes[i], kStartByte);
    EXPECT_EQ(run.bytes[i + 1], kStartByte);
  }
  EXPECT_EQ(run.validFrames, 300) << "the receiver finds every reply after the noise";
}

TEST(BusLifetime, SimulatorDestroyedWithEventsPendingOnTheClock) {
  VirtualClock clock;
  {
    BusSimulator bus(clock, 1);
    bus.addModules(1, 1);
    bus.hostWrote(request::readerVoltage(1));
    bus.powerUpWithButtonHeld(0);
    clock.advance(30);
  }
  clock.advance(10000);
  EXPECT_EQ(clock.pendingEvents(), 0u);
}

}  // namespace
}  // namespace zelta::test
