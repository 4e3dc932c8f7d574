#include "log_follower.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>

namespace zelta::testing {
namespace {

const char* const kNames[LogFollower::kFiles] = {
    "ZELTA_Reader_Voltages.csv", "ZELTA_Reader_Temperatures.csv", "ZELTA_Reader_Impedances.csv",
    "ZELTA_Reader_Info.csv"};
constexpr int kShortPass = 5;

}  // namespace

LogFollower::LogFollower(const QString& dir, const QString& delimiter)
    : dir_(dir), delimiter_(delimiter) {}

int LogFollower::fileOf(ValueKind kind) {
  switch (kind) {
    case ValueKind::Voltage: return 0;
    case ValueKind::Temperature: return 1;
    case ValueKind::Impedance: return 2;
    default: return 3;
  }
}

QString LogFollower::header(int file) const {
  QStringList fields{"Timestamp"};
  if (file == 3) fields << "Name of Values";
  for (int n = 1; n <= kModuleCount; ++n) fields << QStringLiteral("Module(%1)").arg(n);
  return fields.join(delimiter_);
}

void LogFollower::close(Pass&& pass) {
  if (pass.count <= kShortPass) ++shortPasses_;
  expected_[fileOf(pass.kind)].push_back(std::move(pass));
}

void LogFollower::add(const std::vector<WireLedger::Value>& values) {
  for (const auto& v : values) {
    const auto slot = static_cast<std::size_t>(v.address - 1);
    if (!current_ || current_->kind != v.kind || !current_->texts[slot].isEmpty()) {
      if (current_) close(std::move(*current_));
      current_.emplace();
      current_->kind = v.kind;
    }
    current_->texts[slot] = v.text;
    ++current_->count;
  }
}

QString LogFollower::compare(const QString& line, const Pass& pass) const {
  static const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$");
  const QStringList fields = line.split(delimiter_);
  if (!stamp.match(fields[0]).hasMatch()) return "bad timestamp";
  int first = 1;
  if (fileOf(pass.kind) == 3) {
    if (fields.size() < 2 || fields[1] != kindNames(pass.kind).logName) return "wrong kind name";
    first = 2;
  }
  if (fields.size() - first > kModuleCount) return "too many fields";
  if (fields.size() > first && fields.last().isEmpty()) return "trailing delimiter";
  for (int n = 0; n < kModuleCount; ++n) {
    const qsizetype at = first + n;
    const QString shown = at < fields.size() ? fields[at] : QString();
    if (shown != pass.texts[static_cast<std::size_t>(n)])
      return QStringLiteral("module %1 logged '%2', expected '%3'")
          .arg(n + 1)
          .arg(shown, pass.texts[static_cast<std::size_t>(n)]);
  }
  return {};
}

void LogFollower::endPass() {
  if (current_) close(std::move(*current_));
  current_.reset();
}

QStringList LogFollower::check(bool final) {
  if (final) endPass();
  QStringList problems;
  const auto problem = [&](const QString& p) {
    if (problems.size() < 5) problems << p;
  };
  for (int i = 0; i < kFiles; ++i) {
    QFile file(QDir(dir_).filePath(kNames[i]));
    if (!file.exists() && expected_[i].empty()) continue;
    if (!file.open(QIODevice::ReadOnly)) {
      problem(QStringLiteral("%1: cannot read").arg(kNames[i]));
      continue;
    }
    file.seek(offset_[i]);
    const QByteArray grown = file.readAll();
    const qsizetype end = grown.lastIndexOf("\r\n");
    if (grown.size() != (end < 0 ? 0 : end + 2)) problem(QStringLiteral("%1: torn last line").arg(kNames[i]));
    if (end < 0) continue;
    const QList<QByteArray> lines = grown.left(end + 1).split('\n');
    for (const QByteArray& raw : lines) {
      if (!raw.endsWith('\r')) {
        problem(QStringLiteral("%1: line without CR LF").arg(kNames[i]));
        continue;
      }
      const QString line = QString::fromLatin1(raw.chopped(1));
      if (qEnvironmentVariableIsSet("SOAK_DUMP")) std::printf("READ %d %lld %s\n", i, offset_[i], qPrintable(line.left(40)));
      if (offset_[i] == 0 && &raw == &lines.front()) {
        if (line != header(i)) problem(QStringLiteral("%1: wrong header").arg(kNames[i]));
        continue;
      }
      if (expected_[i].empty()) {
        problem(QStringLiteral("%1: line of no pass: %2").arg(kNames[i], line.left(60)));
        continue;
      }
      const QString wrong = compare(line, expected_[i].front());
      if (!wrong.isEmpty())
        problem(QStringLiteral("%1 line %2: %3").arg(kNames[i]).arg(passesWritten_[i] + 1).arg(wrong));
      expected_[i].pop_front();
      ++passesWritten_[i];
    }
    offset_[i] += end + 2;
    if (!expected_[i].empty())
      problem(QStringLiteral("%1: %2 passes not written").arg(kNames[i]).arg(expected_[i].size()));
    expected_[i].clear();
  }
  return problems;
}

}  // namespace zelta::testing
