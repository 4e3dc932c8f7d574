// Appends lines to the four log files, each line with its own open, append
// and close, CR LF at the end. A file that is missing or empty when a line
// goes to it (new, moved away or emptied meanwhile) gets its header line
// first. A line that cannot be written is kept (at most kMaxWaiting lines,
// the oldest dropped and counted) and written, in order, once its file can be
// written again; meanwhile status() names the file and the reason.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>

namespace zelta {

class LogFileWriter {
 public:
  static constexpr std::size_t kFiles = 4;
  static constexpr std::size_t kMaxWaiting = 10000;

  // header(id) gives the header line of file id, as it must be written now.
  explicit LogFileWriter(std::function<QString(int id)> header);

  void setFiles(const std::array<QString, kFiles>& paths);
  const std::array<QString, kFiles>& files() const { return files_; }

  void writeLine(int id, const QString& line);
  // Tries the waiting lines again.
  void retry();

  // Empty while everything is written.
  const QString& status() const { return status_; }
  std::size_t waiting() const { return waiting_.size(); }
  std::uint64_t dropped() const { return dropped_; }
  std::function<void(const QString&)> onStatusChanged;

  // True when the file must get a header line: missing or empty.
  static bool needToWriteFirstLine(const QString& path);

 private:
  struct Line {
    int id;
    QString text;
  };
  bool append(int id, const QString& text, QString& error);
  bool writeOne(const Line& line, QString& error);
  void setStatus(const QString& status);

  std::function<QString(int)> header_;
  std::array<QString, kFiles> files_;
  std::deque<Line> waiting_;
  std::array<std::size_t, kFiles> waitingPerFile_{};
  std::uint64_t dropped_ = 0;
  QString status_;
};

}  // namespace zelta
