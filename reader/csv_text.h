// Text helpers of the CSV log: the header line, quoting, joining a line and
// cutting the delimiters off its end.
#pragma once

#include <QString>
#include <QStringList>

namespace zelta::csv {

// s without the run of c at its end. c is compared as a whole against single
// characters, so a delimiter of two or more characters removes nothing.
QString removeLastChars(const QString& c, const QString& s);

// A field holding the delimiter or a quote is put in quotes, its quotes
// doubled, so that it stays one column.
QString quoteField(const QString& field, const QString& delimiter);

// Fields quoted as needed, joined, trailing delimiters removed.
QString joinLine(const QStringList& fields, const QString& delimiter);

// "Timestamp", for the info file "Name of Values", then Module(1) to
// Module(modules).
QString headerLine(bool infoFile, int modules, const QString& delimiter);

}  // namespace zelta::csv
