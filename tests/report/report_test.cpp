// The health report on logs the Reader's writer made: each weak block flagged
// with its reason, the log formats read back, malformed lines by file and
// line, and the PDF and summary of the command line tool.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <map>
#include <optional>

#include "reader/csv_logger.h"
#include "reader/number_text.h"
#include "report/flags.h"
#include "report/log_line_reader.h"
#include "report/report_command.h"
#include "report/report_job.h"

namespace zelta::testing {
namespace {

// A string of blocks logged through the Reader's own CSV writer, pass by pass,
// with values a test chooses (nullopt: the block did not answer), so that the
// report reads exactly what the Reader writes.
struct StringLogs {
  using Values = std::function<std::optional<double>(int block, int pass)>;
  int blocks = 24;
  int passes = 40;  // voltage, temperature and impedance passes each
  QString delimiter = ";";
  Values volts = [](int, int) { return 13.2; };
  Values celsius = [](int, int) { return 23.0; };
  Values milliohm = [](int, int) { return 3.5; };
  std::function<QString(int block)> software = [](int) { return QStringLiteral("2.10.3"); };

  // Writes the four files into dir, one pass a minute from 2024-05-17 08:00.
  void write(const QString& dir) const {
    QDateTime now(QDate(2024, 5, 17), QTime(8, 0));
    CsvLogger logger([&now] { return now; });
    logger.setLogFiles(dir);
    logger.setDelimiter(delimiter);
    logger.setLoggingActive(true);
    for (const QString kind : {"Modultyp", "HW", "SW"})
      for (int b = 1; b <= blocks; ++b)
        logger.logValue(kind, kind == "SW" ? software(b) : kind == "HW" ? "3.1" : "Q12", b);
    const auto pass = [&](const char* kind, int p, const Values& value, auto text) {
      for (int b = 1; b <= blocks; ++b)
        if (const auto v = value(b, p)) logger.logValue(QString::fromLatin1(kind), text(*v), b);
      now = now.addSecs(20);
    };
    for (int p = 0; p < passes; ++p) {
      pass("Voltage", p, volts, voltageText);
      pass("Temperature", p, celsius, generalText);
      pass("Impedance", p, milliohm, generalText);
    }
    logger.flushPendingLine();
  }
};

using report::FlagKind;
using report::Severity;

struct Outcome {
  std::vector<report::Flag> flags;
  std::vector<report::SkippedLine> skipped;
  int blocksFound = 0;
};

Outcome analyse(const QString& dir, std::map<int, double> impedanceBaseline = {}) {
  QString error;
  report::ReportSettings settings;
  settings.impedanceBaseline = std::move(impedanceBaseline);
  report::ReportJob job(report::resolveInputs({dir}, error), std::move(settings));
  job.runToEnd();
  return {report::findFlags(job.analysis()), job.skipped(), job.analysis().blocksFound()};
}

struct FlagCase {
  const char* name;
  std::function<void(StringLogs&)> plant;
  int block;
  FlagKind kind;
  Severity severity;
  const char* reason;  // in the reason or the readings
  std::map<int, double> impedanceBaseline = {};  // from a baseline file
};

void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }

class Flags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(Flags, EachWeakBlockIsFlaggedWithItsReasonAndNoOtherBlockIs) {
  const FlagCase& c = GetParam();
  StringLogs logs;
  c.plant(logs);
  QTemporaryDir dir;
  logs.write(dir.path());
  const Outcome run = analyse(dir.path(), c.impedanceBaseline);
  EXPECT_EQ(run.blocksFound, 24);
  EXPECT_TRUE(run.skipped.empty());
  ASSERT_EQ(run.flags.size(), 1u);
  const report::Flag& f = run.flags.front();
  EXPECT_EQ(f.block, c.block);
  EXPECT_EQ(f.kind, c.kind);
  EXPECT_EQ(f.severity, c.severity);
  const QString words = f.reason + " | " + f.readings;
  EXPECT_TRUE(words.contains(QString::fromUtf8(c.reason))) << words.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    WeakBlocks, Flags,
    ::testing::Values(
        FlagCase{"VoltageLow",
                 [](StringLogs& l) { l.volts = [](int b, int) { return b == 5 ? 12.85 : 13.2; }; },
                 5, FlagKind::Voltage, Severity::Warning, "2.5 % below the string mean 13.185 V"},
        FlagCase{"VoltageFarAbove",
                 [](StringLogs& l) {
                   // Only the latest passes count: high early, far off at the end.
                   l.volts = [](int b, int p) { return b == 11 ? (p < 38 ? 13.2 : 13.9) : 13.2; };
                 },
                 11, FlagKind::Voltage, Severity::Critical, "above the string mean"},
        FlagCase{"Hot",
                 [](StringLogs& l) { l.celsius = [](int b, int) { return b == 9 ? 31.0 : 23.0; }; },
                 9, FlagKind::Temperature, Severity::Warning, "7.7 °C above the string mean"},
        FlagCase{"ImpedanceRisen",
                 [](StringLogs& l) {
                   l.milliohm = [](int b, int p) { return b == 12 && p >= 30 ? 4.55 : 3.5; };
                 },
                 12, FlagKind::Impedance, Severity::Warning,
                 "4.55 mΩ is 30 % above its baseline 3.50"},
        FlagCase{"StoppedAnswering",
                 [](StringLogs& l) {
                   l.volts = l.celsius = [](int b, int p) {  // 3 passes missed is enough, 2 not
                     const bool gone = (b == 20 && p >= 37) || (b == 19 && p >= 38);
                     return gone ? std::nullopt : std::optional(13.2);
                   };
                 },
                 20, FlagKind::Silent, Severity::Critical,
                 "no answer in the last 3 voltage passes"},
        FlagCase{"LastBlockStoppedAnswering",
                 [](StringLogs& l) {
                   // Its lines end early: trailing empty fields are not written.
                   l.volts = [](int b, int p) {
                     return b == 24 && p >= 30 ? std::nullopt : std::optional(13.2);
                   };
                 },
                 24, FlagKind::Silent, Severity::Critical, "no answer in the last 10"},
        FlagCase{"OtherSoftware",
                 [](StringLogs& l) {
                   l.software = [](int b) {
                     return b == 3 ? QStringLiteral("2.9.0") : QStringLiteral("2.10.3");
                   };
                 },
                 3, FlagKind::Revision, Severity::Warning,
                 "software revision 2.9.0 where 23 blocks have 2.10.3"},
        FlagCase{"ImpedanceAboveTheBaselineFile", [](StringLogs&) {}, 7, FlagKind::Impedance,
                 Severity::Warning, "baseline 2.50 mΩ (limit +25 %) | mean of the last 5 "
                 "readings, latest 3.50 mΩ at 2024-05-17 08:39:40; baseline from the baseline "
                 "file", {{7, 2.5}}}),
    [](const auto& info) { return std::string(info.param.name); });

// What the Reader writes is what the report reads: every value of every block
// in its column, whatever the delimiter and the locale's decimal separator.
TEST(Report, ReadsBackEveryValueTheWriterWrote) {
  using Format = std::pair<QString, QLocale>;  // delimiter, locale
  for (const auto& [delimiter, locale] : {Format{";", QLocale::c()}, {",", QLocale::German},
                                          {", ", QLocale::c()}, {"\t", QLocale::German}}) {
    SCOPED_TRACE(delimiter.toStdString());
    QLocale::setDefault(locale);
    StringLogs logs;
    logs.blocks = 340;
    logs.passes = 8;
    logs.delimiter = delimiter;
    logs.volts = [](int b, int p) {
      return (b + p) % 13 == 0 ? std::nullopt : std::optional(12.0 + b * 0.001 + p * 0.1);
    };
    QTemporaryDir dir;
    logs.write(dir.path());
    QLocale::setDefault(QLocale::c());

    report::LogLineReader reader(false, ";", 1000);  // lines longer than the buffer
    std::string error;
    ASSERT_TRUE(reader.open((dir.path() + "/ZELTA_Reader_Voltages.csv").toStdString(), error));
    report::LogRecord r;
    int pass = 0;
    for (; reader.next(r); ++pass) {
      ASSERT_LE(r.modules.size(), 340u);
      for (int b = 1; b <= 340; ++b) {
        const auto want = logs.volts(b, pass);
        const std::string got = b <= int(r.modules.size()) ? std::string(r.modules[b - 1]) : "";
        const QString wrote = want ? QString::number(*want, 'f', 3) : "";
        EXPECT_EQ(got, QString(wrote).replace('.', locale.decimalPoint()).toStdString())
            << "pass " << pass << " block " << b;
      }
    }
    EXPECT_EQ(pass, 8);
    EXPECT_EQ(reader.delimiter(), delimiter.toStdString());
    EXPECT_EQ(reader.headerModules(), 340);
  }
}

TEST(Report, MalformedLinesAreSkippedWithTheirFileAndLineAndTheRestIsRead) {
  QTemporaryDir dir;
  QFile f(dir.path() + "/ZELTA_Reader_Voltages.csv");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  // An older Reader's header to Module(339), then this one's to Module(340);
  // a pass cut short; "," lines before any header are read with the fallback.
  QStringList lines = {
      "2024-05-17 07:59:00;13.1;13.1",
      "Timestamp," + QStringList({"Module(1)", "Module(2)", "Module(339)"}).join(","),
      "2024-05-17 08:00:00,13.2,\"13.3\",13.4",
      "2024-05-17 08:00:20,13.2,13.2,13.2,13.2",
      "17.05.2024 08:00:40,13.2",
      "2024-05-17 08:01:00,13.2,abc",
      "2024-05-17 08:01:20,\"13.2",
      "",
      "2024-05-17 08:01:40,13.2"};
  f.write(lines.join("\r\n").toLatin1() + "\r\n");
  f.close();
  const Outcome run = analyse(dir.path());
  std::vector<std::pair<std::uint64_t, QString>> got;
  for (const auto& s : run.skipped) {
    EXPECT_EQ(s.file, f.fileName());
    got.emplace_back(s.line, s.reason);
  }
  const std::vector<std::pair<std::uint64_t, QString>> want = {
      {4, "4 module fields where the header has 3"},
      {5, "no timestamp \"yyyy-MM-dd hh:mm:ss\" at the start"},
      {6, "Module(2) \"abc\" is not a number"},
      {7, "a quote that is not closed"}};
  EXPECT_EQ(got, want);
  EXPECT_EQ(run.blocksFound, 3);
}

// The command line tool on a folder: the exit code, the PDF (rendered by
// pdftoppm, its summary figures read back by pdftotext) and the JSON summary.
// A healthy string with noisy readings has no flag.
TEST(Report, TheToolWritesAPdfAndASummaryAndItsExitCodeTellsOfFlags) {
  for (const bool weak : {false, true}) {
    StringLogs logs;
    logs.volts = [](int b, int p) { return 13.2 + 0.2 * (((b * 7 + p * 3) % 11) - 5) / 5.0; };
    logs.celsius = [](int b, int p) { return 23.0 + ((b + p) % 9) * 0.5; };
    logs.milliohm = [](int b, int p) { return 3.5 + 0.1 * ((b * p) % 5); };
    if (weak) logs.volts = [](int b, int) { return b == 5 ? 12.5 : 13.2; };
    QTemporaryDir dir;
    logs.write(dir.path());
    const QString pdf = dir.filePath("report.pdf");
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const int code = report::runReportCommand({"zelta_report", dir.path(), "-o", pdf, "--name",
                                               "String A", "--to", "2024-05-17 08:30:00"},
                                              out, err);
    EXPECT_EQ(code, weak ? 1 : 0) << errText.toStdString();

    QProcess render;
    render.start("pdftoppm", {"-r", "20", "-png", pdf, dir.filePath("page")});
    ASSERT_TRUE(render.waitForFinished(60000));
    EXPECT_EQ(render.exitCode(), 0);
    // Summary, charts (and the flagged block's impedance chart), table.
    EXPECT_EQ(QDir(dir.path()).entryList({"page-*.png"}).size(), weak ? 4 : 3);
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString pages = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* figure :
         {"String A", "Period: 2024-05-17 08:00:00 – 2024-05-17 08:30:00", "Blocks found: 24",
          "Passes: 31 voltage, 30 temperature, 30 impedance, 3 info",
          weak ? "Flagged blocks: 1 critical, 0 warning" : "Flagged blocks: 0 critical, 0 warning"})
      EXPECT_TRUE(pages.contains(QString::fromUtf8(figure))) << figure;
    EXPECT_EQ(pages.contains("Block 5 · critical · voltage"), weak);

    QFile summary(dir.filePath("report.json"));
    ASSERT_TRUE(summary.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(summary.readAll()).object();
    EXPECT_EQ(json["blocks"].toArray().size(), 24);
    EXPECT_DOUBLE_EQ(json["blocks"].toArray()[4].toObject()["voltage_latest_v"].toDouble(),
                     *logs.volts(5, 30));  // the last pass up to 08:30
    EXPECT_EQ(json["flags"].toArray().size(), weak ? 1 : 0) << QJsonDocument(json).toJson().toStdString();
  }
}

}  // namespace
}  // namespace zelta::testing
