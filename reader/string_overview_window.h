// "String Overview": every module of the scan range in one sortable table
// (state, type and revisions, last values, bus counts, answer times), what
// was expected against what answered, types and revisions that differ
// within the string, each value kind's string statistics, and the outlier
// bands. Refreshes a few times a second while shown, and only when
// something changed; exports the table as CSV and sends picked modules to
// the trend plot.
#pragma once

#include <QWidget>
#include <cstdint>

#include "string_snapshot.h"

class QDoubleSpinBox;
class QLabel;
class QSortFilterProxyModel;
class QTableView;
class QTableWidget;

namespace zelta {

class OverviewModel;
class StringViews;
class IdleLineRefresh;

class StringOverviewWindow : public QWidget {
  Q_OBJECT
 public:
  explicit StringOverviewWindow(StringViews& views);

  // Rebuilds what is shown if anything changed since the last time.
  void refresh();
  // After the values were cleared: shows it without waiting a whole interval.
  void refreshSoon();

 signals:
  void closing();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QDoubleSpinBox* bandField(const char* name, double value, const QString& suffix);
  void bandsEdited();
  void showSnapshot(const StringSnapshot& snap);
  void showStatistics(const StringSnapshot& snap);
  void exportCsv();
  void sendToTrend();

  StringViews& views_;
  QLabel* found_;
  QLabel* mix_;
  QTableWidget* statistics_;
  QDoubleSpinBox* voltageBand_;
  QDoubleSpinBox* temperatureBand_;
  QDoubleSpinBox* impedanceBand_;
  OverviewModel* model_;
  QSortFilterProxyModel* sorted_;
  QTableView* table_;
  IdleLineRefresh* refresh_;
  struct Seen {
    std::uint64_t tally = ~0ull;
    std::uint64_t values = ~0ull;
    std::pair<int, int> range{0, 0};
    bool operator==(const Seen&) const = default;
  } seen_;
  qint64 lastFitMs_ = -1;
};

}  // namespace zelta
