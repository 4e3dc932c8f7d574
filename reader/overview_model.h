// The rows of the string overview as a table model: one row per module with
// its state, type and revisions, last values and bus counts. Every cell has
// its text, a sort key (numbers sort as numbers, empty cells last) and, for
// outliers, modules that never answered or answered from outside the range,
// missing answers and CRC errors, and odd types or revisions, a background
// colour.
#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <vector>

#include "string_snapshot.h"

namespace zelta {

class OverviewModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column {
    Address,
    State,
    Type,
    Hardware,
    Software,
    Voltage,
    Temperature,
    Impedance,
    Requests,
    Answers,
    Missing,
    CrcErrors,
    AnswerTime,
    MeanAnswerTime,
    LastAnswer,
    ColumnCount
  };
  static constexpr int kSortRole = Qt::UserRole;

  // timeText: a clock time as the user reads it.
  explicit OverviewModel(std::function<QString(qint64)> timeText, QObject* parent = nullptr);

  void setRows(std::vector<OverviewRow> rows);
  int addressAt(int row) const { return rows_.at(static_cast<std::size_t>(row)).address; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString text(const OverviewRow& r, int column) const;
  QVariant sortKey(const OverviewRow& r, int column) const;
  QVariant background(const OverviewRow& r, int column) const;

  std::function<QString(qint64)> timeText_;
  std::vector<OverviewRow> rows_;
};

}  // namespace zelta
