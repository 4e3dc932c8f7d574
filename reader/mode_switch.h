// "Scan Mode" and "Manual Mode": each set-up switches the controls, the look
// of the grid cells and the "Module Values" window. Choosing Manual Mode
// stops a running scan.
#pragma once

#include <QObject>

#include "window_slot.h"

class QWidget;

namespace zelta {

class GridWindows;
class ModuleValuesWindow;
class ScanEngine;
struct ReaderControls;
struct ReaderState;

class ModeSwitch : public QObject {
  Q_OBJECT
 public:
  ModeSwitch(ReaderState& state, const ReaderControls& controls, QWidget& form1, ScanEngine& engine,
             GridWindows& grids, WindowSlot<ModuleValuesWindow>& moduleValues);

  void scanModeSetUp();
  void manualModeSetUp();

 private:
  ReaderState& state_;
  const ReaderControls& c_;
  QWidget& form1_;
  ScanEngine& engine_;
  GridWindows& grids_;
  WindowSlot<ModuleValuesWindow>& moduleValues_;
};

// Shows "Module Values" with its six fields empty.
void module_values(WindowSlot<ModuleValuesWindow>& slot);

}  // namespace zelta
