// A Reader left scanning 340 modules overnight at the Fast rate with impedance
// sweeps on a noisy bus (replies dropped, corrupted, late or after a stray "#",
// fixed seed), logging on. Every virtual hour the counters, the grid windows
// and the log files are held against what the wire carried; the heap sampled.
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <array>
#include <cstdio>

#include "protocol/commands.h"
#include "protocol/dispatch.h"
#include "protocol/receiver.h"
#include "reader/grid_window.h"
#include "reader/number_text.h"
#include "soak_support.h"
#include "tests/reader/reader_fixture.h"

namespace zelta::testing {
namespace {

constexpr qint64 kHourMs = 3600 * 1000;

int fileOf(ValueKind kind) { return std::min(int(kind), 3); }  // voltages, temperatures, impedances, info

// Works out from the request times and the reply bytes alone what the Reader
// must have counted (missing answers, CRC errors), shown (each module's last
// accepted value) and logged: a pass, a run of accepted values of one kind in
// which each module appears once, is one line of its file.
class WireLedger final : public ReaderReplies {
 public:
  WireLedger(Clock& clock, BusSimulator& bus, SerialLine& line) : clock_(clock), bus_(bus) {
    bus_.setTraceSink([this](const BusSimulator::TraceEvent& e) {
      if (e.fromHost && e.bytes.size() == kFrameSize) hostWrote(e.bytes[3]);
    });
    bytes_ = QObject::connect(&line, &SerialLine::byteReceived, [this](quint8 b) { byteArrived(b); });
  }
  ~WireLedger() override { QObject::disconnect(bytes_); bus_.setTraceSink(nullptr); }
  // The last request's answer time has run out after the scan stopped.
  void finish() { resolve(std::nullopt, clock_.nowMs()); }
  // The line of the pass under way, as the end of a pass writes it.
  void endPass() {
    if (!pass_) return;
    QStringList fields;
    if (fileOf(pass_->kind) == 3) fields << kindNames(pass_->kind).logName;
    for (const QString& t : pass_->texts) fields << t;
    while (!fields.isEmpty() && fields.last().isEmpty()) fields.removeLast();
    lines[fileOf(pass_->kind)] << ";" + fields.join(';');
    pass_.reset();
  }

  QString& last(ValueKind kind, int address) {
    return last_[static_cast<std::size_t>(kind)][static_cast<std::size_t>(address - 1)];
  }
  std::uint64_t missing = 0, crcErrors = 0, sent = 0;
  std::array<QStringList, 4> lines;  // per file, after the timestamp

  void up_t_auswert(const Frame& f, double c) override { accept(ValueKind::Temperature, f, generalText(c)); }
  void up_u_auswert(const Frame& f, double v) override { accept(ValueKind::Voltage, f, voltageText(v)); }
  void up_z_auswert(const Frame& f, double z) override { accept(ValueKind::Impedance, f, generalText(z)); }
  void up_sammel_auswert(const Frame&, const decode::CollectiveReading&) override {}
  void up_hw(const Frame& f, const std::string& r) override { accept(ValueKind::Hardware, f, QString::fromStdString(r)); }
  void up_sw(const Frame& f, const std::string& r) override { accept(ValueKind::Software, f, QString::fromStdString(r)); }
  void up_modul(const Frame& f, const std::optional<std::string>& name) override {
    // A code without a name shows (and logs) the value kept before.
    const int a = frameAddress(f);
    if (a >= 1 && a <= kModuleCount)
      accept(ValueKind::ModuleType, f, name ? QString::fromStdString(*name) : last(ValueKind::ModuleType, a));
  }

 private:
  struct Request {
    qint64 sentMs;
    std::uint8_t command;
    std::optional<qint64> answeredMs;
  };
  struct Pass {
    ValueKind kind;
    std::array<QString, kModuleCount> texts;
  };

  void hostWrote(std::uint8_t command) {
    ++sent;
    resolve(command, clock_.nowMs());
    receiver_.clear();  // the Reader forgets a partly received reply on every request
    open_ = Request{clock_.nowMs(), command, std::nullopt};
  }
  // The answer timer runs from the request (1450 ms for impedance and the
  // temperature request just before a sweep, else 280 ms); the first valid
  // frame stops it, a new request before it runs out restarts it. A frame
  // completing in the very millisecond it runs out comes after the tick.
  void resolve(std::optional<std::uint8_t> next, qint64 nextMs) {
    if (!open_) return;
    const bool slow = open_->command == cmd::Impedance ||
                      (open_->command == cmd::Temperature && next == cmd::Impedance);
    const qint64 deadline = open_->sentMs + (slow ? 1450 : 280);
    if (!(open_->answeredMs && *open_->answeredMs < deadline) && nextMs >= deadline) ++missing;
    open_.reset();
  }
  void byteArrived(std::uint8_t byte) {
    const auto outcome = receiver_.push(byte);
    if (outcome == FrameReceiver::Outcome::CrcError) ++crcErrors;
    if (outcome != FrameReceiver::Outcome::Complete) return;
    if (open_ && !open_->answeredMs) open_->answeredMs = clock_.nowMs();
    dispatchReaderReply(receiver_.frame(), *this);
  }
  void accept(ValueKind kind, const Frame& f, const QString& text) {
    const int address = frameAddress(f);
    if (address < 1 || address > kModuleCount) return;
    last(kind, address) = text;
    const auto slot = static_cast<std::size_t>(address - 1);
    if (pass_ && (pass_->kind != kind || !pass_->texts[slot].isEmpty())) endPass();
    if (!pass_) pass_.emplace().kind = kind;
    pass_->texts[slot] = text;
  }

  Clock& clock_;
  BusSimulator& bus_;
  QMetaObject::Connection bytes_;
  FrameReceiver receiver_;
  std::optional<Request> open_;
  std::optional<Pass> pass_;
  std::array<std::array<QString, kModuleCount>, kAllKinds.size()> last_;
};

class ReaderSoak : public ReaderFixture {
 protected:
  // What the log files gained since the last call, against the passes the
  // ledger ended: each file starts with its header, then one line (CR LF) per
  // pass, a timestamp before it.
  QString logProblems(WireLedger& ledger) {
    static const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$");
    for (int i = 0; i < 4; ++i) {
      static const char* const names[4] = {"Voltages", "Temperatures", "Impedances", "Info"};
      QFile file(QDir(logs.path()).filePath(QStringLiteral("ZELTA_Reader_%1.csv").arg(names[i])));
      if (!file.exists() && ledger.lines[i].isEmpty()) continue;
      if (!file.open(QIODevice::ReadOnly) || !file.seek(offsets[i])) return file.fileName() + ": cannot read";
      const QByteArray grown = file.readAll();
      if (!grown.isEmpty() && !grown.endsWith("\r\n")) return file.fileName() + ": torn last line";
      QStringList got = QString::fromLatin1(grown).split("\r\n");
      got.removeLast();
      if (offsets[i] == 0 && !got.isEmpty() && !got.takeFirst().startsWith(i == 3 ? "Timestamp;Name of Values;Module(1);" : "Timestamp;Module(1);"))
        return file.fileName() + ": wrong header";
      offsets[i] += grown.size();
      for (QString& line : got) {
        if (!stamp.match(line.left(19)).hasMatch()) return file.fileName() + ": no timestamp in " + line.left(40);
        line.remove(0, 19);
      }
      if (got != ledger.lines[i])
        return QStringLiteral("%1: %2 lines, %3 passes; first line '%4'")
            .arg(file.fileName()).arg(got.size()).arg(ledger.lines[i].size()).arg(got.value(0).left(60));
      linesWritten += got.size();
      ledger.lines[i].clear();
    }
    return {};
  }
  // Cells of the grid windows that do not show the module's last accepted value.
  QString wrongCell(WireLedger& ledger) {
    for (ValueKind kind : kAllKinds) {
      auto* grid = qobject_cast<GridWindow*>(window(kindNames(kind).form));
      for (int a = 1; a <= kModuleCount; ++a)
        if (const QString shown = grid ? grid->cell(a - 1)->text() : QString(); shown != ledger.last(kind, a))
          return QStringLiteral("%1 module %2 shows '%3', not '%4'").arg(kindNames(kind).form).arg(a).arg(shown, ledger.last(kind, a));
    }
    return {};
  }
  // The labels count 0 ... 1000 and then start again at 0.
  void expectCounts(const WireLedger& ledger, int hour) {
    EXPECT_EQ(text("Label7"), QString::number(ledger.missing % 1001)) << "hour " << hour;
    EXPECT_EQ(text("Label8"), QString::number(ledger.crcErrors % 1001)) << "hour " << hour;
  }

  QTemporaryDir logs;
  std::array<qint64, 4> offsets{};
  qint64 linesWritten = 0;
};

TEST_F(ReaderSoak, FastScanOf340ModulesUnderInjectedFaultsCountsShowsAndLogsEverything) {
  const int hours = soakHours(24, 4);  // four hours pass the wrap of the missing-answer count
  ASSERT_TRUE(logs.isValid());
  bus.addModules(kModuleCount, 1);
  bus.setDrift(true);
  // Corruption is per byte: about 0.22 % of the replies.
  bus.setFaults({.missingReply = 0.002, .corruptByte = 0.0002, .strayStart = 0.002, .lateReply = 0.002, .lateByMs = 400});
  environment.home = logs.path();
  menu("Logging_Options");
  tick("Check1", true, window("Log_Options"));
  click("B_Apply", window("Log_Options"));
  prepareScan("Fast", 1, kModuleCount, true);
  for (ValueKind kind : kAllKinds) menu(kindNames(kind).menu);  // a technician watches them all

  WireLedger ledger(clock, bus, line);
  std::vector<std::size_t> heap;
  click("Command16");
  for (int h = 1; h <= hours; ++h) {
    clock.advance(kHourMs);
    for (const auto& f : frames())
      ASSERT_TRUE(frameAddress(f.frame) >= 1 && frameAddress(f.frame) <= kModuleCount) << "hour " << h;
    clearFrames();
    QCoreApplication::processEvents();
    settle();
    EXPECT_EQ(logProblems(ledger).toStdString(), "") << "hour " << h;
    EXPECT_EQ(wrongCell(ledger).toStdString(), "") << "hour " << h;
    expectCounts(ledger, h);
    heap.push_back(heapInUse());
    std::printf("[soak] hour %2d: %llu requests, heap %zu KB\n", h, static_cast<unsigned long long>(ledger.sent),
                heap.back() / 1024);
  }

  click("Command17");
  clock.advance(3000);  // a step already under way goes out and its answer time runs out
  ledger.finish();
  ledger.endPass();  // the scan has ended: the line under way, with that last answer, is written
  expectCounts(ledger, hours);
  EXPECT_EQ(wrongCell(ledger).toStdString(), "");
  form1.reset();  // nothing is left to write when the program ends
  settle();
  EXPECT_EQ(logProblems(ledger).toStdString(), "");
  EXPECT_GT(linesWritten, hours * 100);

  // Every count has a fault on the wire behind it, and nearly every fault
  // costs what it must: a dropped, corrupted or late reply its answer, a
  // corrupted reply or a stray start byte a CRC error.
  const InjectedFaults injected = bus.injected();
  const auto lost = injected.missingReplies + injected.corruptedReplies + injected.lateReplies;
  const auto damaged = injected.corruptedReplies + injected.strayStarts;
  EXPECT_LE(ledger.missing, lost);
  EXPECT_GE(ledger.missing, lost * 9 / 10);
  EXPECT_LE(ledger.crcErrors, damaged);
  EXPECT_GE(ledger.crcErrors, damaged * 9 / 10);
  // No growth: the last hours use no more heap than the first plus a little.
  for (std::size_t h = heap.size() / 2; !kUnderSanitizer && h < heap.size(); ++h)
    EXPECT_LE(heap[h], heap.front() + 512 * 1024) << "heap grew by hour " << h + 1;
}

}  // namespace
}  // namespace zelta::testing
