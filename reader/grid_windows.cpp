#include "grid_windows.h"

#include "value_store.h"

namespace zelta {

GridWindows::GridWindows(Clock& clock, const ValueStore& store) : store_(store) {
  for (ValueKind kind : kAllKinds) {
    slots_[static_cast<std::size_t>(kind)] =
        std::make_unique<WindowSlot<GridWindow>>([this, kind, &clock] {
          auto* w = new GridWindow(kind, clock);
          w->setScanLook(scanLook_);
          applyDeviations(*w);
          return w;
        });
  }
}

WindowSlot<GridWindow>& GridWindows::slot(ValueKind kind) const {
  return *slots_[static_cast<std::size_t>(kind)];
}

GridWindow& GridWindows::ensure(ValueKind kind) { return slot(kind).ensure(); }

GridWindow* GridWindows::find(ValueKind kind) const { return slot(kind).get(); }

void GridWindows::openFromMenu(ValueKind kind) {
  GridWindow& w = ensure(kind);
  for (int i = 0; i < kModuleCount; ++i) w.setCell(i, generalForm(store_.at(kind, i)));
  w.show();
  w.raise();
  w.activateWindow();
}

// A window that is not loaded yet takes the look and the table contents when
// it is, so neither needs to load it.
void GridWindows::setScanLook(bool scan) {
  scanLook_ = scan;
  for (ValueKind kind : kAllKinds)
    if (GridWindow* w = find(kind)) w->setScanLook(scan);
}

void GridWindows::clearAll() {
  for (ValueKind kind : kAllKinds)
    if (GridWindow* w = find(kind))
      for (int i = 0; i < kModuleCount; ++i) w->setCell(i, QString());
}

void GridWindows::setDeviations(ValueKind kind,
                                const std::array<Deviation, kModuleCount>& deviations) {
  deviations_[static_cast<std::size_t>(kind)] = deviations;
  if (GridWindow* w = find(kind)) applyDeviations(*w);
}

void GridWindows::applyDeviations(GridWindow& w) const {
  const auto& d = deviations_[static_cast<std::size_t>(w.kind())];
  for (int i = 0; i < kModuleCount; ++i) w.setDeviation(i, d[static_cast<std::size_t>(i)]);
}

void GridWindows::unload(ValueKind kind) { slot(kind).unload(); }

}  // namespace zelta
