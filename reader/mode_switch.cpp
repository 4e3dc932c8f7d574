#include "mode_switch.h"

#include <QCheckBox>
#include <QRadioButton>

#include "enabled_states.h"
#include "grid_windows.h"
#include "module_values_window.h"
#include "platform/clock.h"
#include "reader_controls.h"
#include "reader_state.h"
#include "scan_engine.h"

namespace zelta {

void module_values(WindowSlot<ModuleValuesWindow>& slot) {
  ModuleValuesWindow& w = slot.ensure();
  w.show();
  w.clearFields();
}

ModeSwitch::ModeSwitch(ReaderState& state, const ReaderControls& c, QWidget& form1,
                       ScanEngine& engine, GridWindows& grids,
                       WindowSlot<ModuleValuesWindow>& moduleValues)
    : QObject(&form1),
      state_(state),
      c_(c),
      form1_(form1),
      engine_(engine),
      grids_(grids),
      moduleValues_(moduleValues) {
  // Selecting an option, by the user or by the program, runs its set-up.
  connect(c_.option1, &QRadioButton::toggled, this, [this](bool on) {
    if (on) scanModeSetUp();
  });
  connect(c_.option2, &QRadioButton::toggled, this, [this](bool on) {
    if (on) manualModeSetUp();
  });
}

void ModeSwitch::scanModeSetUp() {
  grids_.setScanLook(true);
  moduleValues_.unload();
  state_.manuell = 0;
  applyEnabledState(form1_, WindowChange::ScanModeSetUp);
  c_.option1->setChecked(true);
  c_.check1->setChecked(true);
}

void ModeSwitch::manualModeSetUp() {
  grids_.setScanLook(false);
  module_values(moduleValues_);
  engine_.answerTimer().setInterval(50);
  state_.manuell = 1;
  applyEnabledState(form1_, WindowChange::ManualModeSetUp);
  c_.option2->setChecked(true);
  c_.check1->setChecked(false);
  engine_.haltScanTimers();
}

}  // namespace zelta
