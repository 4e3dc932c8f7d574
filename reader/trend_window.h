// "Trend": a live chart of the string's minimum, mean and maximum per pass
// for voltage, temperature or impedance, with the values of the modules
// picked in the overview. Zoom and pan (TrendChartView); while zoomed or
// panned the view stays where the user put it, "Reset Zoom" follows the data
// again. Saves the chart as a PNG picture. Redraws at most twice a second
// while shown, and only when there is something new.
#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

class QChart;
class QComboBox;
class QLineSeries;
class QValueAxis;

namespace zelta {

class StringViews;
class IdleLineRefresh;
class TrendChartView;

class TrendWindow : public QWidget {
  Q_OBJECT
 public:
  explicit TrendWindow(StringViews& views);

  void refresh();
  QChart* chart() const { return chart_; }
  // The user has zoomed or panned since the last reset.
  bool zoomed() const { return zoomed_; }

 signals:
  void closing();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void redraw();
  void fitAxes();
  void resetZoom();
  void savePng();
  QLineSeries* addSeries(const QString& name);

  StringViews& views_;
  QComboBox* kind_;
  TrendChartView* view_;
  QChart* chart_;
  QValueAxis* x_;
  QValueAxis* y_;
  std::vector<QLineSeries*> series_;  // minimum, mean, maximum, then the picked modules
  IdleLineRefresh* refresh_;
  std::uint64_t seenVersion_ = ~0ull;
  int seenKind_ = -1;
  bool zoomed_ = false;
  bool settingAxes_ = false;
};

}  // namespace zelta
