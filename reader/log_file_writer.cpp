#include "log_file_writer.h"

#include <QFile>
#include <QFileInfo>
#include <set>

namespace zelta {

LogFileWriter::LogFileWriter(std::function<QString(int)> header) : header_(std::move(header)) {}

void LogFileWriter::setFiles(const std::array<QString, kFiles>& paths) { files_ = paths; }

bool LogFileWriter::needToWriteFirstLine(const QString& path) {
  const QFileInfo info(path);
  return !(info.exists() && info.isFile() && info.size() > 0);
}

bool LogFileWriter::append(int id, const QString& text, QString& error) {
  const QString& path = files_[static_cast<std::size_t>(id)];
  if (path.isEmpty()) {
    error = QStringLiteral("no log directory set");
    return false;
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
    error = file.errorString();
    return false;
  }
  const QByteArray bytes = (text + QStringLiteral("\r\n")).toLocal8Bit();
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    error = file.errorString();
    return false;
  }
  return true;
}

bool LogFileWriter::writeOne(const Line& line, QString& error) {
  if (needToWriteFirstLine(files_[static_cast<std::size_t>(line.id)]) &&
      !append(line.id, header_(line.id), error))
    return false;
  return append(line.id, line.text, error);
}

void LogFileWriter::writeLine(int id, const QString& line) {
  if (id < 0 || id >= static_cast<int>(kFiles)) return;
  waiting_.push_back({id, line});
  ++waitingPerFile_[static_cast<std::size_t>(id)];
  while (waiting_.size() > kMaxWaiting) {
    --waitingPerFile_[static_cast<std::size_t>(waiting_.front().id)];
    waiting_.pop_front();
    ++dropped_;
  }
  retry();
}

void LogFileWriter::retry() {
  // Lines of a file that fails wait behind each other; other files go on.
  std::set<int> failed;
  std::size_t filesWaiting = 0;
  for (std::size_t n : waitingPerFile_) filesWaiting += n > 0;
  QString failure;
  for (auto it = waiting_.begin(); it != waiting_.end() && failed.size() < filesWaiting;) {
    QString error;
    if (failed.count(it->id) == 0 && writeOne(*it, error)) {
      --waitingPerFile_[static_cast<std::size_t>(it->id)];
      it = waiting_.erase(it);
      continue;
    }
    if (failed.insert(it->id).second && failure.isEmpty())
      failure = QStringLiteral("Log file %1 cannot be written: %2")
                    .arg(files_[static_cast<std::size_t>(it->id)], error);
    ++it;
  }
  if (waiting_.empty()) {
    dropped_ = 0;
    setStatus({});
    return;
  }
  QString status = failure + QStringLiteral(" - %1 line(s) waiting").arg(waiting_.size());
  if (dropped_ > 0) status += QStringLiteral(", %1 oldest line(s) dropped").arg(dropped_);
  setStatus(status);
}

void LogFileWriter::setStatus(const QString& status) {
  if (status == status_) return;
  status_ = status;
  if (onStatusChanged) onStatusChanged(status_);
}

}  // namespace zelta
