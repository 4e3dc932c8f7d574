// CSV logging: the files a scan writes, line by line, with their headers,
// delimiters and quoting; the pass under way at Stop, Close, Manual Mode and
// program end; unwritable directories, the options window, kept options.
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <unistd.h>

#include "reader_fixture.h"

namespace zelta::testing {
namespace {

QString modules(const QString& delimiter) {
  QStringList m;
  for (int n = 1; n <= 340; ++n) m << QStringLiteral("Module(%1)").arg(n);
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
  QStringList lines(const QString& dir, const char* file = "ZELTA_Reader_Voltages.csv") {
    QFile f(dir + "/" + file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QString all = QString::fromLocal8Bit(f.readAll());
    EXPECT_TRUE(all.endsWith("\r\n")) << file;
    QStringList l = all.split("\r\n");
    l.removeLast();
    return l;
  }
  // Logging on into `logDir`.
  void setOptions(const QString& logDir, const QString& delimiter = ";") {
    menu("Logging_Options");
    QWidget* o = window("Log_Options");
    tick("Check1", true, o);
    type("T_LogDir", logDir, o);
    type("T_delim", delimiter, o);
    click("B_Apply", o);
  }
  // Fast scan of modules 1 to 3, left the moment the given number of
  // requests went out (the replies to all earlier ones are in).
  void scan(std::size_t requestCount) {
    if (!line.isOpen()) prepareScan("Fast", 1, 3);
    click("Command16");
    ASSERT_TRUE(clock.advanceUntil([&] { return frames().size() >= requestCount; }, 60000));
  }
  void write(const QString& name, const QByteArray& contents = {}) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contents);
  }
  QString logStatus() {
    return find("LogStatus")->isVisibleTo(form1.get()) ? text("LogStatus") : QString();
  }

  QTemporaryDir dir;
};

// The virtual clock's day starts at 2024-05-17 14:03:09; each line carries
// the time its pass began. Checked when the second voltage pass has begun.
TEST_F(CsvLogging, AScanWritesItsFilesWithAHeaderWhereAFileIsNewEmptyOrMovedAway) {
  write("ZELTA_Reader_Voltages.csv", "earlier line\r\n");
  write("ZELTA_Reader_Info.csv");
  setOptions(dir.path());
  scan(5 * 3 + 2);
  EXPECT_EQ(lines(dir.path()), QStringList({"earlier line", "2024-05-17 14:03:10;13.200;;13.180"}));
  EXPECT_EQ(lines(dir.path(), "ZELTA_Reader_Info.csv"),
            QStringList({"Timestamp;Name of Values;" + modules(";"), "2024-05-17 14:03:09;Modultyp;Q12;;Q12",
                         "2024-05-17 14:03:09;HW;3.1;;3.1", "2024-05-17 14:03:10;SW;2.10.3;;2.10.3"}));
  EXPECT_FALSE(QFile::exists(dir.filePath("ZELTA_Reader_Impedances.csv")));
  // A file moved away or emptied while scanning gets its header again.
  ASSERT_TRUE(QFile::rename(dir.filePath("ZELTA_Reader_Voltages.csv"), dir.filePath("moved")));
  ASSERT_TRUE(QFile::resize(dir.filePath("ZELTA_Reader_Temperatures.csv"), 0));
  ASSERT_TRUE(clock.advanceUntil([&] { return frames().size() >= 5 * 3 + 8; }, 60000));
  for (const char* file : {"ZELTA_Reader_Voltages.csv", "ZELTA_Reader_Temperatures.csv"}) {
    const QStringList l = lines(dir.path(), file);
    ASSERT_EQ(l.size(), 2) << file;
    EXPECT_EQ(l[0], "Timestamp;" + modules(";"));
  }
}

// Each scan starts a minute after the one before, the first an hour and two
// minutes after the clock's day began; its second voltage pass two seconds
// later. The pass under way is written once its last request is answered or
// timed out, even when the user is quick to open again or to switch back; a
// reply still due (the 18th request, to module 3) lands in it. Quit writes at
// once. Trailing empty fields are cut with a one-character delimiter only; a
// value holding the delimiter is quoted; a delimiter that would break the
// lines (a quote, a line break) is replaced by ";".
TEST_F(CsvLogging, ThePassUnderWayIsWrittenAtStopCloseManualModeAndEndInAnyDelimiter) {
  struct Case {
    std::vector<const char*> clicks = {"Command17"};
    std::size_t requests = 18;
    QString typed = ";", used = ";";
    QLocale locale = QLocale::c();
    QString values = ";13.200;;13.180";  // after the timestamp
  };
  const QLocale german(QLocale::German, QLocale::Germany);
  const Case cases[] = {
      {.requests = 17, .values = ";13.200"},
      {.clicks = {"Command38"}, .requests = 17, .values = ";13.200"},
      {.clicks = {"Option2"}, .requests = 17, .values = ";13.200"},
      {.clicks = {"Command28"}, .requests = 17, .values = ";13.200"},
      {},
      {.clicks = {"Command38", "Command36"}},
      {.clicks = {"Option2", "Option1"}},
      {.typed = ""},
      {.typed = "|", .used = "|", .values = "|13.200||13.180"},
      {.typed = "\t", .used = "\t", .values = "\t13.200\t\t13.180"},
      {.typed = ",", .used = ",", .locale = german, .values = ",\"13,200\",,\"13,180\""},
      {.typed = ", ", .used = ", ", .values = ", 13.200, , 13.180" + QString(", ").repeated(337)},
      {.typed = ";;", .used = ";;", .values = ";;13.200;;;;13.180" + QString(";;").repeated(337)},
      {.typed = "\""},
      {.typed = "a\"b"},
      {.typed = "\n"},
  };
  int k = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.clicks.front()) + " after request " + std::to_string(c.requests) +
                 ", delimiter '" + c.typed.toStdString() + "'");
    restart();
    QLocale::setDefault(c.locale);
    QTemporaryDir logs;
    clock.advanceTo((3600 + 2 * 60 + 60 * k) * 1000);
    setOptions(logs.path(), c.typed);
    EXPECT_EQ(text("T_delim", window("Log_Options")), c.used);
    scan(c.requests);
    for (const char* control : c.clicks) click(control);
    if (std::string(c.clicks.front()) != "Command28") clock.advance(1000);  // "Quit" ends it
    QLocale::setDefault(QLocale::c());
    const QStringList u = lines(logs.path());
    ASSERT_EQ(u.size(), 3);
    EXPECT_EQ(u[0], "Timestamp" + c.used + modules(c.used));
    EXPECT_EQ(u[2], QStringLiteral("2024-05-17 15:%1:11").arg(5 + k, 2, 10, QChar('0')) + c.values);
    ++k;
  }
}

// Reported in the red line while the scan goes on, no message box; the lines
// kept meanwhile go first, in order, into the next good directory (its name
// not ASCII), after the header a new directory gets.
TEST_F(CsvLogging, UnwritableDirectoriesAreReportedAndTheirLinesWrittenLater) {
  QDir(dir.path()).mkdir("readonly");
  QFile::setPermissions(dir.filePath("readonly"), QFile::ReadOwner | QFile::ExeOwner);
  write("plainfile");
  const QString unwritable[] = {
      dir.filePath("missing/deeper"),
      geteuid() == 0 ? QStringLiteral("/proc/self") : dir.filePath("readonly"),  // root writes anywhere
      dir.filePath("plainfile"),
      dir.filePath(QString(300, 'x') + "/" + QString(4000, 'y')),
  };
  for (const QString& bad : unwritable) {
    SCOPED_TRACE(bad.left(60).toStdString());
    restart();
    setOptions(bad);
    scan(5 * 3 + 2);
    click("Command17");
    clock.advance(1000);
    EXPECT_TRUE(logStatus().contains("ZELTA_Reader_")) << logStatus().toStdString();
    EXPECT_TRUE(boxes.asked().empty());
    QTemporaryDir good;
    const QString goodDir = good.filePath(QString::fromUtf8("Pr\u00fcfdaten \u2603 \u65e5\u672c"));
    ASSERT_TRUE(QDir().mkpath(goodDir));
    setOptions(goodDir);
    clearFrames();
    scan(2);  // the next module type value begins a new line: all are written
    click("Command17");
    clock.advance(1000);
    EXPECT_EQ(logStatus(), "");
    const QStringList u = lines(goodDir);
    ASSERT_EQ(u.size(), 3);
    EXPECT_EQ(u[0], "Timestamp;" + modules(";"));
    EXPECT_EQ(u[1].mid(19), ";13.200;;13.180");
    EXPECT_EQ(u[2].mid(19), ";13.200");
  }
}

TEST_F(CsvLogging, OptionsWindowBrowseOkCancelDefaultOffAndKeptForTheNextStart) {
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
  click("B_Apply", o);
  EXPECT_EQ(text("LoggingStatus"), "Logging to /data/logs");
  menu("Logging_Options");
  click("B_Default", o);  // acts at once, Cancel does not undo it
  type("T_delim", "|", o);
  click("B_Cancel", o);
  EXPECT_EQ(form1->logger().delimiter(), ";");
  EXPECT_EQ(text("LoggingStatus"), "Logging to /home/tech");
  // A trailing backslash is dropped from the directory, and stays dropped.
  menu("Logging_Options");
  type("T_LogDir", dir.path() + "\\", o);
  click("B_Apply", o);
  menu("Logging_Options");
  EXPECT_EQ(text("T_LogDir", o), dir.path());
  click("Check1", o);
  click("B_Apply", o);
  EXPECT_EQ(text("LoggingStatus"), "Logging off");
  scan(5 * 3 + 1);
  click("Command17");
  clock.advance(1000);
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << "written while off";
  // Options and the port are kept for the next start, checked with a scan
  // that reaches module 340.
  click("Command38");
  EXPECT_EQ(text("Combo2"), "COM1");
  setOptions(dir.path(), ",");
  openPort("COM7");
  click("Command38");
  openPort("COMXYZ");  // a typed name that opens the port of the name before
  click("Command38");
  form1 = std::make_unique<ReaderWindow>(platform);  // the next start
  form1->show();
  EXPECT_EQ(text("Combo2"), "COM7");
  EXPECT_EQ(text("LoggingStatus"), "Logging to " + QDir::toNativeSeparators(dir.path()));
  bus.addModule(ModuleState{.address = 340, .millivolts = 12000});
  prepareScan("Fast", 339, 340);
  scan(5 * 2 + 1);
  click("Command38");
  clock.advance(1000);
  const QStringList u = lines(dir.path());
  ASSERT_GE(u.size(), 2);
  EXPECT_EQ(u[0], "Timestamp," + modules(","));
  EXPECT_EQ(u[1].mid(19), QString(340, ',') + "12.000");
}

}  // namespace
}  // namespace zelta::testing
