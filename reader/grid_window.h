// One value grid window: 340 cells in 17 columns of 20 (module 1 top left,
// module 340 bottom right), block labels, the reply lamp "Active" and the
// buttons "Quit" and "More Values". It opens narrow, showing modules 1 to 100.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "value_kind.h"

class QLineEdit;
class QPushButton;

namespace zelta {

class Clock;
class FlashLamp;

class GridWindow : public QWidget {
  Q_OBJECT
 public:
  GridWindow(ValueKind kind, Clock& clock);
  ~GridWindow() override;

  ValueKind kind() const { return kind_; }
  QLineEdit* cell(int index) const { return cells_.at(static_cast<std::size_t>(index)); }
  void setCell(int index, const QString& text);
  // Lights the lamp for one reply.
  void blink();
  // Scan Mode: cells enabled on the window colour; Manual Mode: disabled on
  // light grey.
  void setScanLook(bool scan);

  // Where a cell sits, in pixels of the window's client area.
  static QRect cellGeometry(int index);

 signals:
  void closing();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void moreValues();

  ValueKind kind_;
  std::array<QLineEdit*, kModuleCount> cells_{};
  QPushButton* more_ = nullptr;
  std::unique_ptr<FlashLamp> lamp_;
};

}  // namespace zelta
