#include <gmock/gmock.h>

#include <algorithm>

#include "protocol/commands.h"
#include "protocol/decoders.h"
#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

using LineCheckBurst = BusFixture;
using BusModules = BusFixture;

TEST_F(LineCheckBurst, PowerUpWithButtonHeldSends301NumberedMessagesAtAnEvenPace) {
  bus.addModules(3, 0);
  bus.addModules(1, 42);
  bus.powerUpWithButtonHeld(3);
  clock.advance(10000);
  ASSERT_EQ(frames.size(), 301u);
  for (std::size_t k = 0; k < frames.size(); ++k) {
    EXPECT_EQ(frameAddress(frames[k].frame), 42);
    EXPECT_EQ(frameCommand(frames[k].frame), cmd::Ping);
    EXPECT_EQ(decode::messageNumber(frames[k].frame), 300 - k);
  }
  for (std::size_t k = 1; k < frames.size(); ++k) {
    const qint64 gap = frames[k].atMs - frames[k - 1].atMs;
    EXPECT_TRUE(gap == 20) << "message " << k << " after " << gap << " ms";
  }
}

TEST_F(LineCheckBurst, PaceIsSettableAndRequestsDuringTheBurstDoNotBreakIt) {
  bus.addModules(1, 0);
  bus.setLineCheckPaceMs(50);
  bus.powerUpWithButtonHeld(0);
  for (int i = 0; i < 30; ++i) {  // the programmer's wake-up request once a second meanwhile
    line.write(request::collective(cmd::WakeUpAddress));
    clock.advance(1000);
  }
  ASSERT_EQ(frames.size(), 301u);
  EXPECT_EQ(decode::messageNumber(frames.back().frame), 0);
  EXPECT_EQ(frames.back().atMs - frames.front().atMs, 300 * 50);
  EXPECT_EQ(crcErrors, 0);
}

TEST_F(LineCheckBurst, PingToModulesIsHarmless) {
  bus.addModules(2, 0);
  exchange(request::ping(0, 0));
  exchange(request::ping(0xFFFF, 300));
  EXPECT_TRUE(bytes.empty());
  exchange(request::collective(0));
  EXPECT_EQ(bytes.size(), 11u) << "the modules still answer afterwards";
}

TEST_F(BusModules, SilentRangeIsAGapInTheString) {
  bus.addModules(10, 1);
  bus.setSilentRange(4, 6);
  for (std::uint16_t a = 1; a <= 10; ++a) exchange(request::readerVoltage(a));
  std::vector<int> answered;
  for (const auto& f : frames) answered.push_back(frameAddress(f.frame));
  EXPECT_EQ(answered, (std::vector<int>{1, 2, 3, 7, 8, 9, 10}));
  bus.clearSilentRange();
  exchange(request::readerVoltage(5));
  EXPECT_EQ(frames.size(), 8u);
}

TEST_F(BusModules, DriftChangesValuesSlowlyOnlyWhenOn) {
  bus.addModules(1, 1);
  const ModuleState before = bus.module(0);
  for (int i = 0; i < 20; ++i) exchange(request::readerVoltage(1));
  EXPECT_EQ(bus.module(0).millivolts, before.millivolts);
  bus.setDrift(true);
  for (int i = 0; i < 200; ++i) exchange(request::readerVoltage(1));
  const int change = bus.module(0).millivolts - before.millivolts;
  EXPECT_NE(bus.module(0).millivolts, before.millivolts);
  EXPECT_LE(std::abs(change), 600) << "drift is slow";
}

TEST_F(BusModules, DefaultValuesAreRealistic) {
  bus.addModules(50, 1);
  for (int i = 0; i < 50; ++i) {
    const ModuleState& m = bus.module(i);
    EXPECT_EQ(m.address, i + 1);
    EXPECT_GE(m.millivolts, 12000);
    EXPECT_LE(m.millivolts, 13800);
    EXPECT_GE((m.temperatureByte - 78) / 2.0, 15.0);
    EXPECT_LE((m.temperatureByte - 78) / 2.0, 35.0);
    EXPECT_GE(m.impedance, 100);
    EXPECT_LE(m.impedance, 1000);
  }
}

// A long scan with every fault switched on, as the program's receiver sees it.
struct FaultRun {
  std::vector<std::uint8_t> bytes;
  std::vector<qint64> times;
  InjectedFaults injected;
  int validFrames = 0;
  int crcErrors = 0;
};

FaultRun runWithFaults(std::uint32_t seed, int requests) {
  VirtualClock clock;
  BusSimulator bus(clock, seed);
  SimulatedLine line(bus);
  FaultRun run;
  FrameReceiver receiver;
  QObject::connect(&line, &SerialLine::byteReceived, [&](quint8 b) {
    run.bytes.push_back(b);
    run.times.push_back(clock.nowMs());
    const auto outcome = receiver.push(b);
    if (outcome == FrameReceiver::Outcome::Complete) ++run.validFrames;
    if (outcome == FrameReceiver::Outcome::CrcError) ++run.crcErrors;
  });
  line.openPort(1);
  bus.addModules(20, 1);
  FaultRates rates;
  rates.missingReply = 0.05;
  rates.corruptByte = 0.005;
  rates.noiseByte = 0.05;
  rates.strayStart = 0.05;
  rates.lateReply = 0.05;
  rates.lateByMs = 30;
  bus.setFaults(rates);
  for (int i = 0; i < requests; ++i) {
    line.write(request::readerVoltage(static_cast<std::uint16_t>(i % 20 + 1)));
    clock.advance(100);
  }
  run.injected = bus.injected();
  return run;
}

TEST(BusFaults, SameSeedRepeatsTheRunAndOtherSeedsDiffer) {
  const FaultRun a = runWithFaults(77, 2000);
  const FaultRun b = runWithFaults(77, 2000);
  const FaultRun c = runWithFaults(78, 2000);
  EXPECT_EQ(a.bytes, b.bytes);
  EXPECT_EQ(a.times, b.times);
  EXPECT_EQ(a.injected.corruptedReplies, b.injected.corruptedReplies);
  EXPECT_NE(a.bytes, c.bytes);
}

TEST(BusFaults, CountsMatchWhatReachedTheLine) {
  const int requests = 2000;
  const FaultRun run = runWithFaults(5, requests);
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
  EXPECT_GT(run.crcErrors, 0);
}

TEST(BusFaults, NoiseNeverLooksLikeAStartByte) {
  VirtualClock clock;
  BusSimulator bus(clock, 3);
  std::vector<std::uint8_t> bytes;
  bus.setByteSink([&](std::uint8_t b) { bytes.push_back(b); });
  bus.addModules(1, 1);
  FaultRates rates;
  rates.noiseByte = 1.0;
  bus.setFaults(rates);
  for (int i = 0; i < 300; ++i) {
    bus.hostWrote(request::readerVoltage(1));
    clock.advance(50);
  }
  ASSERT_EQ(bytes.size(), 300u * 12);
  for (std::size_t i = 0; i < bytes.size(); i += 12) {
    EXPECT_NE(bytes[i], kStartByte);
    EXPECT_EQ(bytes[i + 1], kStartByte);
  }
  EXPECT_EQ(bus.injected().noiseBytes, 300u);
}

TEST(BusFaults, LateReplyArrivesLateByTheGivenTime) {
  VirtualClock clock;
  BusSimulator bus(clock, 3);
  std::vector<qint64> times;
  bus.setByteSink([&](std::uint8_t) { times.push_back(clock.nowMs()); });
  bus.addModules(1, 1);
  FaultRates rates;
  rates.lateReply = 1.0;
  rates.lateByMs = 400;
  bus.setFaults(rates);
  bus.hostWrote(request::readerVoltage(1));
  clock.advance(1000);
  ASSERT_EQ(times.size(), 11u);
  EXPECT_EQ(times.back(), 426);
  EXPECT_EQ(bus.injected().lateReplies, 1u);
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
