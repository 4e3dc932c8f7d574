// The programmer's main window "ZELTA II Programmer" (Form1): the port, the
// three working modes, and the frames from which every procedure starts. The
// expert level comes from the argument string. The window owns the value
// windows and closes them when it closes.
#pragma once

#include <QWidget>
#include <memory>

#include "platform/platform.h"
#include "programmer/form1_controls.h"
#include "programmer/programmer_state.h"

namespace zelta {
class BusEvents;
}
namespace zelta::monitor {
class FrameMonitorLauncher;
}

namespace zelta::programmer {

struct ProgrammerContext;
class AddressSearch;
class AutoAddressing;
class LineCheck;
class ManualAddressing;
class ModeSwitch;
class ModuleSearch;
class PortControl;
class ProgrammerLink;
class ReplyRouter;
class StatusLines;
class ValueWindows;

// Expert level for an argument string: "-e"/"-E" 1, "-se"/"-SE" 2, else 0.
int expertLevelFor(const QString& arguments);

class ProgrammerWindow : public QWidget {
  Q_OBJECT
 public:
  explicit ProgrammerWindow(Platform& platform, QWidget* parent = nullptr);
  ~ProgrammerWindow() override;

  const ProgrammerState& state() const { return state_; }
  ValueWindows& valueWindows() { return *values_; }
  // What crosses the bus, for views that follow it.
  BusEvents& busEvents();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void startUp();

  Platform& platform_;
  ProgrammerState state_;
  Form1Controls ui_;
  std::unique_ptr<ValueWindows> values_;
  ProgrammerLink* link_ = nullptr;
  std::unique_ptr<ProgrammerContext> ctx_;
  LineCheck* lineCheck_ = nullptr;
  ModeSwitch* modes_ = nullptr;
  AutoAddressing* autoAddressing_ = nullptr;
  ModuleSearch* moduleSearch_ = nullptr;
  AddressSearch* addressSearch_ = nullptr;
  ManualAddressing* manual_ = nullptr;
  StatusLines* status_ = nullptr;
  PortControl* port_ = nullptr;
  std::unique_ptr<ReplyRouter> replies_;
  std::unique_ptr<monitor::FrameMonitorLauncher> frameMonitor_;
};

}  // namespace zelta::programmer
