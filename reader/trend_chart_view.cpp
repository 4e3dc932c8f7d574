#include "trend_chart_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace zelta {
namespace {

constexpr qreal kZoomStep = 1.25;
constexpr qreal kPanShare = 0.1;  // of the plot area per arrow key

}  // namespace

void TrendChartView::wheelEvent(QWheelEvent* event) {
  if (event->angleDelta().y() == 0) return QChartView::wheelEvent(event);
  chart()->zoom(event->angleDelta().y() > 0 ? kZoomStep : 1 / kZoomStep);
  event->accept();
}

void TrendChartView::keyPressEvent(QKeyEvent* event) {
  const QRectF area = chart()->plotArea();
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      chart()->zoom(kZoomStep);
      break;
    case Qt::Key_Minus:
      chart()->zoom(1 / kZoomStep);
      break;
    case Qt::Key_Left:
      chart()->scroll(-area.width() * kPanShare, 0);
      break;
    case Qt::Key_Right:
      chart()->scroll(area.width() * kPanShare, 0);
      break;
    case Qt::Key_Up:
      chart()->scroll(0, area.height() * kPanShare);
      break;
    case Qt::Key_Down:
      chart()->scroll(0, -area.height() * kPanShare);
      break;
    default:
      return QChartView::keyPressEvent(event);
  }
  event->accept();
}

void TrendChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::MiddleButton) return QChartView::mousePressEvent(event);
  panning_ = true;
  lastPan_ = event->position().toPoint();
  event->accept();
}

void TrendChartView::mouseMoveEvent(QMouseEvent* event) {
  if (!panning_) return QChartView::mouseMoveEvent(event);
  const QPoint now = event->position().toPoint();
  const QPoint moved = now - lastPan_;
  chart()->scroll(-moved.x(), moved.y());
  lastPan_ = now;
  event->accept();
}

void TrendChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::MiddleButton || !panning_) return QChartView::mouseReleaseEvent(event);
  panning_ = false;
  event->accept();
}

}  // namespace zelta
