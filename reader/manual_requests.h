// Manual Mode: one request to one module per button press, the address from
// the field Text2. The value buttons arm the answer timer (a missing answer
// counts); the module search buttons do not.
#pragma once

#include <QObject>

#include "window_slot.h"

namespace zelta {

class ModuleValuesWindow;
class ReaderLink;
class ScanEngine;
struct ReaderControls;
struct ReaderState;

class ManualRequests : public QObject {
  Q_OBJECT
 public:
  ManualRequests(ReaderState& state, const ReaderControls& controls, ReaderLink& link,
                 ScanEngine& engine, WindowSlot<ModuleValuesWindow>& moduleValues, QObject* parent);

 private:
  void addressChanged();
  void setAddressFromField();

  ReaderState& state_;
  const ReaderControls& c_;
  ReaderLink& link_;
  ScanEngine& engine_;
  WindowSlot<ModuleValuesWindow>& moduleValues_;
};

}  // namespace zelta
