// The six value grid windows: loaded on first use (a menu click, or a reply
// of their kind, which loads them hidden), refilled from the value tables
// when opened from the menu, following the reader's mode in their look,
// unloaded with the main window.
#pragma once

#include <array>
#include <memory>

#include "grid_window.h"
#include "window_slot.h"

namespace zelta {

class Clock;
class ValueStore;

class GridWindows {
 public:
  GridWindows(Clock& clock, const ValueStore& store);

  GridWindow& ensure(ValueKind kind);
  GridWindow* find(ValueKind kind) const;

  // Refill every cell from the table in general form, then show and raise.
  void openFromMenu(ValueKind kind);
  // Every cell enabled on the window colour (Scan Mode) or disabled on light
  // grey (Manual Mode).
  void setScanLook(bool scan);
  // Every cell empty.
  void clearAll();
  // Outlier colours of a kind's cells, kept for windows loaded later.
  void setDeviations(ValueKind kind, const std::array<Deviation, kModuleCount>& deviations);
  void unload(ValueKind kind);

 private:
  WindowSlot<GridWindow>& slot(ValueKind kind) const;

  void applyDeviations(GridWindow& w) const;

  bool scanLook_ = true;
  std::array<std::array<Deviation, kModuleCount>, kAllKinds.size()> deviations_{};
  std::array<std::unique_ptr<WindowSlot<GridWindow>>, kAllKinds.size()> slots_;
  const ValueStore& store_;
};

}  // namespace zelta
