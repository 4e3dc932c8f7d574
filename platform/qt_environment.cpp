#include "qt_environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace zelta {

QtEnvironment::QtEnvironment() : QtEnvironment(QCoreApplication::arguments()) {}

QtEnvironment::QtEnvironment(QStringList arguments) : arguments_(std::move(arguments)) {}

QString QtEnvironment::homeDir() const { return QDir::toNativeSeparators(QDir::homePath()); }

QString QtEnvironment::documentsDir() const {
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) documents = QDir(QDir::homePath()).filePath(QStringLiteral("Documents"));
  return QDir::toNativeSeparators(documents);
}

QString QtEnvironment::currentDir() const { return QDir::toNativeSeparators(QDir::currentPath()); }

QString QtEnvironment::argumentString() const {
  return arguments_.mid(1).join(QLatin1Char(' '));
}

}  // namespace zelta
