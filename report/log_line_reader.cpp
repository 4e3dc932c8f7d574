#include "log_line_reader.h"

#include <algorithm>
#include <cstring>

#include "timestamp.h"

namespace zelta::report {
namespace {

constexpr std::string_view kTimestamp = "Timestamp";
constexpr std::string_view kNameOfValues = "Name of Values";
constexpr std::string_view kFirstModule = "Module(1)";

}  // namespace

LogLineReader::LogLineReader(bool infoFile, std::string fallbackDelimiter,
                             std::size_t bufferBytes)
    : buffer_(std::max<std::size_t>(bufferBytes, 1)),
      fallback_(std::move(fallbackDelimiter)),
      delimiter_(fallback_.empty() ? ";" : fallback_),
      info_(infoFile) {}

LogLineReader::~LogLineReader() {
  if (file_) std::fclose(file_);
}

bool LogLineReader::open(const std::string& path, std::string& error) {
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

void LogLineReader::malformed(const std::string& reason) {
  if (onMalformed) onMalformed(lineNumber_, reason);
}

bool LogLineReader::readLine(std::string_view& line) {
  longLine_.clear();
  bool tooLong = false;
  for (;;) {
    if (begin_ == end_) {
      if (eof_ || !file_) break;
      end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
      begin_ = 0;
      bytesRead_ += end_;
      if (end_ == 0) {
        eof_ = true;
        break;
      }
    }
    const char* start = buffer_.data() + begin_;
    const auto* nl = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
    const std::size_t n = nl ? static_cast<std::size_t>(nl - start) : end_ - begin_;
    if (nl && longLine_.empty() && !tooLong) {
      line = std::string_view(start, n);
      begin_ += n + 1;
      ++lineNumber_;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      return true;
    }
    if (!tooLong && longLine_.size() + n <= kMaxLine)
      longLine_.append(start, n);
    else
      tooLong = true;
    begin_ += n + (nl ? 1 : 0);
    if (nl) break;
  }
  if (longLine_.empty() && !tooLong) return false;  // the end of the file
  ++lineNumber_;
  if (tooLong) {
    malformed("line longer than " + std::to_string(kMaxLine) + " characters");
    line = {};
    return true;
  }
  line = longLine_;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

bool LogLineReader::takeHeader(std::string_view line) {
  const bool quoted = !line.empty() && line.front() == '"';
  const std::size_t open = quoted ? 1 : 0;
  if (line.substr(open, kTimestamp.size()) != kTimestamp) return false;
  std::size_t after = open + kTimestamp.size();
  if (quoted) {
    if (after >= line.size() || line[after] != '"') return false;
    ++after;
  }
  const std::string_view rest = line.substr(after);
  const std::size_t names = rest.find(kNameOfValues);
  const std::size_t first = rest.find(kFirstModule);
  const bool info =
      names != std::string_view::npos && (first == std::string_view::npos || names < first);
  std::size_t delimiterEnd = info ? names : first;
  if (delimiterEnd == std::string_view::npos || delimiterEnd == 0) {
    malformed("a header line without module columns");
    return true;
  }
  if (rest[delimiterEnd - 1] == '"') --delimiterEnd;
  delimiter_ = std::string(rest.substr(0, delimiterEnd));
  info_ = info;
  std::string reason;
  if (!split(line, reason)) {
    malformed(reason);
    return true;
  }
  headerModules_ = static_cast<int>(fields_.size()) - (info_ ? 2 : 1);
  return true;
}

bool LogLineReader::split(std::string_view line, std::string& reason) {
  fields_.clear();
  unquoted_.clear();
  // Unquoted text is kept in one string whose size is known up front, so
  // views into it stay valid.
  unquoted_.reserve(line.size());
  const std::string_view d = delimiter_;
  std::size_t at = 0;
  for (;;) {
    if (at < line.size() && line[at] == '"') {
      const std::size_t from = unquoted_.size();
      std::size_t i = at + 1;
      for (;;) {
        if (i >= line.size()) {
          reason = "a quote that is not closed";
          return false;
        }
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            unquoted_.push_back('"');
            i += 2;
            continue;
          }
          break;
        }
        unquoted_.push_back(line[i++]);
      }
      fields_.push_back(std::string_view(unquoted_).substr(from));
      at = i + 1;
      if (at == line.size()) return true;
      if (line.substr(at, d.size()) != d) {
        reason = "text after a closing quote";
        return false;
      }
      at += d.size();
      continue;
    }
    std::size_t next = std::string_view::npos;
    if (d.size() == 1) {
      // Fields are short: a plain loop beats a library call per field.
      for (std::size_t i = at; i < line.size(); ++i)
        if (line[i] == d[0]) {
          next = i;
          break;
        }
    } else {
      next = line.find(d, at);
    }
    if (next == std::string_view::npos) {
      fields_.push_back(line.substr(at));
      return true;
    }
    fields_.push_back(line.substr(at, next - at));
    at = next + d.size();
  }
}

bool LogLineReader::next(LogRecord& record) {
  std::string_view line;
  while (readLine(line)) {
    if (line.empty()) continue;
    if (takeHeader(line)) continue;
    std::string reason;
    if (!split(line, reason)) {
      malformed(reason);
      continue;
    }
    const auto time = parseTimestamp(fields_[0]);
    if (!time) {
      malformed("no timestamp \"yyyy-MM-dd hh:mm:ss\" at the start");
      continue;
    }
    const std::size_t lead = info_ ? 2 : 1;
    if (fields_.size() < lead) {
      malformed("no name of values");
      continue;
    }
    const std::size_t count = fields_.size() - lead;
    const int allowed = headerModules_ > 0 ? headerModules_ : kMaxModules;
    if (count > static_cast<std::size_t>(allowed)) {
      malformed(std::to_string(count) + " module fields where the header has " +
                std::to_string(headerModules_));
      continue;
    }
    record.lineNumber = lineNumber_;
    record.time = *time;
    record.name = info_ ? fields_[1] : std::string_view();
    record.modules.assign(fields_.begin() + static_cast<std::ptrdiff_t>(lead), fields_.end());
    return true;
  }
  return false;
}

}  // namespace zelta::report
