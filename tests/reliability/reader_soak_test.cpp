// A Reader left scanning a full string overnight on a noisy bus, on the
// virtual clock: 340 modules at the Fast rate with impedance sweeps, the
// simulator dropping, corrupting, delaying and prefixing replies with a stray
// "#" at fixed rates from a fixed seed, logging switched on. Every virtual
// hour the counters, the grid windows and the log files are held against what
// the wire carried, and the heap is sampled.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <deque>

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

// Reads the four CSV log files as they grow. A pass is a run of accepted
// values of one kind in which each module appears once; it must become
// exactly one complete line (CR LF) of its file: a timestamp, every value in
// its module's column, no trailing delimiter. Each file starts with its header.
class LogFollower {
 public:
  explicit LogFollower(const QString& dir) : dir_(dir) {}

  void add(ValueKind kind, int address, const QString& text) {
    const auto slot = static_cast<std::size_t>(address - 1);
    if (!current_ || current_->kind != kind || !current_->texts[slot].isEmpty()) endPass();
    if (!current_) current_.emplace().kind = kind;
    current_->texts[slot] = text;
  }
  void endPass() {
    if (current_) expected_[fileOf(current_->kind)].push_back(lineOf(*current_));
    current_.reset();
  }
  // What the files gained since the last call, against the passes ended.
  QStringList check() {
    static const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d");
    static const char* const names[4] = {"Voltages", "Temperatures", "Impedances", "Info"};
    QStringList problems;
    for (int i = 0; i < 4; ++i) {
      const QString name = QStringLiteral("ZELTA_Reader_%1.csv").arg(names[i]);
      QFile file(QDir(dir_).filePath(name));
      if (!file.exists() && expected_[i].empty()) continue;
      if (!file.open(QIODevice::ReadOnly) || !file.seek(offset_[i])) {
        problems << name + ": cannot read";
        continue;
      }
      const QByteArray grown = file.readAll();
      if (!grown.isEmpty() && !grown.endsWith("\r\n")) problems << name + ": torn last line";
      QList<QByteArray> lines = grown.split('\n');
      lines.removeLast();
      for (const QByteArray& raw : lines) {
        const QString line = QString::fromLatin1(raw);
        if (offset_[i] == 0 && &raw == &lines.front()) {
          if (line != header(i) + "\r") problems << name + ": wrong header";
        } else if (expected_[i].empty()) {
          problems << name + ": line of no pass: " + line.left(60);
        } else {
          if (!stamp.match(line).hasMatch() || line.mid(19) != expected_[i].front() + "\r")
            problems << QStringLiteral("%1 line %2: '%3'").arg(name).arg(linesWritten + 1).arg(line.left(80));
          expected_[i].pop_front();
          ++linesWritten;
        }
      }
      offset_[i] += grown.size();
      if (!expected_[i].empty()) problems << QStringLiteral("%1: %2 passes not written").arg(name).arg(expected_[i].size());
      expected_[i].clear();
    }
    return problems.mid(0, 5);
  }
  qint64 linesWritten = 0;

 private:
  struct Pass {
    ValueKind kind;
    std::array<QString, kModuleCount> texts;
  };
  static int fileOf(ValueKind kind) {
    return kind == ValueKind::Voltage ? 0 : kind == ValueKind::Temperature ? 1 : kind == ValueKind::Impedance ? 2 : 3;
  }
  static QString header(int file) {
    QStringList fields{"Timestamp"};
    if (file == 3) fields << "Name of Values";
    for (int n = 1; n <= kModuleCount; ++n) fields << QStringLiteral("Module(%1)").arg(n);
    return fields.join(';');
  }
  // The line after its timestamp.
  static QString lineOf(const Pass& pass) {
    QStringList fields;
    if (fileOf(pass.kind) == 3) fields << kindNames(pass.kind).logName;
    for (const QString& t : pass.texts) fields << t;
    while (!fields.isEmpty() && fields.last().isEmpty()) fields.removeLast();
    return fields.isEmpty() ? QString() : ";" + fields.join(';');
  }

  QString dir_;
  std::optional<Pass> current_;
  std::array<std::deque<QString>, 4> expected_;
  std::array<qint64, 4> offset_{};
};

// Works out from the request times and the reply bytes alone what the Reader
// must have counted (missing answers, CRC errors) and shown (each module's
// last accepted value).
class WireLedger final : public ReaderReplies {
 public:
  WireLedger(Clock& clock, BusSimulator& bus, SerialLine& line, LogFollower& log)
      : clock_(clock), bus_(bus), log_(log) {
    bus_.setTraceSink([this](const BusSimulator::TraceEvent& e) {
      if (e.fromHost && e.bytes.size() == kFrameSize) hostWrote(e.bytes[3]);
    });
    bytes_ = QObject::connect(&line, &SerialLine::byteReceived, [this](quint8 b) { byteArrived(b); });
  }
  ~WireLedger() override {
    QObject::disconnect(bytes_);
    bus_.setTraceSink(nullptr);
  }
  // The last request's answer time has run out after the scan stopped.
  void finish() { resolve(std::nullopt, clock_.nowMs()); }

  QString& last(ValueKind kind, int address) {
    return last_[static_cast<std::size_t>(kind)][static_cast<std::size_t>(address - 1)];
  }
  std::uint64_t missing = 0, crcErrors = 0, sent = 0;

  void up_t_auswert(const Frame& f, double c) override { accept(ValueKind::Temperature, f, generalText(c)); }
  void up_u_auswert(const Frame& f, double v) override { accept(ValueKind::Voltage, f, voltageText(v)); }
  void up_z_auswert(const Frame& f, double z) override { accept(ValueKind::Impedance, f, generalText(z)); }
  void up_sammel_auswert(const Frame&, const decode::CollectiveReading&) override {}
  void up_hw(const Frame& f, const std::string& r) override {
    accept(ValueKind::Hardware, f, QString::fromStdString(r));
  }
  void up_sw(const Frame& f, const std::string& r) override {
    accept(ValueKind::Software, f, QString::fromStdString(r));
  }
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
    log_.add(kind, address, text);
  }

  Clock& clock_;
  BusSimulator& bus_;
  LogFollower& log_;
  QMetaObject::Connection bytes_;
  FrameReceiver receiver_;
  std::optional<Request> open_;
  std::array<std::array<QString, kModuleCount>, kAllKinds.size()> last_;
};

class ReaderSoak : public ReaderFixture {
 protected:
  // Cells of every grid window that do not show the module's last accepted value.
  QStringList wrongCells(WireLedger& ledger) {
    QStringList wrong;
    for (ValueKind kind : kAllKinds) {
      auto* grid = qobject_cast<GridWindow*>(window(kindNames(kind).form));
      for (int a = 1; a <= kModuleCount; ++a) {
        const QString shown = grid ? grid->cell(a - 1)->text() : QString();
        if (shown != ledger.last(kind, a) && wrong.size() < 5)
          wrong << QStringLiteral("%1 module %2 shows '%3', last value '%4'")
                       .arg(kindNames(kind).form).arg(a).arg(shown, ledger.last(kind, a));
      }
    }
    return wrong;
  }
  // The labels count 0 ... 1000 and then start again at 0.
  void expectCounts(const WireLedger& ledger, int hour) {
    EXPECT_EQ(text("Label7"), QString::number(ledger.missing % 1001)) << "hour " << hour;
    EXPECT_EQ(text("Label8"), QString::number(ledger.crcErrors % 1001)) << "hour " << hour;
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
  environment.home = logs.path();
  menu("Logging_Options");
  find<QCheckBox>("Check1", window("Log_Options"))->setChecked(true);
  click("B_Apply", window("Log_Options"));
  prepareScan("Fast", 1, kModuleCount, true);
  for (ValueKind kind : kAllKinds) menu(kindNames(kind).menu);  // a technician watches them all

  LogFollower logFiles(logs.path());
  WireLedger ledger(clock, bus, line, logFiles);
  std::vector<std::size_t> heap;
  click("Command16");
  for (int h = 1; h <= hours; ++h) {
    clock.advance(kHourMs);
    EXPECT_EQ(wireProblem(frames(), 1, kModuleCount,
                          {cmd::ModuleType, cmd::HardwareRevision, cmd::SoftwareRevision,
                           cmd::Voltage, cmd::Temperature, cmd::Impedance}), "") << "hour " << h;
    clearFrames();
    QCoreApplication::processEvents();
    settle();
    EXPECT_EQ(logFiles.check().join("\n").toStdString(), "") << "hour " << h;
    EXPECT_EQ(wrongCells(ledger).join("\n").toStdString(), "") << "hour " << h;
    expectCounts(ledger, h);
    heap.push_back(heapInUse());
    std::printf("[soak] hour %2d: %llu requests, heap %zu KB\n", h, static_cast<unsigned long long>(ledger.sent),
                heap.back() / 1024);
  }

  logFiles.endPass();
  click("Command17");   // writes the line under way
  clock.advance(3000);  // a step already under way goes out and its answer time runs out
  ledger.finish();
  expectCounts(ledger, hours);
  EXPECT_EQ(wrongCells(ledger).join("\n").toStdString(), "");
  form1.reset();  // the program ends: the line under way is written
  settle();
  logFiles.endPass();
  EXPECT_EQ(logFiles.check().join("\n").toStdString(), "");
  EXPECT_GT(logFiles.linesWritten, hours * 100);

  // Every count has a fault on the wire behind it, and nearly every fault
  // costs what it must: a dropped or corrupted reply its answer, a late one
  // (outside the impedance sweep) its answer, a corrupted reply or a stray
  // start byte a CRC error.
  const InjectedFaults injected = bus.injected();
  const auto lost = injected.missingReplies + injected.corruptedReplies + injected.lateReplies;
  const auto damaged = injected.corruptedReplies + injected.strayStarts;
  EXPECT_LE(ledger.missing, lost);
  EXPECT_GE(ledger.missing, lost * 9 / 10);
  EXPECT_LE(ledger.crcErrors, damaged);
  EXPECT_GE(ledger.crcErrors, damaged * 9 / 10);

  // No growth: the last hours use no more heap than the first plus a little.
  if (!kUnderSanitizer && heap.size() >= 3) {
    for (std::size_t h = heap.size() / 2; h < heap.size(); ++h)
      EXPECT_LE(heap[h], heap.front() + 512 * 1024) << "heap grew by hour " << h + 1;
  }
}

}  // namespace
}  // namespace zelta::testing
