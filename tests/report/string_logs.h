// A string of blocks logged through the Reader's own CSV writer, pass by
// pass, with values a test chooses, so that the report reads exactly what the
// Reader writes.
#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace zelta::testing {

struct StringLogs {
  int blocks = 24;
  int passes = 40;  // voltage, temperature and impedance passes each
  QString delimiter = ";";
  // Value of a block at a pass; nullopt: the block did not answer.
  std::function<std::optional<double>(int block, int pass)> volts = [](int, int) { return 13.2; };
  std::function<std::optional<double>(int block, int pass)> celsius = [](int, int) { return 23.0; };
  std::function<std::optional<double>(int block, int pass)> milliohm = [](int, int) { return 3.5; };
  std::function<QString(int block)> software = [](int) { return QStringLiteral("2.10.3"); };

  // Writes the four files into dir, one pass a minute from 2024-05-17 08:00.
  void write(const QString& dir) const;
};

}  // namespace zelta::testing
