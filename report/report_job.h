// One health report's reading work: the log files of a string, read one
// after the other, a bounded number of lines per step, into the analysis.
// The command-line tool runs the steps in one go; the Reader runs a few per
// timer tick so that a scan goes on meanwhile. Skipped lines are kept (the
// first kMaxListed of them) with their file and line number.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "log_kind.h"
#include "report_settings.h"
#include "string_analysis.h"

namespace zelta::report {

class LogLineReader;

struct InputFile {
  QString path;
  LogKind kind = LogKind::Voltages;
  bool opened = false;
  QString error;
  std::uint64_t lines = 0;    // lines in the file
  std::uint64_t passes = 0;   // value lines taken (within the time range)
  std::uint64_t skipped = 0;  // malformed lines
};

struct SkippedLine {
  QString file;
  std::uint64_t line = 0;
  QString reason;
};

// The log files named by the arguments: a folder (its four files, those that
// are there) or files, whose kind comes from their names. Empty with an error
// when nothing can be read.
std::vector<InputFile> resolveInputs(const QStringList& paths, QString& error);

class ReportJob {
 public:
  static constexpr std::size_t kMaxListed = 200;

  ReportJob(std::vector<InputFile> files, ReportSettings settings);
  ~ReportJob();

  // Reads up to maxLines more lines; false once every file has been read.
  bool step(std::uint64_t maxLines);
  void runToEnd();

  const StringAnalysis& analysis() const { return analysis_; }
  const ReportSettings& settings() const { return settings_; }
  const std::vector<InputFile>& files() const { return files_; }
  const std::vector<SkippedLine>& skipped() const { return skipped_; }
  std::uint64_t skippedTotal() const { return skippedTotal_; }
  std::function<void(const SkippedLine&)> onSkipped;

 private:
  bool openNext();
  void skip(std::uint64_t line, const std::string& reason);

  ReportSettings settings_;
  StringAnalysis analysis_{settings_};
  std::vector<InputFile> files_;
  std::size_t current_ = 0;
  std::unique_ptr<LogLineReader> reader_;
  std::vector<SkippedLine> skipped_;
  std::uint64_t skippedTotal_ = 0;
};

}  // namespace zelta::report
