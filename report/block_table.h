// The per-block table of a report, one row per block found: the same columns
// in the PDF, the CSV and the JSON summary. A cell is a number (shown with
// its column's decimals), a text, or empty.
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

#include "flags.h"

namespace zelta::report {

class StringAnalysis;

struct TableColumn {
  const char* key;    // CSV and JSON name
  const char* title;  // PDF heading
  int decimals;       // for numbers; -1: a text column
};

const std::vector<TableColumn>& tableColumns();

struct BlockRow {
  int block = 0;
  std::vector<QVariant> cells;  // in the order of tableColumns()
};

std::vector<BlockRow> blockRows(const StringAnalysis& analysis, const std::vector<Flag>& flags);

// A cell as text: numbers with the column's decimals, empty for no value.
QString cellText(const QVariant& cell, const TableColumn& column);

}  // namespace zelta::report
