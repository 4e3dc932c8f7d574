// Whatever a person types into the Reader: the address fields, the countdown,
// the manual address, the port name, the delimiter and the log directory.
// Each text is corrected or answered with a plain message; the program never
// stops working and never puts a malformed frame on the wire.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <unistd.h>

#include "protocol/commands.h"
#include "reader/number_text.h"
#include "tests/reader/reader_fixture.h"
#include "soak_support.h"

namespace zelta::testing {
namespace {

const std::initializer_list<int> kScanCodes = {cmd::ModuleType, cmd::HardwareRevision,
                                               cmd::SoftwareRevision, cmd::Voltage,
                                               cmd::Temperature, cmd::Impedance};

// Texts that are hard on a number reader.
const QStringList kAwkward = {
    "", "   ", "abc", "-1", "0", "1.5", "339.9", "340", "341", "65536", "1e3", "-1e3", "&H10",
    "&HFFFF", "0x10", "12abc", "1,5", "NaN", "inf", "-inf", "1e400", "1e-400", QString(5000, '9'),
    QString(5000, '0') + "7", "1" + QString(400, '0') + "e-400",  // exactly 1
    QString::fromUtf8("\uff11\uff12"),                              // full-width 12
    QString::fromUtf8("\u0661\u0662"),                              // Arabic-Indic 12
    QString::fromUtf8("12\u00a0"), QString::fromUtf8("\u00e9t\u00e9")};

class ReaderInput : public ReaderFixture {
 protected:
  // The field holds a number within [low, high] once its handler has run.
  ::testing::AssertionResult holdsNumber(const char* field, double low, double high) {
    const auto v = strictNumber(text(field));
    if (v && !std::isnan(*v) && *v >= low && *v <= high) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << field << " shows '" << text(field).left(40).toStdString() << "'";
  }
  // A Medium scan for three seconds sends requests, all well formed.
  void expectScanRuns(int lowestAddress) {
    clearFrames();
    click("Command16");
    clock.advance(3000);
    click("Command17");
    clock.advance(1000);
    EXPECT_GE(frames().size(), 5u);
    EXPECT_EQ(wireProblem(frames(), lowestAddress, kModuleCount, kScanCodes).toStdString(), "");
  }
};

TEST_F(ReaderInput, ScanAddressFieldsCorrectEveryTextAndTheScanGoesOn) {
  bus.addModules(5, 1);
  prepareScan("Medium", 1, 3);
  for (const QString& typed : kAwkward) {
    SCOPED_TRACE("typed '" + typed.left(20).toStdString() + "'");
    type("Text8", "1");
    type("Text45", typed);
    EXPECT_TRUE(holdsNumber("Text45", 1, 340));
    expectScanRuns(1);
    type("Text45", "3");
    type("Text8", typed);
    // A start between 0 and 1 stays as typed; such a scan asks address 0.
    EXPECT_TRUE(holdsNumber("Text8", 0, 339));
    expectScanRuns(0);
  }
}

TEST_F(ReaderInput, CountdownTakesAnyTextDuringAScanAndImpedanceSweepsStillCome) {
  bus.addModules(2, 1);
  prepareScan("Medium", 1, 2, true);
  click("Command16");
  for (const QString& typed : kAwkward) {
    SCOPED_TRACE("typed '" + typed.left(20).toStdString() + "'");
    type("Text1", typed);
    clearFrames();
    clock.advance(61000);  // a minute tick and several sweep ends read the field
    EXPECT_TRUE(holdsNumber("Text1", -HUGE_VAL, HUGE_VAL));  // a huge number stays
    EXPECT_GE(frames().size(), 100u);
    EXPECT_EQ(wireProblem(frames(), 1, 2, kScanCodes).toStdString(), "");
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
  for (const QString& typed : kAwkward) {
    SCOPED_TRACE("typed '" + typed.left(20).toStdString() + "'");
    type("Text2", typed);
    EXPECT_TRUE(holdsNumber("Text2", 0, 340));
    clearFrames();
    for (const char* button : {"Command15", "Command14", "Command13", "Command8", "Command56", "Command12"}) {
      click(button);
      clock.advance(2100);
    }
    click("Command23");
    click("Command66");
    clock.advance(100);
    EXPECT_EQ(frames().size(), 8u);
    EXPECT_EQ(wireProblem(frames(), 0, kModuleCount).toStdString(), "");
  }
}

TEST_F(ReaderInput, PortNamesThatNameNoPortGetTheMessageAndTheWindowStaysClosed) {
  const std::pair<QString, int> cases[] = {  // name typed, port number it opens (0: none)
      {"", 0}, {"ABCD", 0}, {"COM0", 0}, {"COM999", 0},  // six characters: the number is not taken
      {"COM" + QString(5000, '1'), 0}, {QString::fromUtf8("COM\uff15"), 0},  // full-width digit
      {"COM-1", 0}, {"COM.5", 0},
      // Once a port number was taken it stays for names it cannot be cut from.
      {"COM 5", 5}, {"COM999", 5}, {QString::fromUtf8("\uff23\uff2f\uff2d7"), 7}, {"COM12", 12}};
  for (const auto& [typed, opens] : cases) {
    SCOPED_TRACE("port name '" + typed.left(20).toStdString() + "'");
    boxes.clearAsked();
    openPort(typed);
    if (opens == 0) {
      ASSERT_EQ(boxes.asked().size(), 1u);
      EXPECT_EQ(boxes.asked()[0].text, "Port already open");
      EXPECT_FALSE(line.isOpen());
      EXPECT_TRUE(enabled("Command36"));
      EXPECT_FALSE(enabled("Command38"));
    } else {
      EXPECT_TRUE(boxes.asked().empty());
      EXPECT_EQ(line.openedPort(), opens);
      click("Command38");
    }
  }
  EXPECT_TRUE(frames().empty());
}

// Three modules, the middle one silent, scanned at the Fast rate with logging on.
class ReaderLogInput : public ReaderInput {
 protected:
  ReaderLogInput() {
    bus.addModules(3, 1);
    bus.setSilentRange(2, 2);
  }
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
    find<QCheckBox>("Check1", options)->setChecked(true);
    type("T_LogDir", dir, options);
    type("T_delim", delimiter, options);
    click("B_Apply", options);
  }
  QString logStatus() { return find("LogStatus")->isVisibleTo(form1.get()) ? text("LogStatus") : QString(); }
  // Scans for a while, then Stop, which writes the pass under way. Returns
  // the voltage passes begun.
  int scanAWhile(qint64 ms) {
    if (!line.isOpen()) prepareScan("Fast", 1, 3);
    clearFrames();
    click("Command16");
    clock.advance(ms);
    click("Command17");
    clock.advance(1000);
    int passes = 0;
    for (const auto& f : frames()) passes += frameCommand(f.frame) == cmd::Voltage && frameAddress(f.frame) == 1;
    return passes;
  }
  // The voltage file has its header and one line per pass: the voltages of
  // modules 1 and 3 in their columns, module 2 empty (a pass cut short by
  // Stop may end after module 1), each line ending in CR LF.
  void expectVoltageLines(const QString& dir, const QString& delimiter, int passes) {
    QFile file(QDir(dir).filePath("ZELTA_Reader_Voltages.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    EXPECT_EQ(lines.takeLast(), "");
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.takeFirst().startsWith("Timestamp" + delimiter + "Module(1)" + delimiter + "Module(2)"));
    EXPECT_EQ(lines.size(), passes);
    const QString v1 = voltageText(bus.module(0).millivolts / 1000.0);
    const QString v3 = voltageText(bus.module(2).millivolts / 1000.0);
    const QStringList whole{v1, "", v3}, cut{v1};
    for (const QString& l : lines) {
      QStringList values = l.split(delimiter).mid(1);
      while (!values.isEmpty() && values.last().isEmpty()) values.removeLast();  // columns of unscanned modules
      EXPECT_TRUE(values == whole || values == cut) << l.toStdString();
    }
  }
};

// Each delimiter is tried with one of the unwritable directories first:
// reported while the scan goes on, then a good directory (its name not
// ASCII) gets the lines kept meanwhile first, in order, all readable.
TEST_F(ReaderLogInput, EveryDelimiterAndLogDirectoryGiveLinesThatReadBackIntoTheirColumns) {
  QTemporaryDir base;
  QDir(base.path()).mkdir("readonly");
  QFile::setPermissions(base.filePath("readonly"), QFile::ReadOwner | QFile::ExeOwner);
  QFile plain(base.filePath("plainfile"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  const QString unwritable[] = {
      base.filePath("missing/deeper"),
      geteuid() == 0 ? QStringLiteral("/proc/self") : base.filePath("readonly"),  // root writes anywhere
      base.filePath("plainfile"),
      base.filePath(QString(300, 'x') + "/" + QString(4000, 'y')),
  };
  // A quote or a line break would make lines that cannot be read back.
  const std::pair<QString, QString> delimiters[] = {  // typed, used
      {"", ";"}, {", ", ", "}, {"\t", "\t"}, {";;", ";;"}, {"|", "|"}, {"\"", ";"}, {"a\"b", ";"}, {"\n", ";"}};
  int n = 0;
  for (const auto& [typed, used] : delimiters) {
    const QString& bad = unwritable[n++ % 4];
    SCOPED_TRACE("delimiter '" + typed.toStdString() + "', first into " + bad.left(60).toStdString());
    restart();
    setLogging(bad, typed);
    EXPECT_EQ(text("T_delim", window("Log_Options")), used);
    const int before = scanAWhile(3000);
    EXPECT_TRUE(logStatus().contains("ZELTA_Reader_")) << logStatus().toStdString();
    QTemporaryDir good;
    const QString dir = good.filePath(QString::fromUtf8("Pr\u00fcfdaten \u2603 \u65e5\u672c"));
    ASSERT_TRUE(QDir().mkpath(dir));
    setLogging(dir, typed);
    const int after = scanAWhile(2000);
    EXPECT_EQ(logStatus(), "");
    EXPECT_GE(before + after, 4);
    expectVoltageLines(dir, used, before + after);
  }
}

}  // namespace
}  // namespace zelta::testing
