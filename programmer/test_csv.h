// "test.csv": one line per saved reading, appended in a given folder, fields
// separated by ";" and never quoted, each line ended by CR LF, in the
// system's 8-bit encoding. A failure is reported with its reason, never
// passed over.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zelta::programmer {

inline const QString kTestCsvName = QStringLiteral("test.csv");

// Appends the line; returns the reason when the file could not be opened or
// written, nothing on success.
std::optional<QString> appendTestCsvLine(const QString& folder, const QStringList& fields);

}  // namespace zelta::programmer
