// Reads the Reader's four CSV log files as they grow and holds every line
// against the passes the wire carried. A pass is a run of accepted values of
// one kind in which each module appears once; it must become exactly one
// line of its file, complete (CR LF), with a timestamp, every value in its
// module's column and no trailing delimiter. Each file starts with its header.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <deque>
#include <optional>
#include <vector>

#include "wire_ledger.h"

namespace zelta::testing {

class LogFollower {
 public:
  static constexpr int kFiles = 4;

  LogFollower(const QString& dir, const QString& delimiter);

  // Accepted values in arrival order.
  void add(const std::vector<WireLedger::Value>& values);
  // The program ended the line under way (the scan stopped).
  void endPass();
  // Reads what the files gained since the last call. With final set the
  // pass under way counts as written too (the program has written it on
  // Stop or at its end). Returns the problems found, at most a few each call.
  QStringList check(bool final);

  qint64 passesWritten(int file) const { return passesWritten_[file]; }
  // Passes of at most a few values: a reply of the previous kind arriving
  // late, after the next pass had begun, splits that pass in two.
  qint64 shortPasses() const { return shortPasses_; }

 private:
  struct Pass {
    ValueKind kind;
    std::array<QString, kModuleCount> texts;
    int count = 0;
  };
  static int fileOf(ValueKind kind);
  QString header(int file) const;
  QString compare(const QString& line, const Pass& pass) const;
  void close(Pass&& pass);

  QString dir_;
  QString delimiter_;
  std::optional<Pass> current_;
  std::array<std::deque<Pass>, kFiles> expected_;
  std::array<qint64, kFiles> offset_{};
  std::array<qint64, kFiles> passesWritten_{};
  qint64 shortPasses_ = 0;
};

}  // namespace zelta::testing
