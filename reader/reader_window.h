// The main window of ZELTA_Reader ("Form1"): the port, the mode switch, the
// scan and manual frames, the communication lamps and counters, and the
// menus that open the grid windows and the logging options. It owns
// everything the program keeps; closing it closes every other window and
// writes the line the logger is still assembling.
#pragma once

#include <QMainWindow>
#include <memory>

#include "csv_logger.h"
#include "reader_controls.h"
#include "platform/line_error.h"
#include "reader_state.h"
#include "reading_events.h"
#include "remembered_options.h"
#include "value_store.h"
#include "window_slot.h"

namespace zelta {

struct Platform;
class GridWindows;
class LogOptionsWindow;
class ManualRequests;
class ModeSwitch;
class ModuleValuesWindow;
class ReaderLink;
class ReaderPublishing;
class ReaderStatusLines;
class ScanEngine;
class BusEvents;
class StoreAndShow;
class StringViews;
namespace monitor {
class FrameMonitorLauncher;
}

class ReaderWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit ReaderWindow(Platform& platform, QWidget* parent = nullptr);
  ~ReaderWindow() override;

  const ReaderState& state() const { return state_; }
  const ValueStore& store() const { return store_; }
  CsvLogger& logger() { return logger_; }
  // What crosses the bus, and every value filed, for views that follow them.
  BusEvents& busEvents();
  ReadingEvents& readings() { return readings_; }
  ReaderPublishing& publishing() { return *publishing_; }

  // A secondary window by its name ("Form2", "Form4", "Log_Options",
  // "String_Overview", "Trend_Plot"), while it is loaded; null otherwise.
  QWidget* loadedWindow(const QString& name) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void startUp();
  void openPort();
  void closePort();
  void portChosen(int index);
  // The port number text that Open takes for a port name.
  QString portNumberText(const QString& name) const;
  LineError openLine();
  void unloadWindows();

  Platform& platform_;
  ReaderState state_;
  ReaderControls c_;
  ValueStore store_;
  CsvLogger logger_;
  RememberedOptions remembered_;
  ReadingEvents readings_;
  std::unique_ptr<GridWindows> grids_;
  WindowSlot<ModuleValuesWindow> moduleValues_;
  std::unique_ptr<LogOptionsWindow> logOptions_;
  std::unique_ptr<StoreAndShow> storeAndShow_;
  std::unique_ptr<ReaderPublishing> publishing_;
  ReaderLink* link_ = nullptr;
  ScanEngine* engine_ = nullptr;
  ModeSwitch* modes_ = nullptr;
  ManualRequests* manual_ = nullptr;
  ReaderStatusLines* status_ = nullptr;
  std::unique_ptr<StringViews> stringViews_;
  std::unique_ptr<monitor::FrameMonitorLauncher> frameMonitor_;
};

}  // namespace zelta
