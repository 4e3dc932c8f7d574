// The programmer's main window on a virtual clock, wired to a simulated bus
// through a SimulatedLine, with scripted message boxes, a recording tone and a
// fixed environment. Tests drive it by control names and look at the title
// lines, the boxes asked, the tones and the frames on the wire with times.
// Clicking or typing into a disabled control fails the test.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "platform/fakes/fakes.h"
#include "platform/fakes/scripted_message_boxes.h"
#include "platform/platform.h"
#include "platform/virtual_clock.h"
#include "programmer/programmer_window.h"
#include "protocol/requests.h"
#include "sim/bus_simulator.h"
#include "sim/simulated_line.h"

namespace zelta::test {

using programmer::ProgrammerWindow;

struct Sent {
  qint64 atMs;
  Frame frame;
  bool operator==(const Sent&) const = default;
};
void PrintTo(const Sent& s, std::ostream* os);

class ProgrammerFixture : public ::testing::Test {
 protected:
  ~ProgrammerFixture() override;

  // Builds the window with this argument string.
  void start(const QString& arguments = {});
  // Start-up, then "Open" on COM1, with the frames of Open forgotten.
  void startOpen(const QString& arguments = {});

  template <typename T = QWidget>
  T* find(const char* name) const {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  Timer& timer(int n) const;
  QWidget* topLevel(const char* name) const;  // a value window, if it exists

  void click(const char* name) const;
  void setText(const char* name, const QString& text) const;
  QString text(const char* name) const;  // line edit or label
  bool enabled(const char* name) const;

  // The two title lines.
  QStringList title() const;

  // Frames the program wrote since the last forgetFrames().
  std::vector<Sent> sent() const;
  void forgetFrames() { bus.clearHostFrames(); }
  // Puts a frame on the line as if a module sent it.
  void inject(const Frame& frame) {
    for (std::uint8_t b : frame) emit line.byteReceived(b);
  }

  VirtualClock clock;
  BusSimulator bus{clock};
  SimulatedLine line{bus};
  ScriptedMessageBoxes boxes{clock};
  RecordingTone tone{&clock};
  ScriptedFolderChooser folders;
  FixedEnvironment environment;
  MemorySettings settings;
  ScriptedFileSaver files;
  FixedPortCatalog ports;
  Platform platform{clock, line, boxes, tone, folders, environment, settings, files, nullptr, &ports};
  std::unique_ptr<ProgrammerWindow> window;
};

// A reply frame as a module sends it.
Frame replyFrame(std::uint16_t from, std::uint8_t command, std::uint8_t d4 = 0,
                 std::uint8_t d5 = 0, std::uint8_t d6 = 0, std::uint8_t d7 = 0,
                 std::uint8_t d8 = 0, std::uint8_t d9 = 0);

}  // namespace zelta::test

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
