// CSV logging: the files written by a scan, headers, delimiters and quoting,
// the pending line at Stop and at exit, unwritable files, logging off, the
// "Logging Options" window, the line that tells where values are logged, and
// the options and port kept for the next start.
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "reader_fixture.h"

namespace zelta::testing {
namespace {

const QString kStamp = QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d");

QString modules(const QString& delimiter, int last = 340) {
  QStringList m;
  for (int n = 1; n <= last; ++n) m << QStringLiteral("Module(%1)").arg(n);
  return m.join(delimiter);
}

class CsvLogging : public ReaderFixture {
 protected:
  CsvLogging() {
    bus.addModules(3, 1);
    bus.module(0).millivolts = 13200;
    bus.module(2).millivolts = 13180;
    bus.setSilentRange(2, 2);
  }
  QString path(const char* file) const { return dir.path() + "/" + file; }
  QStringList lines(const char* file) {
    QFile f(path(file));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QString all = QString::fromLocal8Bit(f.readAll());
    EXPECT_TRUE(all.endsWith("\r\n")) << file;
    QStringList l = all.split("\r\n");
    l.removeLast();
    return l;
  }
  void setOptions(const QString& logDir, bool active, const QString& delimiter = ";") {
    menu("Logging_Options");
    QWidget* o = window("Log_Options");
    find<QCheckBox>("Check1", o)->setChecked(active);
    type("T_LogDir", logDir, o);
    type("T_delim", delimiter, o);
    click("B_Apply", o);
  }
  // Fast scan of modules 1 to 3, left the moment the given number of
  // requests went out (the replies to all earlier ones are in).
  void scan(std::size_t requestCount) {
    prepareScan("Fast", 1, 3);
    click("Command16");
    ASSERT_TRUE(clock.advanceUntil([&] { return frames().size() >= requestCount; }, 60000));
  }
  // The voltage file after one pass (module type .. temperature, and the
  // next voltage request) of a scan logged with the delimiter.
  QStringList voltageLines(const QString& delimiter) {
    setOptions(dir.path(), true, delimiter);
    scan(5 * 3 + 1);
    click("Command17");
    return lines("ZELTA_Reader_Voltages.csv");
  }
  static void expectLine(const QString& line, const QString& rest) {
    EXPECT_TRUE(QRegularExpression("^" + kStamp + QRegularExpression::escape(rest) + "$")
                    .match(line)
                    .hasMatch())
        << line.toStdString() << "\n  does not end with " << rest.toStdString();
  }

  QTemporaryDir dir;
};

TEST_F(CsvLogging, AScanWritesItsFilesWithAHeaderOnlyWhereAFileIsNewOrEmpty) {
  QFile old(path("ZELTA_Reader_Voltages.csv"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("earlier line\r\n");
  old.close();
  QFile empty(path("ZELTA_Reader_Info.csv"));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  const QStringList u = voltageLines(";");
  ASSERT_EQ(u.size(), 2);
  EXPECT_EQ(u[0], "earlier line");
  expectLine(u[1], ";13.200;;13.180");
  const QStringList t = lines("ZELTA_Reader_Temperatures.csv");
  ASSERT_EQ(t.size(), 2);
  EXPECT_EQ(t[0], "Timestamp;" + modules(";"));
  const QStringList info = lines("ZELTA_Reader_Info.csv");
  ASSERT_EQ(info.size(), 4);
  EXPECT_EQ(info[0], "Timestamp;Name of Values;" + modules(";"));
  expectLine(info[1], ";Modultyp;Q12;;Q12");
  expectLine(info[2], ";HW;3.1;;3.1");
  expectLine(info[3], ";SW;2.10.3;;2.10.3");
  EXPECT_FALSE(QFile::exists(path("ZELTA_Reader_Impedances.csv")));
}

// Stop writing the pass under way is checked with the unwritable directory.
TEST_F(CsvLogging, ThePassUnderWayIsWrittenAtProgramEnd) {
  setOptions(dir.path(), true);
  scan(5 * 3 + 2);  // one voltage value into the second voltage pass
  form1->close();
  const QStringList u = lines("ZELTA_Reader_Voltages.csv");
  ASSERT_EQ(u.size(), 3);
  expectLine(u[2], ";13.200");
}

// Stop is checked with the unwritable directory, program end above.
TEST_F(CsvLogging, ThePassUnderWayIsWrittenWhenThePortCloses) {
  setOptions(dir.path(), true);
  scan(5 * 3 + 2);  // one value into the second voltage pass
  click("Command38");
  const QStringList u = lines("ZELTA_Reader_Voltages.csv");
  ASSERT_EQ(u.size(), 3);
  expectLine(u[2], ";13.200");
}

TEST_F(CsvLogging, ThePassUnderWayIsWrittenWhenManualModeIsChosen) {
  setOptions(dir.path(), true);
  scan(5 * 3 + 2);
  click("Option2");
  const QStringList u = lines("ZELTA_Reader_Voltages.csv");
  ASSERT_EQ(u.size(), 3);
  expectLine(u[2], ";13.200");
}

TEST_F(CsvLogging, Module340IsLoggedAndANewDirectoryGetsItsOwnHeaders) {
  ModuleState last;
  last.address = 340;
  last.millivolts = 12000;
  bus.addModule(last);
  QTemporaryDir second;
  for (const QString& d : {dir.path(), second.path()}) {
    setOptions(d, true);
    prepareScan("Fast", 339, 340);
    click("Command16");
    const std::size_t until = frames().size() + 5 * 2 + 1;
    ASSERT_TRUE(clock.advanceUntil([&] { return frames().size() >= until; }, 60000));
    click("Command17");
    click("Command38");
    QFile f(d + "/ZELTA_Reader_Voltages.csv");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList u = QString::fromLocal8Bit(f.readAll()).split("\r\n");
    ASSERT_GE(u.size(), 2);
    EXPECT_EQ(u[0], "Timestamp;" + modules(";"));
    EXPECT_TRUE(u[1].endsWith(";;12.000")) << u[1].toStdString();
    EXPECT_EQ(u[1].split(';').size(), 341);
  }
}

TEST_F(CsvLogging, ADelimiterInAValueIsQuotedSoEveryModuleKeepsItsColumn) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const QStringList u = voltageLines(",");
  QLocale::setDefault(QLocale::c());
  ASSERT_EQ(u.size(), 2);
  expectLine(u[1], ",\"13,200\",,\"13,180\"");
}

TEST_F(CsvLogging, ATwoCharacterDelimiterSeparatesEveryColumn) {
  const QStringList u = voltageLines(", ");
  ASSERT_EQ(u.size(), 2);
  EXPECT_EQ(u[0], "Timestamp, " + modules(", "));
  expectLine(u[1], ", 13.200, , 13.180" + QString(", ").repeated(337));
}

TEST_F(CsvLogging, TrailingBackslashIsDroppedFromTheDirectory) {
  setOptions(dir.path() + "\\", true);
  EXPECT_EQ(form1->logger().logFiles()[0], path("ZELTA_Reader_Voltages.csv"));
  menu("Logging_Options");
  EXPECT_EQ(text("T_LogDir", window("Log_Options")), dir.path());
}

TEST_F(CsvLogging, NothingIsWrittenWhileLoggingIsOff) {
  scan(5 * 3 + 1);  // options never opened
  setOptions(dir.path(), false);
  click("Command17");
  click("Command16");
  clock.advance(3000);
  click("Command17");
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(CsvLogging, AnUnwritableDirectoryIsReportedAndItsLinesWrittenLater) {
  const QString missing = dir.path() + "/later";
  setOptions(missing, true);
  scan(5 * 3 + 2);
  click("Command17");
  QLabel* status = find<QLabel>("LogStatus");
  EXPECT_TRUE(status->isVisibleTo(form1.get()));
  EXPECT_TRUE(status->text().contains(QDir::toNativeSeparators(missing)));
  EXPECT_TRUE(boxes.asked().empty());
  ASSERT_TRUE(QDir().mkpath(missing));
  click("Command16");
  clock.advance(330);  // the next module type value, a new line: all are written
  click("Command17");
  EXPECT_FALSE(status->isVisibleTo(form1.get()));
  QFile f(missing + "/ZELTA_Reader_Voltages.csv");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QList<QByteArray> u = f.readAll().split('\n');
  ASSERT_EQ(u.size(), 4);  // header, two passes, end
  EXPECT_TRUE(u[1].contains(";13.200;;13.180"));
  EXPECT_TRUE(u[2].contains(";13.200\r"));
}

TEST_F(CsvLogging, OptionsWindowBrowseOkCancelAndDefault) {
  environment.home = "/home/tech";
  environment.documents = "/home/tech/Documents";
  EXPECT_EQ(text("LoggingStatus"), "Logging off");
  menu("Logging_Options");
  QWidget* o = window("Log_Options");
  EXPECT_EQ(text("T_LogDir", o), "/home/tech");
  click("Check1", o);
  type("T_LogDir", "", o);
  folders.queue({FolderChoice::Outcome::Chosen, "/data/logs/"});
  click("B_Browse", o);
  ASSERT_EQ(folders.asked().size(), 1u);
  EXPECT_EQ(folders.asked()[0].startDir, "/home/tech/Documents");
  EXPECT_EQ(form1->logger().logFiles()[0], "/data/logs/ZELTA_Reader_Voltages.csv");
  type("T_delim", "", o);
  click("B_Apply", o);
  EXPECT_TRUE(form1->logger().loggingActive());
  EXPECT_EQ(form1->logger().delimiter(), ";");
  EXPECT_EQ(text("LoggingStatus"), "Logging to /data/logs");
  menu("Logging_Options");
  click("B_Default", o);  // acts at once, Cancel does not undo it
  type("T_delim", "|", o);
  click("B_Cancel", o);
  EXPECT_EQ(form1->logger().logDir(), "/home/tech");
  EXPECT_EQ(form1->logger().delimiter(), ";");
  EXPECT_EQ(text("LoggingStatus"), "Logging to /home/tech");
  menu("Logging_Options");
  click("Check1", o);
  click("B_Apply", o);
  EXPECT_EQ(text("LoggingStatus"), "Logging off");
}

TEST_F(CsvLogging, OptionsAndThePortAreKeptForTheNextStart) {
  EXPECT_EQ(text("Combo2"), "COM1");
  setOptions(dir.path(), true, ",");
  openPort("COM7");
  click("Command38");
  openPort("COMXYZ");  // a typed name that opens the port of the name before
  click("Command38");
  form1 = std::make_unique<ReaderWindow>(platform);  // the next start
  form1->show();
  EXPECT_EQ(text("Combo2"), "COM7");
  EXPECT_EQ(text("LoggingStatus"), "Logging to " + QDir::toNativeSeparators(dir.path()));
  menu("Logging_Options");
  QWidget* o = window("Log_Options");
  EXPECT_EQ(text("T_LogDir", o), QDir::toNativeSeparators(dir.path()));
  EXPECT_EQ(text("T_delim", o), ",");
  EXPECT_TRUE(find<QCheckBox>("Check1", o)->isChecked());
  click("B_Cancel", o);
  scan(5 * 3 + 1);
  click("Command17");
  const QStringList u = lines("ZELTA_Reader_Voltages.csv");
  ASSERT_EQ(u.size(), 2);
  EXPECT_EQ(u[0], "Timestamp," + modules(","));
}

}  // namespace
}  // namespace zelta::testing
