// The trend's chart view with zoom and pan by mouse and keyboard: drag a
// rectangle to zoom into it, right click or "-" to zoom out, the wheel or
// "+" and "-" to zoom around the middle, the middle button or the arrow keys
// to pan.
#pragma once

#include <QChartView>
#include <QPoint>

namespace zelta {

class TrendChartView : public QChartView {
  Q_OBJECT
 public:
  using QChartView::QChartView;

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool panning_ = false;
  QPoint lastPan_;
};

}  // namespace zelta
