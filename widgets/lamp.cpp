#include "lamp.h"

#include <QPainter>

namespace zelta {

Lamp::Lamp(const QString& name, std::uint32_t bgr, QWidget* parent) : QWidget(parent), bgr_(bgr) {
  setObjectName(name);
  setMinimumSize(12, 12);
}

void Lamp::setColour(std::uint32_t bgr) {
  if (bgr == bgr_) return;
  bgr_ = bgr;
  update();
}

void Lamp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::black);
  p.setBrush(QColor(bgr_ & 0xFF, (bgr_ >> 8) & 0xFF, (bgr_ >> 16) & 0xFF));
  const int side = qMin(width(), height()) - 2;
  p.drawEllipse(QRect((width() - side) / 2, (height() - side) / 2, side, side));
}

}  // namespace zelta
