// Streams one of the Reader's log files line by line through a fixed buffer,
// so memory stays flat however long the file is. Each header line names the
// delimiter and the columns that follow (files appended by several runs and
// older versions may hold more than one); each value line comes back as its
// timestamp, its kind name (info file) and its module fields, quotes removed.
// A line that cannot be read is reported with its line number and skipped.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zelta::report {

struct LogRecord {
  std::uint64_t lineNumber = 0;
  std::int64_t time = 0;                  // seconds, see timestamp.h
  std::string_view name;                  // "Name of Values" of the info file, else empty
  std::vector<std::string_view> modules;  // [0] is module 1; empty: no value
};

class LogLineReader {
 public:
  // How lines before any header line are read (a header names its own
  // delimiter and layout): the info file's layout has "Name of Values".
  // bufferBytes: how much of the file is read at a time.
  explicit LogLineReader(bool infoFile = false, std::string fallbackDelimiter = ";",
                         std::size_t bufferBytes = 1 << 20);
  ~LogLineReader();
  LogLineReader(const LogLineReader&) = delete;
  LogLineReader& operator=(const LogLineReader&) = delete;

  bool open(const std::string& path, std::string& error);
  // The next value line; false at the end of the file. The record's views
  // stay valid until the next call.
  bool next(LogRecord& record);

  // Called for each skipped line with its number and the reason.
  std::function<void(std::uint64_t line, const std::string& reason)> onMalformed;

  bool infoLayout() const { return info_; }
  int headerModules() const { return headerModules_; }
  const std::string& delimiter() const { return delimiter_; }
  std::uint64_t linesRead() const { return lineNumber_; }
  std::uint64_t bytesRead() const { return bytesRead_; }

  // Longest line taken; longer lines are reported and skipped.
  static constexpr std::size_t kMaxLine = 1 << 16;
  // Module fields a line may have before any header line.
  static constexpr int kMaxModules = 340;

 private:
  bool readLine(std::string_view& line);
  bool takeHeader(std::string_view line);
  bool split(std::string_view line, std::string& reason);
  void malformed(const std::string& reason);

  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  std::size_t begin_ = 0, end_ = 0;
  bool eof_ = false;
  std::string longLine_;  // a line that crosses the end of the buffer
  std::string unquoted_;  // storage of fields that had quotes
  std::vector<std::string_view> fields_;

  std::string fallback_;
  std::string delimiter_;
  bool info_ = false;
  int headerModules_ = 0;
  std::uint64_t lineNumber_ = 0;
  std::uint64_t bytesRead_ = 0;
};

}  // namespace zelta::report
