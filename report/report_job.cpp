#include "report_job.h"

#include <QDir>
#include <QFileInfo>

#include "log_line_reader.h"

namespace zelta::report {
namespace {

std::optional<LogKind> kindFromName(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const char* words[] = {"Voltage", "Temperature", "Impedance", "Info"};
  for (std::size_t i = 0; i < kAllLogKinds.size(); ++i)
    if (name.contains(QLatin1String(words[i]), Qt::CaseInsensitive)) return kAllLogKinds[i];
  return std::nullopt;
}

InputFile inputFile(const QString& path, LogKind kind) {
  InputFile f;
  f.path = path;
  f.kind = kind;
  return f;
}

}  // namespace

std::vector<InputFile> resolveInputs(const QStringList& paths, QString& error) {
  std::vector<InputFile> files;
  for (const QString& path : paths) {
    const QFileInfo info(path);
    if (info.isDir()) {
      const QDir dir(path);
      for (LogKind kind : kAllLogKinds) {
        const QString file = dir.filePath(QString::fromLatin1(logFileName(kind)));
        if (QFileInfo(file).isFile()) files.push_back(inputFile(file, kind));
      }
      continue;
    }
    if (!info.exists()) {
      error = QStringLiteral("%1: no such file or folder").arg(path);
      return {};
    }
    const auto kind = kindFromName(path);
    if (!kind) {
      error = QStringLiteral(
                  "%1: not one of the four logs (its name holds none of Voltage, "
                  "Temperature, Impedance, Info)")
                  .arg(path);
      return {};
    }
    files.push_back(inputFile(path, *kind));
  }
  if (files.empty() && error.isEmpty())
    error = QStringLiteral("no log files in %1").arg(paths.join(QStringLiteral(", ")));
  return files;
}

ReportJob::ReportJob(std::vector<InputFile> files, ReportSettings settings)
    : settings_(std::move(settings)), files_(std::move(files)) {}

ReportJob::~ReportJob() = default;

void ReportJob::skip(std::uint64_t line, const std::string& reason) {
  InputFile& f = files_[current_];
  ++f.skipped;
  ++skippedTotal_;
  const SkippedLine s{f.path, line, QString::fromStdString(reason)};
  if (skipped_.size() < kMaxListed) skipped_.push_back(s);
  if (onSkipped) onSkipped(s);
}

bool ReportJob::openNext() {
  while (current_ < files_.size()) {
    InputFile& f = files_[current_];
    reader_ = std::make_unique<LogLineReader>(f.kind == LogKind::Info,
                                              settings_.fallbackDelimiter.toStdString());
    reader_->onMalformed = [this](std::uint64_t line, const std::string& reason) {
      skip(line, reason);
    };
    std::string error;
    if (reader_->open(QFile::encodeName(f.path).toStdString(), error)) {
      f.opened = true;
      return true;
    }
    f.error = QString::fromStdString(error);
    ++current_;
  }
  reader_.reset();
  return false;
}

bool ReportJob::step(std::uint64_t maxLines) {
  if (!reader_ && !openNext()) return false;
  LogRecord record;
  std::string reason;
  const std::uint64_t stopAt = reader_->linesRead() + maxLines;
  while (reader_->linesRead() < stopAt) {
    InputFile& f = files_[current_];
    if (!reader_->next(record)) {
      f.lines = reader_->linesRead();
      ++current_;
      reader_.reset();
      return current_ < files_.size();
    }
    if ((settings_.from && record.time < *settings_.from) ||
        (settings_.to && record.time > *settings_.to))
      continue;
    if (!analysis_.addPass(f.kind, record.time, record.name, record.modules, reason)) {
      skip(record.lineNumber, reason);
      continue;
    }
    ++f.passes;
  }
  files_[current_].lines = reader_->linesRead();
  return true;
}

void ReportJob::runToEnd() {
  while (step(100000)) {
  }
}

}  // namespace zelta::report
