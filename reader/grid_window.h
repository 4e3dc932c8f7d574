// One value grid window: 340 cells in 17 columns of 20 (module 1 top left,
// module 340 bottom right), block labels, the reply lamp "Active" and the
// buttons "Quit" and "More Values". It opens narrow, showing modules 1 to 100.
// The cells show values only: they cannot be edited. On a screen too small
// for the window the cells scroll and the row of buttons stays in view.
// The cells are kept as texts while the window has never been shown and
// become fields when it first is, so that six hidden windows cost little
// time and memory at start-up.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "outlier_bands.h"
#include "value_kind.h"

class QLineEdit;
class QPushButton;
class QScrollArea;

namespace zelta {

class Clock;
class FlashLamp;

class GridWindow : public QWidget {
  Q_OBJECT
 public:
  GridWindow(ValueKind kind, Clock& clock);
  ~GridWindow() override;

  ValueKind kind() const { return kind_; }
  const QString& cellText(int index) const { return texts_.at(static_cast<std::size_t>(index)); }
  void setCell(int index, const QString& text);
  // The cell's edit field (built now if the window has not been shown yet).
  QLineEdit* cell(int index);
  // Lights the lamp for one reply.
  void blink();
  // Scan Mode: cells enabled on the window colour; Manual Mode: disabled on
  // light grey.
  void setScanLook(bool scan);
  // An outlier's cell takes its colour in Scan Mode; Manual Mode greys every
  // cell alike, and the colours come back with Scan Mode.
  void setDeviation(int index, Deviation deviation);
  Deviation deviation(int index) const { return deviations_.at(static_cast<std::size_t>(index)); }

  // Where a cell sits, in pixels of the window's client area.
  static QRect cellGeometry(int index);

 signals:
  void closing();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void moreValues();
  // The window at the given width of the cell area, cut to the screen.
  void fitWidth(int cellsWidth);
  void buildCells();
  void applyLook(int index) const;

  ValueKind kind_;
  bool scanLook_ = true;
  bool built_ = false;
  std::array<QString, kModuleCount> texts_;
  std::array<QLineEdit*, kModuleCount> cells_{};
  QScrollArea* scroll_ = nullptr;
  QWidget* canvas_ = nullptr;  // the cells and their block labels
  std::array<Deviation, kModuleCount> deviations_{};
  QPushButton* more_ = nullptr;
  std::unique_ptr<FlashLamp> lamp_;
};

}  // namespace zelta
