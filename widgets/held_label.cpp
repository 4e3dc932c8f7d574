#include "widgets/held_label.h"

#include <QLabel>
#include <algorithm>

namespace zelta {
namespace {

int textWidth(const QLabel& label, const QString& text) {
  const int frameAndMargin = 2 * (label.frameWidth() + label.margin());
  return label.fontMetrics().horizontalAdvance(text) + frameAndMargin;
}

}  // namespace

void holdLabelSize(QLabel& label, const QString& widestUsualText) {
  label.setFixedSize(std::max(textWidth(label, widestUsualText), label.sizeHint().width()),
                     label.sizeHint().height());
}

void setHeldLabelText(QLabel& label, const QString& text) {
  if (text == label.text()) return;
  if (const int needed = textWidth(label, text); needed > label.minimumWidth())
    label.setFixedWidth(needed);
  label.setText(text);
}

}  // namespace zelta
