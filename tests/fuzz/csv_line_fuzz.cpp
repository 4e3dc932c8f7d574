// Throws arbitrary field texts and one-character delimiters at the CSV line
// assembly of the Reader's log. Promises checked: a joined line read back by a
// CSV reader that honours quotes gives the original fields, less the empty
// ones at the end; removing a trailing run never grows a text and leaves a
// prefix of it that does not end in that character.
//
// Input: two bytes give the delimiter (one UTF-16 unit), the rest is UTF-16
// text in which the unit 0xFFFF separates the fields.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

#include "reader/csv_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// RFC 4180 reading of one line: a field that starts with a quote runs to the
// closing quote, a doubled quote inside standing for one. Anything else after
// a closing quote than the delimiter or the end of the line is an error.
bool readLine(const QString& line, QChar delimiter, QStringList& fields) {
  fields.clear();
  qsizetype i = 0;
  while (true) {
    QString field;
    if (i < line.size() && line[i] == QLatin1Char('"')) {
      ++i;
      while (true) {
        if (i >= line.size()) return false;  // no closing quote
        if (line[i] == QLatin1Char('"')) {
          if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
            field += QLatin1Char('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += line[i++];
      }
      if (i < line.size() && line[i] != delimiter) return false;
    } else {
      while (i < line.size() && line[i] != delimiter) {
        if (line[i] == QLatin1Char('"')) return false;  // a bare quote was not escaped
        field += line[i++];
      }
    }
    fields << field;
    if (i >= line.size()) return true;
    ++i;  // the delimiter
  }
}

void dropTrailingEmpty(QStringList& fields) {
  while (!fields.isEmpty() && fields.last().isEmpty()) fields.removeLast();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const QChar delimiter(static_cast<char16_t>(data[0] | data[1] << 8));
  QString text;
  for (std::size_t i = 2; i + 1 < size; i += 2)
    text += QChar(static_cast<char16_t>(data[i] | data[i + 1] << 8));

  const QString delimiterText(delimiter);
  for (const QString& s : {text, QString(text).remove(QChar(0xFFFF))}) {
    const QString cut = zelta::csv::removeLastChars(delimiterText, s);
    check(cut.size() <= s.size() && s.startsWith(cut));
    check(cut.isEmpty() || cut.back() != delimiter);
    check(s.mid(cut.size()).count(delimiter) == s.size() - cut.size());
    // Two characters remove nothing.
    check(zelta::csv::removeLastChars(delimiterText + delimiterText, s) == s);
  }

  if (delimiter == QLatin1Char('"')) return 0;
  QStringList fields = text.split(QChar(0xFFFF));
  const QString line = zelta::csv::joinLine(fields, delimiterText);
  QStringList back;
  check(readLine(line, delimiter, back));
  dropTrailingEmpty(fields);
  dropTrailingEmpty(back);
  check(back == fields);
  return 0;
}
