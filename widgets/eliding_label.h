// A one-line label for texts that hold long paths. It never makes its window
// wider: a text too long for the label's width is drawn shortened in the
// middle ("/dev/serial/by-id/usb-FT...-if00-port0"), while text() and the
// tooltip keep it whole.
#pragma once

#include <QLabel>

namespace zelta {

class ElidingLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ElidingLabel(const QString& name, QWidget* parent = nullptr);

  // The text, also as the tooltip.
  void setFullText(const QString& text);
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace zelta
