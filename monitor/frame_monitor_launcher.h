// Opens a program's frame monitor from its main window and keeps it tied to
// it: one monitor at a time, raised when asked for again, closed when the
// main window closes and gone before the main window's line is. The monitor
// is reached from a "&View" menu entry (a main window with a menu bar) or a
// small button placed just after a control of a fixed layout.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class QMainWindow;
class QWidget;

namespace zelta {
class BusEvents;
struct Platform;
}  // namespace zelta

namespace zelta::monitor {

class FrameMonitorWindow;

class FrameMonitorLauncher : public QObject {
  Q_OBJECT
 public:
  // Both take the entry's objectName "Frame_Monitor".
  // "&Frame Monitor..." in the menu bar's "&View" menu (made before "Help"
  // when the window has none yet).
  static std::unique_ptr<FrameMonitorLauncher> inViewMenu(QMainWindow& mainWindow,
                                                          BusEvents& events, Platform& platform,
                                                          const QString& programName);
  // A "Frame Monitor..." button in anchor's layout, just after anchor.
  static std::unique_ptr<FrameMonitorLauncher> after(QWidget& anchor, QWidget& mainWindow,
                                                     BusEvents& events, Platform& platform,
                                                     const QString& programName);

  FrameMonitorLauncher(QWidget& mainWindow, BusEvents& events, Platform& platform,
                       const QString& programName);
  ~FrameMonitorLauncher() override;

  void open();
  FrameMonitorWindow* window() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& mainWindow_;
  BusEvents& events_;
  Platform& platform_;
  QString programName_;
  QPointer<FrameMonitorWindow> window_;
};

}  // namespace zelta::monitor
