// The three working modes of the main window and the enabled state of its
// controls: which frames can be used in Automatic Mode, Manual Mode (with the
// locks of expert level 2) and Line Check, and the layouts of a closed port
// and of a failed Open. A mode runs its set-up whenever its button becomes
// selected, by the installer or by the program.
#pragma once

#include <QObject>

class QRadioButton;

namespace zelta::programmer {

struct ProgrammerContext;
class LineCheck;

class ModeSwitch : public QObject {
  Q_OBJECT
 public:
  ModeSwitch(const ProgrammerContext& ctx, LineCheck& lineCheck, QObject* parent = nullptr);

  // Selects a mode button; its set-up runs when it was not selected before.
  void select(QRadioButton& option);

  // Start-up and "Close": mode buttons and every frame off.
  void closedLayout();
  // After a failed "Open": Automatic/Manual side off, Line Check left alone.
  void failedOpenLayout();
  // "Open" step: the "Automatic" frame and the first two mode buttons on.
  void automaticFrameOn();

 private:
  enum class Layout { Automatic, Manual, ManualLocked, LineCheck };
  void automaticMode();
  void manualMode();
  void lineCheckMode();
  void apply(Layout layout);
  bool portOpen() const;

  const ProgrammerContext& ctx_;
  LineCheck& lineCheck_;
};

}  // namespace zelta::programmer
