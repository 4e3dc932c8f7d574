#include "report_command.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include "baseline_file.h"
#include "health_report.h"
#include "report_job.h"
#include "timestamp.h"

namespace zelta::report {
namespace {

constexpr int kFlagged = 1;
constexpr int kFailed = 2;

struct NumberOption {
  const char* name;
  const char* help;
  double ReportSettings::*real = nullptr;
  int ReportSettings::*whole = nullptr;
};

const NumberOption kNumbers[] = {
    {"voltage-band", "Flag a voltage more than PCT % from the string mean (2).",
     &ReportSettings::voltageBandPercent},
    {"temperature-margin", "Flag a temperature more than C °C above the string mean (5).",
     &ReportSettings::temperatureMarginC},
    {"impedance-rise", "Flag an impedance more than PCT % above its baseline (25).",
     &ReportSettings::impedanceRisePercent},
    {"impedance-readings", "Readings averaged for a baseline and for the latest impedance (5).",
     nullptr, &ReportSettings::impedanceReadings},
    {"missing-passes", "Passes without an answer at the end before a block counts as stopped (3).",
     nullptr, &ReportSettings::missingPasses},
    {"critical-factor", "A flag this many times over its threshold is critical (2).",
     &ReportSettings::criticalFactor},
};

}  // namespace

int runReportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Makes a health report (PDF and summary) of a battery string from ZELTA_Reader's log "
      "files. Exit code: 0 nothing flagged, 1 a block is flagged, 2 no report."));
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("logs"),
                               QStringLiteral("The folder of the four log files, or log files."),
                               QStringLiteral("FOLDER|FILE..."));
  const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                  QStringLiteral("The PDF to write (zelta-health-report.pdf)."),
                                  QStringLiteral("PDF"), QStringLiteral("zelta-health-report.pdf"));
  const QCommandLineOption summary(
      {QStringLiteral("s"), QStringLiteral("summary")},
      QStringLiteral("The summary to write, .json or .csv (the PDF's name with .json)."),
      QStringLiteral("FILE"));
  const QCommandLineOption from(
      QStringLiteral("from"),
      QStringLiteral("Only readings from this time (yyyy-MM-dd[ hh:mm:ss])."),
      QStringLiteral("TIME"));
  const QCommandLineOption to(
      QStringLiteral("to"),
      QStringLiteral("Only readings up to this time (yyyy-MM-dd[ hh:mm:ss])."),
      QStringLiteral("TIME"));
  const QCommandLineOption name(
      QStringLiteral("name"),
      QStringLiteral("The string's name on the report (the folder's name)."),
      QStringLiteral("TEXT"));
  const QCommandLineOption baseline(
      QStringLiteral("baseline"),
      QStringLiteral("Impedance baselines: lines \"block;milliohm\", or an earlier summary CSV."),
      QStringLiteral("FILE"));
  const QCommandLineOption delimiter(
      QStringLiteral("delimiter"),
      QStringLiteral("The delimiter of lines before any header line (;)."), QStringLiteral("TEXT"),
      QStringLiteral(";"));
  const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")},
                                 QStringLiteral("Do not list skipped lines."));
  parser.addOptions({output, summary, from, to, name, baseline, delimiter, quiet});
  std::vector<QCommandLineOption> numbers;
  for (const NumberOption& n : kNumbers) {
    numbers.emplace_back(QString::fromLatin1(n.name), QString::fromUtf8(n.help),
                         QStringLiteral("NUMBER"));
    parser.addOption(numbers.back());
  }

  if (!parser.parse(arguments)) {
    err << parser.errorText() << "\n";
    return kFailed;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    out << parser.helpText();
    return 0;
  }
  if (parser.positionalArguments().isEmpty()) {
    err << "zelta_report: give the folder of the log files, or the files\n";
    return kFailed;
  }

  ReportSettings settings;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (!parser.isSet(numbers[i])) continue;
    bool ok = false;
    const double v = parser.value(numbers[i]).toDouble(&ok);
    if (!ok || v < 0 || (kNumbers[i].whole && (v != int(v) || v < 1))) {
      err << "zelta_report: --" << kNumbers[i].name << " needs a number, not "
          << parser.value(numbers[i]) << "\n";
      return kFailed;
    }
    if (kNumbers[i].real)
      settings.*kNumbers[i].real = v;
    else
      settings.*kNumbers[i].whole = static_cast<int>(v);
  }
  for (const auto* option : {&from, &to}) {
    if (!parser.isSet(*option)) continue;
    auto t = parseDateOrTimestamp(parser.value(*option).toStdString());
    if (!t) {
      err << "zelta_report: --" << option->names().constFirst() << " needs yyyy-MM-dd or "
          << "yyyy-MM-dd hh:mm:ss, not " << parser.value(*option) << "\n";
      return kFailed;
    }
    // A date alone as the end takes in the whole day.
    if (option == &to && parser.value(*option).size() == 10) *t += 86399;
    (option == &from ? settings.from : settings.to) = *t;
  }
  settings.stringName = parser.value(name);
  settings.fallbackDelimiter = parser.value(delimiter);
  QString error;
  if (parser.isSet(baseline)) {
    settings.baselineFile = parser.value(baseline);
    if (!readBaselineFile(settings.baselineFile, settings.impedanceBaseline, error)) {
      err << "zelta_report: " << error << "\n";
      return kFailed;
    }
  }
  std::vector<InputFile> inputs = resolveInputs(parser.positionalArguments(), error);
  if (inputs.empty()) {
    err << "zelta_report: " << error << "\n";
    return kFailed;
  }

  ReportJob job(std::move(inputs), settings);
  if (!parser.isSet(quiet))
    job.onSkipped = [&err](const SkippedLine& l) {
      if (l.line > 0) err << l.file << ":" << l.line << ": skipped: " << l.reason << "\n";
    };
  job.runToEnd();
  for (const InputFile& f : job.files())
    if (!f.opened) err << "zelta_report: " << f.path << ": " << f.error << "\n";

  const HealthReport report(job);
  const QString pdf = parser.value(output);
  const QString summaryPath = parser.isSet(summary)
                                  ? parser.value(summary)
                                  : QFileInfo(pdf).path() + QLatin1Char('/') +
                                        QFileInfo(pdf).completeBaseName() + QStringLiteral(".json");
  if (!writePdf(report, pdf, error) || !writeSummary(report, summaryPath, error)) {
    err << "zelta_report: " << error << "\n";
    return kFailed;
  }
  const StringAnalysis& a = job.analysis();
  out << "Period: " << report.dateRange() << "\n"
      << "Blocks found: " << a.blocksFound() << "\n"
      << "Flagged blocks: " << report.criticalBlocks << " critical, " << report.warningBlocks
      << " warning\n";
  for (const Flag& f : report.flags)
    out << "Block " << f.block << " " << severityName(f.severity) << " " << flagKindName(f.kind)
        << ": " << f.reason << "\n";
  if (job.skippedTotal() > 0) out << "Skipped lines: " << job.skippedTotal() << "\n";
  out << "Report: " << pdf << "\nSummary: " << summaryPath << "\n";
  return report.anyFlag() ? kFlagged : 0;
}

}  // namespace zelta::report
