#include "widgets/held_label.h"

#include <QImage>
#include <QLabel>
#include <algorithm>

namespace zelta {
namespace {

int textWidth(const QLabel& label, const QString& text) {
  const int frameAndMargin = 2 * (label.frameWidth() + label.margin());
  return label.fontMetrics().horizontalAdvance(text) + frameAndMargin;
}

// Fills the label with the colour its parent draws behind it, so that it looks
// as before but is opaque: a new text then repaints the label alone, not the
// frame and window behind it as well.
void makeOpaque(QLabel& label) {
  QWidget* parent = label.parentWidget();
  if (!parent) return;
  QImage behind(label.size(), QImage::Format_ARGB32_Premultiplied);
  behind.fill(Qt::transparent);
  parent->render(&behind, QPoint(), QRegion(label.geometry()), QWidget::DrawWindowBackground);
  QPalette palette = label.palette();
  palette.setColor(label.backgroundRole(), behind.pixelColor(0, 0));
  label.setPalette(palette);
  label.setAutoFillBackground(true);
}

}  // namespace

void holdLabelSize(QLabel& label, const QString& widestUsualText) {
  label.setFixedSize(std::max(textWidth(label, widestUsualText), label.sizeHint().width()),
                     label.sizeHint().height());
}

void setHeldLabelText(QLabel& label, const QString& text) {
  if (text == label.text()) return;
  if (!label.autoFillBackground() && label.isVisible()) makeOpaque(label);
  if (const int needed = textWidth(label, text); needed > label.minimumWidth())
    label.setFixedWidth(needed);
  label.setText(text);
}

}  // namespace zelta
