#include "eliding_label.h"

#include <QPainter>
#include <QStyle>

namespace zelta {

ElidingLabel::ElidingLabel(const QString& name, QWidget* parent) : QLabel(parent) {
  setObjectName(name);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidingLabel::setFullText(const QString& text) {
  setText(text);
  setToolTip(text);
}

QSize ElidingLabel::minimumSizeHint() const {
  return {fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height()};
}

void ElidingLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect room = contentsRect();
  const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width());
  style()->drawItemText(&painter, room, static_cast<int>(alignment()), palette(), isEnabled(),
                        shown, foregroundRole());
}

}  // namespace zelta
