// Writes scanned values to four CSV files in the log directory, one line per
// scan pass and kind: voltages, temperatures, impedances, and the info file
// for hardware, software and module type. Values of one pass gather in the
// line being assembled; the line is written when the next pass begins, or
// when flushPendingLine() is called (the scan ended and its last request
// settled, program end). Nothing is written unless logging is active.
#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <functional>

#include "log_file_writer.h"
#include "value_kind.h"

namespace zelta {

class CsvLogger {
 public:
  static constexpr int kInfoFile = 3;
  // Slot 0 timestamp; slot n module n (info file: slot 1 kind, slot n + 1).
  static constexpr int kSlots = kModuleCount + 2;

  explicit CsvLogger(std::function<QDateTime()> now = &QDateTime::currentDateTime);

  // Returns the directory without trailing separators and names the four
  // files in it, with the platform's separator.
  QString setLogFiles(const QString& directory);
  const std::array<QString, 4>& logFiles() const { return writer_.files(); }
  QString logDir() const { return logDir_; }
  void setLogDir(const QString& dir) { logDir_ = dir; }

  // As set; empty (at program start) writes with ";".
  void setDelimiter(const QString& delimiter) { delimiter_ = delimiter; }
  const QString& delimiter() const { return delimiter_; }

  // Turning logging off writes the line being assembled first.
  void setLoggingActive(bool on);
  bool loggingActive() const { return active_; }

  // One value of a scan: kind name as the reply handlers give it, the text
  // to write, the module address 1 to 340 (others are ignored).
  void logValue(const QString& name, const QString& value, int address);
  void flushPendingLine();

  LogFileWriter& writer() { return writer_; }

  static int logIdOf(const QString& name);  // -1 for an unknown kind name

 private:
  QString fieldDelimiter() const;
  QString header(int id) const;
  void writeValueLine(int id);
  void clearValueLine();

  std::function<QDateTime()> now_;
  LogFileWriter writer_;
  QString logDir_;
  QString delimiter_;
  bool active_ = false;

  std::array<QString, kSlots> slots_;
  QString lineName_;
  int lineLogId_ = 0;
};

}  // namespace zelta
