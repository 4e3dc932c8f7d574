// Whatever a person types into the Reader: the address fields, the countdown,
// the manual address, the port name, the delimiter and the log directory.
// Each text is corrected or answered with a plain message; the program never
// stops working and never puts a malformed frame on the wire.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <optional>
#include <unistd.h>

#include "protocol/commands.h"
#include "reader/number_text.h"
#include "tests/reader/reader_fixture.h"
#include "wire_check.h"

namespace zelta::testing {
namespace {

const std::initializer_list<int> kScanCodes = {cmd::ModuleType, cmd::HardwareRevision,
                                               cmd::SoftwareRevision, cmd::Voltage,
                                               cmd::Temperature, cmd::Impedance};

// Texts that are hard on a number reader.
QStringList awkwardTexts() {
  return {"",       "   ",     "abc",      "-1",        "0",          "1.5",
          "339.9",  "340",     "341",      "65536",     "1e3",        "-1e3",
          "&H10",   "&HFFFF",  "0x10",     "12abc",     "abc12",      "1,5",
          "NaN",    "inf",     "-inf",     "1e400",     "1e-400",     QString(5000, '9'),
          QString(5000, '0') + "7",        "1" + QString(400, '0') + "e-400",  // exactly 1
          QString::fromUtf8("\uff11\uff12"),                                  // full-width 12
          QString::fromUtf8("\u0661\u0662"),                                  // Arabic-Indic 12
          QString::fromUtf8("12\u00a0"),   QString::fromUtf8("\u00e9t\u00e9")};
}

class ReaderInput : public ReaderFixture {
 protected:
  // The field holds a number within [low, high] once its handler has run.
  ::testing::AssertionResult holdsNumber(const char* field, double low, double high) {
    const QString shown = text(field);
    const auto v = strictNumber(shown);
    if (v && !std::isnan(*v) && *v >= low && *v <= high) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << field << " shows '" << shown.left(40).toStdString() << "'";
  }

  // Runs a Medium scan for three seconds: requests must go out, all well formed.
  ::testing::AssertionResult scanRuns(int lowestAddress) {
    clearFrames();
    click("Command16");
    clock.advance(3000);
    click("Command17");
    clock.advance(1000);
    if (frames().size() < 5)
      return ::testing::AssertionFailure() << "the scan sent " << frames().size() << " requests";
    const QString wrong = wireProblem(frames(), lowestAddress, kModuleCount, kScanCodes);
    if (!wrong.isEmpty()) return ::testing::AssertionFailure() << wrong.toStdString();
    return ::testing::AssertionSuccess();
  }
};

TEST_F(ReaderInput, ScanAddressFieldsCorrectEveryTextAndTheScanGoesOn) {
  bus.addModules(5, 1);
  prepareScan("Medium", 1, 3);
  for (const QString& typed : awkwardTexts()) {
    SCOPED_TRACE("typed '" + typed.left(20).toStdString() + "'");
    type("Text8", "1");
    type("Text45", typed);
    EXPECT_TRUE(holdsNumber("Text45", 1, 340));
    EXPECT_TRUE(scanRuns(1));
    type("Text45", "3");
    type("Text8", typed);
    // A start between 0 and 1 stays as typed; such a scan asks address 0.
    EXPECT_TRUE(holdsNumber("Text8", 0, 339));
    EXPECT_TRUE(scanRuns(0));
  }
}

TEST_F(ReaderInput, CountdownTakesAnyTextDuringAScanAndImpedanceSweepsStillCome) {
  bus.addModules(2, 1);
  prepareScan("Medium", 1, 2, true);
  click("Command16");
  for (const QString& typed : awkwardTexts()) {
    SCOPED_TRACE("typed '" + typed.left(20).toStdString() + "'");
    type("Text1", typed);
    EXPECT_TRUE(holdsNumber("Text1", -HUGE_VAL, HUGE_VAL));  // a huge number stays
    clearFrames();
    clock.advance(61000);  // a minute tick and several sweep ends read the field
    EXPECT_TRUE(holdsNumber("Text1", -HUGE_VAL, HUGE_VAL));
    EXPECT_GE(frames().size(), 100u);
    EXPECT_EQ(wireProblem(frames(), 1, 2, kScanCodes), "");
  }
  // Typed back to 0, the next end of a temperature sweep starts an impedance sweep.
  type("Text1", "0");
  clearFrames();
  clock.advance(5000);
  bool impedance = false;
  for (const auto& f : frames()) impedance |= frameCommand(f.frame) == cmd::Impedance;
  EXPECT_TRUE(impedance);
}

TEST_F(ReaderInput, ManualAddressCorrectsEveryTextAndEveryButtonSendsAWellFormedFrame) {
  bus.addModules(3, 1);
  openPort();
  click("Option2");
  for (const QString& typed : awkwardTexts()) {
    SCOPED_TRACE("typed '" + typed.left(20).toStdString() + "'");
    type("Text2", typed);
    EXPECT_TRUE(holdsNumber("Text2", 0, 340));
    clearFrames();
    for (const char* button :
         {"Command15", "Command14", "Command13", "Command8", "Command56", "Command12"}) {
      click(button);
      clock.advance(2100);
    }
    click("Command23");
    click("Command66");
    clock.advance(100);
    EXPECT_EQ(frames().size(), 8u);
    EXPECT_EQ(wireProblem(frames(), 0, kModuleCount), "");
  }
}

TEST_F(ReaderInput, PortNamesThatNameNoPortGetTheMessageAndTheWindowStaysClosed) {
  struct Case {
    QString typed;
    int opens;  // port number it opens, 0: none
  };
  const Case cases[] = {
      {"", 0},
      {"ABCD", 0},
      {"COM0", 0},
      {"COM999", 0},                            // six characters: the number is not taken
      {"COM" + QString(5000, '1'), 0},
      {QString::fromUtf8("COM\u00e9"), 0},
      {QString::fromUtf8("COM\uff15"), 0},      // a full-width digit is no number
      {"COM-1", 0},
      {"COM.5", 0},
      // Once a port number was taken it stays for names it cannot be cut from.
      {"COM 5", 5},
      {"COM999", 5},
      {QString::fromUtf8("\uff23\uff2f\uff2d7"), 7},  // the last character counts
      {"COM12", 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("port name '" + c.typed.left(20).toStdString() + "'");
    boxes.clearAsked();
    openPort(c.typed);
    if (c.opens == 0) {
      ASSERT_EQ(boxes.asked().size(), 1u);
      EXPECT_EQ(boxes.asked()[0].text, "Port already open");
      EXPECT_FALSE(line.isOpen());
      EXPECT_TRUE(enabled("Command36"));
      EXPECT_FALSE(enabled("Command38"));
    } else {
      EXPECT_TRUE(boxes.asked().empty());
      EXPECT_EQ(line.openedPort(), c.opens);
      click("Command38");
    }
  }
  EXPECT_TRUE(frames().empty());
}

// A CSV line read as a spreadsheet does: fields split at the delimiter, a
// field that starts with a quote runs to its closing quote (doubled quotes
// inside). Empty fields at the end are dropped. Nothing when the quotes do
// not pair up.
std::optional<QStringList> readCsvLine(const QString& line, const QString& delimiter) {
  QStringList fields;
  qsizetype i = 0;
  while (true) {
    QString field;
    if (line.mid(i, 1) == "\"") {
      ++i;
      for (;; ++i) {
        if (i >= line.size()) return std::nullopt;
        if (line[i] != '"') {
          field += line[i];
        } else if (line.mid(i, 2) == "\"\"") {
          field += '"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
      if (i < line.size() && line.mid(i, delimiter.size()) != delimiter) return std::nullopt;
    } else {
      const qsizetype next = line.indexOf(delimiter, i);
      field = line.mid(i, next < 0 ? -1 : next - i);
      if (field.contains('"')) return std::nullopt;
      i = next < 0 ? line.size() : next;
    }
    fields << field;
    if (i >= line.size()) break;
    i += delimiter.size();
  }
  while (!fields.isEmpty() && fields.last().isEmpty()) fields.removeLast();
  return fields;
}

class ReaderLogInput : public ReaderInput {
 protected:
  ReaderLogInput() {
    bus.addModules(3, 1);
    bus.setSilentRange(2, 2);
  }
  // A fresh program on the same bus.
  void restart() {
    form1.reset();
    settle();
    line.close();
    form1 = std::make_unique<ReaderWindow>(platform);
    form1->show();
  }
  void setLogging(const QString& dir, const QString& delimiter) {
    menu("Logging_Options");
    QWidget* options = window("Log_Options");
    ASSERT_NE(options, nullptr);
    find<QCheckBox>("Check1", options)->setChecked(true);
    type("T_LogDir", dir, options);
    if (!delimiter.isNull()) type("T_delim", delimiter, options);
    click("B_Apply", options);
  }
  QString logStatus() {
    return find("LogStatus")->isVisibleTo(form1.get()) ? text("LogStatus") : QString();
  }
  // Value lines of a log file (the header left out), split as a spreadsheet would.
  QList<QStringList> logLines(const QString& path, const QString& delimiter, QString* header = nullptr) {
    QFile file(path);
    QList<QStringList> lines;
    if (!file.open(QIODevice::ReadOnly)) return lines;
    const QList<QByteArray> raw = file.readAll().split('\n');
    for (qsizetype n = 0; n < raw.size(); ++n) {
      if (raw[n].isEmpty() && n + 1 == raw.size()) break;
      const QString l = QString::fromLocal8Bit(raw[n].chopped(raw[n].endsWith('\r') ? 1 : 0));
      if (n == 0) {
        if (header) *header = l;
        continue;
      }
      lines << readCsvLine(l, delimiter).value_or(QStringList{"unreadable: " + l});
    }
    return lines;
  }
  // Scans the three modules at the Fast rate for a few seconds, then Stop,
  // which writes the pass under way. Returns the voltage passes begun.
  int scanAWhile(qint64 ms) {
    if (!line.isOpen()) prepareScan("Fast", 1, 3);
    clearFrames();
    click("Command16");
    clock.advance(ms);
    click("Command17");
    clock.advance(1000);
    EXPECT_EQ(wireProblem(frames(), 1, 3, kScanCodes), "");
    int passes = 0;
    for (const auto& f : frames())
      passes += frameCommand(f.frame) == cmd::Voltage && frameAddress(f.frame) == 1;
    return passes;
  }
  // Every voltage line holds the voltages of modules 1 and 3 in their
  // columns, module 2 (silent) empty; a pass cut short by Stop may end after
  // module 1.
  void expectVoltageLines(const QList<QStringList>& lines) {
    const QString v1 = voltageText(bus.module(0).millivolts / 1000.0);
    const QString v3 = voltageText(bus.module(2).millivolts / 1000.0);
    const QStringList whole{v1, "", v3};
    const QStringList cut{v1};
    for (qsizetype n = 0; n < lines.size(); ++n) {
      const QStringList values = lines[n].mid(1);
      EXPECT_TRUE(values == whole || values == cut)
          << "line " << n + 1 << ": " << lines[n].join('|').toStdString();
    }
  }
};

TEST_F(ReaderLogInput, EveryDelimiterGivesLinesThatReadBackIntoTheirColumns) {
  struct Case {
    QString typed;
    QString used;
  };
  const Case cases[] = {{"", ";"}, {", ", ", "}, {"\t", "\t"}, {";;", ";;"}, {"|", "|"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("delimiter '" + c.typed.toStdString() + "'");
    QTemporaryDir dir;
    restart();
    setLogging(dir.path(), c.typed);
    EXPECT_EQ(text("T_delim", window("Log_Options")), c.used);
    const int passes = scanAWhile(4000);
    QString header;
    const auto lines = logLines(dir.filePath("ZELTA_Reader_Voltages.csv"), c.used, &header);
    EXPECT_TRUE(header.startsWith("Timestamp" + c.used + "Module(1)" + c.used + "Module(2)"));
    EXPECT_GE(passes, 3);
    EXPECT_EQ(lines.size(), passes);
    expectVoltageLines(lines);
  }
}

// A quote as delimiter would make lines that cannot be read back (the empty
// field of a silent module reads as the start of a quoted field).
TEST_F(ReaderLogInput, AQuoteAsDelimiterIsRefusedOrItsLinesReadBack) {
  QTemporaryDir dir;
  setLogging(dir.path(), "\"");
  const QString used = text("T_delim", window("Log_Options"));
  const bool refused = !boxes.asked().empty() || used != "\"";
  const int passes = scanAWhile(4000);
  const auto lines = logLines(dir.filePath("ZELTA_Reader_Voltages.csv"), used);
  EXPECT_EQ(lines.size(), passes);
  if (!refused) expectVoltageLines(lines);
}

TEST_F(ReaderLogInput, UnwritableLogDirectoriesAreReportedWhileTheScanGoesOnAndNothingIsLost) {
  QTemporaryDir base;
  const bool root = geteuid() == 0;  // root writes into read-only folders
  QDir(base.path()).mkdir("readonly");
  QFile::setPermissions(base.filePath("readonly"), QFile::ReadOwner | QFile::ExeOwner);
  QFile plain(base.filePath("plainfile"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  struct Case {
    const char* what;
    QString dir;
  };
  const Case cases[] = {
      {"missing", base.filePath("missing/deeper")},
      {"read-only", root ? QStringLiteral("/proc/self") : base.filePath("readonly")},
      {"a file", base.filePath("plainfile")},
      {"very long", base.filePath(QString(300, 'x') + "/" + QString(4000, 'y'))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    restart();
    setLogging(c.dir, ";");
    const int before = scanAWhile(3000);
    EXPECT_TRUE(logStatus().contains("ZELTA_Reader_")) << logStatus().toStdString();
    // A good directory: the lines kept meanwhile are written first, in order.
    QTemporaryDir good;
    setLogging(good.path(), QString());
    const int after = scanAWhile(2000);
    EXPECT_EQ(logStatus(), "");
    const auto lines = logLines(good.filePath("ZELTA_Reader_Voltages.csv"), ";");
    EXPECT_EQ(lines.size(), before + after);
    expectVoltageLines(lines);
  }
}

TEST_F(ReaderLogInput, ANonAsciiLogDirectoryIsUsedAsItIs) {
  QTemporaryDir base;
  const QString dir = base.filePath(QString::fromUtf8("Pr\u00fcfdaten \u2603 \u65e5\u672c"));
  ASSERT_TRUE(QDir().mkpath(dir));
  setLogging(dir, ";");
  const int passes = scanAWhile(4000);
  EXPECT_EQ(logStatus(), "");
  const auto lines = logLines(QDir(dir).filePath("ZELTA_Reader_Voltages.csv"), ";");
  EXPECT_EQ(lines.size(), passes);
  expectVoltageLines(lines);
}

}  // namespace
}  // namespace zelta::testing
