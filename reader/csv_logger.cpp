#include "csv_logger.h"

#include <QDir>

#include "csv_text.h"

namespace zelta {
namespace {

const char* const kFileNames[4] = {"ZELTA_Reader_Voltages.csv", "ZELTA_Reader_Temperatures.csv",
                                   "ZELTA_Reader_Impedances.csv", "ZELTA_Reader_Info.csv"};

}  // namespace

CsvLogger::CsvLogger(std::function<QDateTime()> now)
    : now_(std::move(now)), writer_([this](int id) { return header(id); }) {}

int CsvLogger::logIdOf(const QString& name) {
  if (name == QLatin1String("Voltage")) return 0;
  if (name == QLatin1String("Temperature")) return 1;
  if (name == QLatin1String("Impedance")) return 2;
  if (name == QLatin1String("HW") || name == QLatin1String("SW") ||
      name == QLatin1String("Modultyp"))
    return kInfoFile;
  return -1;
}

QString CsvLogger::setLogFiles(const QString& directory) {
  // Trailing backslashes, then slashes, are dropped, whichever platform wrote them.
  QString d = csv::removeLastChars(QStringLiteral("\\"), QDir::toNativeSeparators(directory));
  d = csv::removeLastChars(QStringLiteral("/"), d);
  std::array<QString, 4> files;
  for (std::size_t i = 0; i < files.size(); ++i)
    files[i] = d + QDir::separator() + QString::fromLatin1(kFileNames[i]);
  writer_.setFiles(files);
  return d;
}

QString CsvLogger::fieldDelimiter() const {
  return delimiter_.isEmpty() ? QStringLiteral(";") : delimiter_;
}

void CsvLogger::setLoggingActive(bool on) {
  if (active_ && !on) flushPendingLine();
  active_ = on;
}

QString CsvLogger::header(int id) const {
  return csv::headerLine(id == kInfoFile, kModuleCount, fieldDelimiter());
}

void CsvLogger::logValue(const QString& name, const QString& value, int address) {
  if (!active_) return;
  const int id = logIdOf(name);
  if (id < 0 || address < 1 || address > kModuleCount) return;
  const auto slot = static_cast<std::size_t>(id == kInfoFile ? address + 1 : address);

  if (!(slots_[slot].isEmpty() && name == lineName_)) {
    // A new line begins: another kind, or this module answered twice.
    if (!(slots_[slot].isEmpty() && lineName_.isEmpty())) writeValueLine(lineLogId_);
    clearValueLine();
    slots_[0] = now_().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    lineName_ = name;
    if (id == kInfoFile) slots_[1] = name;
    lineLogId_ = id;
  }
  slots_[slot] = value;
}

void CsvLogger::flushPendingLine() {
  if (lineName_.isEmpty()) return;
  writeValueLine(lineLogId_);
  clearValueLine();
  lineName_.clear();
}

void CsvLogger::writeValueLine(int id) {
  // As many fields as the file's header has.
  const int fields = id == kInfoFile ? kSlots : kSlots - 1;
  QStringList line;
  line.reserve(fields);
  for (int i = 0; i < fields; ++i) line << slots_[static_cast<std::size_t>(i)];
  writer_.writeLine(id, csv::joinLine(line, fieldDelimiter()));
}

void CsvLogger::clearValueLine() {
  for (QString& s : slots_) s.clear();
}

}  // namespace zelta
