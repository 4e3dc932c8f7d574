// What the programmer's procedure classes share: the platform, the window
// state, the main window's controls and timers, the bus link and the value
// windows, with the few helpers every procedure uses (status lines, message
// boxes with the program's name as the default title, the wake-up step).
#pragma once

#include <QString>

#include "platform/message_boxes.h"
#include "platform/platform.h"
#include "programmer/form1_controls.h"
#include "programmer/programmer_state.h"

class QWidget;

namespace zelta::programmer {

class ProgrammerLink;
class ValueWindows;

inline const QString kProgramName = QStringLiteral("ZELTA_Programmer");

struct ProgrammerContext {
  Platform& platform;
  ProgrammerState& state;
  Form1Controls& ui;
  QWidget& form;
  ProgrammerLink& link;
  ValueWindows& values;

  Timer& timer(int n) const { return ui.timer(n); }

  // The two title lines, which double as the status display.
  void title(const QString& first, const QString& second) const;
  // start_text: back to "KESTRIN ZELTA II" / "Programmer".
  void startText() const;

  BoxAnswer box(const QString& text, BoxIcon icon = BoxIcon::None,
                BoxButtons buttons = BoxButtons::Ok, const QString& title = kProgramName) const;
  BoxAnswer box(BoxRequest request) const;
  // A question asked before modules are changed: Yes/No without an icon,
  // where Enter and Escape both answer No.
  BoxAnswer askBeforeChanging(const QString& text, const QString& title) const;

  // The step every start action begins with: a pending title restore
  // cancelled, "Wake up" / "Module", the collective request to address 500,
  // then next (the action's own 4000 ms timer) started.
  void wakeUp(Timer& next) const;
  // Cancels the wake-up waits of every start action (Timer11, Timer12,
  // Timer15, Timer16) and with them the questions that their ticks ask again
  // and again: used by "Close" and by a switch of mode.
  void cancelWakeUps() const;

  // The beep that confirms a set address.
  void beep() const;
};

}  // namespace zelta::programmer
