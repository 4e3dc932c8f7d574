// A Reader left scanning a full string overnight on a noisy bus, on the
// virtual clock: 340 modules at the Fast rate with impedance sweeps, the
// simulator dropping, corrupting, delaying and prefixing replies with a stray
// "#" at fixed rates from a fixed seed, logging switched on. Every virtual
// hour the log files and the grid windows are held against what the wire
// carried, and the heap is sampled.
#include <QCheckBox>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

#include "log_follower.h"
#include "protocol/commands.h"
#include "reader/grid_window.h"
#include "soak_support.h"
#include "tests/reader/reader_fixture.h"
#include "wire_check.h"
#include "wire_ledger.h"

namespace zelta::testing {
namespace {

constexpr qint64 kHourMs = 3600 * 1000;
constexpr int kFastAnswerMs = 280;

// The labels count 0 ... 1000 and then start again at 0.
QString wrapped(std::uint64_t count) { return QString::number(count % 1001); }

// Every count has its cause on the wire, and each kind of fault has the
// effect it must have. A late reply outside the impedance sweep answers the
// request under way, whose own reply is then cut by the next request.
void expectEachFaultHasItsEffect(const std::map<unsigned, WireLedger::Tally>& tallies,
                                 const InjectedFaults& bySim) {
  for (const auto& [faults, t] : tallies)
    std::printf("[soak] %-34s %8llu requests %6llu missing %6llu CRC errors %8llu accepted\n",
                WireLedger::faultName(faults).toUtf8().constData(),
                static_cast<unsigned long long>(t.requests), static_cast<unsigned long long>(t.missing),
                static_cast<unsigned long long>(t.crcErrors), static_cast<unsigned long long>(t.accepted));
  const auto tally = [&](unsigned faults) {
    return tallies.count(faults) ? tallies.at(faults) : WireLedger::Tally{};
  };
  const auto clean = tally(0);
  EXPECT_EQ(clean.missing, 0u) << "a missing answer without a fault on the wire";
  EXPECT_EQ(clean.crcErrors, 0u) << "a CRC error without a fault on the wire";
  EXPECT_EQ(clean.accepted, clean.requests) << "a clean reply not received";
  const auto dropped = tally(WireLedger::Dropped);
  EXPECT_GE(dropped.missing, dropped.requests * 95 / 100);
  const auto corrupted = tally(WireLedger::Corrupted);
  EXPECT_GE(corrupted.missing, corrupted.requests * 95 / 100);
  EXPECT_GE(corrupted.crcErrors, corrupted.requests * 85 / 100);  // less a start byte hit
  EXPECT_LE(corrupted.accepted, corrupted.requests / 100);         // flips the check byte misses
  const auto stray = tally(WireLedger::StrayStart);
  EXPECT_EQ(stray.missing, 0u) << "a stray start byte must not cost the reply";
  EXPECT_EQ(stray.accepted, stray.requests);
  EXPECT_GE(stray.crcErrors, stray.requests * 95 / 100);
  const auto late = tally(WireLedger::Late);
  EXPECT_EQ(late.accepted, late.requests);
  EXPECT_GE(late.missing, late.requests * 90 / 100);  // impedance requests wait long enough
  const auto cut = tally(WireLedger::CutByRequest);
  EXPECT_EQ(cut.missing, 0u);
  EXPECT_LE(cut.requests, late.requests);
  EXPECT_EQ(tallies.count(WireLedger::kUnmatched), 0u);
  for (const auto& [faults, t] : tallies) EXPECT_FALSE(faults & WireLedger::Other);
  std::uint64_t injected[4] = {};
  for (const auto& [faults, t] : tallies)
    for (int k = 0; k < 4; ++k)
      if (faults & (1u << k)) injected[k] += t.requests;
  EXPECT_EQ(injected[0], bySim.missingReplies);
  EXPECT_EQ(injected[1], bySim.corruptedReplies);
  EXPECT_EQ(injected[2], bySim.strayStarts);
  EXPECT_EQ(injected[3], bySim.lateReplies);
}

class ReaderSoak : public ReaderFixture {
 protected:
  void enableLogging(const QString& dir) {
    environment.home = dir;
    menu("Logging_Options");
    QWidget* options = window("Log_Options");
    ASSERT_NE(options, nullptr);
    find<QCheckBox>("Check1", options)->setChecked(true);
    click("B_Apply", options);
  }

  // Cells of every grid window that do not show the module's last accepted value.
  QStringList wrongCells(const WireLedger& ledger) {
    QStringList wrong;
    for (ValueKind kind : kAllKinds) {
      auto* grid = qobject_cast<GridWindow*>(window(kindNames(kind).form));
      for (int a = 1; a <= kModuleCount; ++a) {
        const QString shown = grid ? grid->cell(a - 1)->text() : QString();
        const QString expected = ledger.lastValue(kind, a);
        if (shown != expected && wrong.size() < 5)
          wrong << QStringLiteral("%1 module %2 shows '%3', last value '%4'")
                       .arg(kindNames(kind).form)
                       .arg(a)
                       .arg(shown, expected);
      }
    }
    return wrong;
  }
};

TEST_F(ReaderSoak, FastScanOf340ModulesUnderInjectedFaultsCountsShowsAndLogsEverything) {
  const int hours = soakHours(24, 4);  // four hours pass the wrap of the missing-answer count
  QTemporaryDir logs;
  ASSERT_TRUE(logs.isValid());
  bus.addModules(kModuleCount, 1);
  bus.setDrift(true);
  FaultRates rates;
  rates.missingReply = 0.002;
  rates.corruptByte = 0.0002;  // per byte: about 0.22 % of the replies
  rates.strayStart = 0.002;
  rates.lateReply = 0.002;
  rates.lateByMs = 400;
  bus.setFaults(rates);
  enableLogging(logs.path());
  prepareScan("Fast", 1, kModuleCount, true);
  for (ValueKind kind : kAllKinds) menu(kindNames(kind).menu);  // a technician watches them all

  WireLedger ledger(clock, bus, line, kFastAnswerMs);
  LogFollower logFiles(logs.path(), ";");
  std::vector<MemorySample> memory;
  const double cpuAtStart = cpuSeconds();
  click("Command16");

  for (int h = 1; h <= hours; ++h) {
    clock.advance(kHourMs);
    EXPECT_EQ(wireProblem(frames(), 1, kModuleCount,
                          {cmd::ModuleType, cmd::HardwareRevision, cmd::SoftwareRevision,
                           cmd::Voltage, cmd::Temperature, cmd::Impedance}),
              "")
        << "hour " << h;
    clearFrames();
    QCoreApplication::processEvents();
    settle();
    logFiles.add(ledger.takeValues());
    const QStringList logProblems = logFiles.check(false);
    EXPECT_TRUE(logProblems.isEmpty()) << "hour " << h << ": " << logProblems.join("\n").toStdString();
    const QStringList cells = wrongCells(ledger);
    EXPECT_TRUE(cells.isEmpty()) << "hour " << h << ": " << cells.join("\n").toStdString();
    EXPECT_EQ(text("Label7"), wrapped(ledger.missingAnswers())) << "hour " << h;
    EXPECT_EQ(text("Label8"), wrapped(ledger.crcErrors())) << "hour " << h;
    memory.push_back(sampleMemory());
    std::printf("[soak] hour %2d: %llu requests, %llu missing, %llu CRC errors, heap %zu KB, "
                "RSS %zu KB, %.1f s CPU\n",
                h, static_cast<unsigned long long>(ledger.requestsSent()),
                static_cast<unsigned long long>(ledger.missingAnswers()),
                static_cast<unsigned long long>(ledger.crcErrors()), memory.back().heapInUse / 1024,
                memory.back().residentKb, cpuSeconds() - cpuAtStart);
    std::fflush(stdout);
  }

  logFiles.add(ledger.takeValues());
  logFiles.endPass();
  click("Command17");  // writes the line under way
  clock.advance(3000);  // a step already under way goes out and its answer time runs out
  ledger.finish();
  EXPECT_EQ(text("Label7"), wrapped(ledger.missingAnswers()));
  EXPECT_EQ(text("Label8"), wrapped(ledger.crcErrors()));
  EXPECT_TRUE(wrongCells(ledger).isEmpty());
  form1.reset();  // the program ends: the line under way is written
  settle();
  logFiles.add(ledger.takeValues());
  const QStringList logProblems = logFiles.check(true);
  EXPECT_TRUE(logProblems.isEmpty()) << logProblems.join("\n").toStdString();

  expectEachFaultHasItsEffect(ledger.tallies(), bus.injected());

  std::printf("[soak] %d h virtual in %.1f s CPU; log lines V/T/Z/info %lld/%lld/%lld/%lld, "
              "%lld short passes\n",
              hours, cpuSeconds() - cpuAtStart, static_cast<long long>(logFiles.passesWritten(0)),
              static_cast<long long>(logFiles.passesWritten(1)),
              static_cast<long long>(logFiles.passesWritten(2)),
              static_cast<long long>(logFiles.passesWritten(3)),
              static_cast<long long>(logFiles.shortPasses()));

  std::printf("[soak] heap %zu KB after the first hour, %zu KB after the last; RSS %zu KB, %zu KB\n",
              memory.front().heapInUse / 1024, memory.back().heapInUse / 1024,
              memory.front().residentKb, memory.back().residentKb);
  // No growth: the last hours use no more heap than the first plus a little.
  if (!kUnderSanitizer && memory.size() >= 3) {
    const std::size_t first = memory.front().heapInUse;
    for (std::size_t h = memory.size() / 2; h < memory.size(); ++h)
      EXPECT_LE(memory[h].heapInUse, first + 512 * 1024) << "heap grew by hour " << h + 1;
  }
}

}  // namespace
}  // namespace zelta::testing
