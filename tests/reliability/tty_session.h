// A program window on the real platform pieces (wall clock, serial line on a
// pseudo-terminal) against zelta_bus_sim running as a child process, which a
// test can kill (the far end vanishes, as when a USB adapter is pulled) and
// start again under the same link name. Real time: generous limits.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QProcess>
#include <QStringList>
#include <functional>

#include "platform/fakes/fakes.h"
#include "platform/fakes/scripted_message_boxes.h"
#include "platform/platform.h"
#include "platform/qt_serial_line.h"
#include "platform/real_clock.h"

namespace zelta::testing {

class TtySession {
 public:
  TtySession();
  ~TtySession();

  // Starts the simulator with these arguments and --link; the reason when it
  // does not come up, else nothing.
  QString startSimulator(const QStringList& args);
  void killSimulator();
  // An operator command on the simulator's standard input ("press 1").
  void command(const QString& line);
  const QString& link() const { return link_; }
  quint64 bytesReceived() const { return bytes_; }

  RealClock clock;
  QtSerialLine line;
  ScriptedMessageBoxes boxes{clock};
  RecordingTone tone{&clock};
  ScriptedFolderChooser folders;
  FixedEnvironment environment;
  MemorySettings settings;
  ScriptedFileSaver files;
  Platform platform{clock, line, boxes, tone, folders, environment, settings, files};

 private:
  QProcess simulator_;
  QString link_;
  quint64 bytes_ = 0;
};

// Runs the event loop until done() holds or maxMs have passed.
bool runUntil(const std::function<bool()>& done, int maxMs);
// CPU seconds this process uses while the event loop runs for ms, per
// second of wall time.
double cpuShareWhileRunning(int ms);

template <class T = QWidget>
T* child(QObject* window, const char* name) {
  T* w = window->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}
inline void click(QObject* window, const char* name) { child<QAbstractButton>(window, name)->click(); }

}  // namespace zelta::testing
