// The enabled state of the main window's controls is its visible state: each
// state change switches a fixed list of controls on or off, named here as
// data. Controls a list does not name keep their state.
#pragma once

#include <span>

class QWidget;

namespace zelta {

enum class WindowChange {
  StartUp,
  Open,
  FailedOpen,
  Close,
  ScanModeSetUp,
  ManualModeSetUp,
  ScanStart,
  ScanStop,
};

struct EnabledEntry {
  const char* control;  // object name
  bool enabled;
};

std::span<const EnabledEntry> enabledTable(WindowChange change);

// Applies the table to the named controls below root.
void applyEnabledState(QWidget& root, WindowChange change);

}  // namespace zelta
