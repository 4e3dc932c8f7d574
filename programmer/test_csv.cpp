#include "programmer/test_csv.h"

#include <QDir>
#include <QFile>

namespace zelta::programmer {

std::optional<QString> appendTestCsvLine(const QString& folder, const QStringList& fields) {
  QFile file(QDir(folder).filePath(kTestCsvName));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return file.errorString();
  const QByteArray line = (fields.join(QLatin1Char(';')) + QStringLiteral("\r\n")).toLocal8Bit();
  if (file.write(line) != line.size() || !file.flush()) return file.errorString();
  file.close();
  if (file.error() != QFileDevice::NoError) return file.errorString();
  return std::nullopt;
}

}  // namespace zelta::programmer
