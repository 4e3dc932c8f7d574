// A ZELTA_Reader main window on a virtual clock, wired to the in-process bus
// simulator and the platform fakes, with helpers that work the controls by
// their names as a user would: clicking or typing into a disabled control
// fails the test instead.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>
#include <vector>

#include "platform/fakes/fakes.h"
#include "platform/fakes/scripted_message_boxes.h"
#include "platform/platform.h"
#include "platform/virtual_clock.h"
#include "reader/reader_window.h"
#include "sim/bus_simulator.h"
#include "sim/simulated_line.h"
#include "widgets/lamp.h"

namespace zelta::testing {

class ReaderFixture : public ::testing::Test {
 protected:
  ReaderFixture();
  ~ReaderFixture() override;

  template <class T = QWidget>
  T* find(const QString& name, QWidget* in = nullptr) {
    T* w = (in ? in : form1.get())->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << "no control " << name.toStdString();
    return w;
  }
  QWidget* window(const QString& name) { return form1->loadedWindow(name); }
  bool enabled(const QString& name) { return find(name)->isEnabled(); }
  QString text(const QString& name, QWidget* in = nullptr);
  // What a grid window's cell holds, shown or not.
  QString cellText(const char* form, int index);

  void click(const QString& name, QWidget* in = nullptr);
  void type(const QString& name, const QString& text, QWidget* in = nullptr);
  // Clicks a check box if it is not already in that state.
  void tick(const QString& name, bool on, QWidget* in = nullptr);
  void menu(const QString& name);
  void choosePort(int listIndex);  // a click in the port list
  void openPort(const QString& portText = "COM1");
  // Open, select a rate ("Fast", "Medium", "Slow"), set the range, tick or
  // clear Check7.
  void prepareScan(const QString& rate, int first, int last, bool impedance = false);

  // Frames the program wrote since the last clearFrames().
  const std::vector<BusSimulator::WireFrame>& frames() const { return bus.hostFrames(); }
  void clearFrames() { bus.clearHostFrames(); }
  // Feeds bytes to the program as if they came from the line.
  void receive(const Frame& frame);
  // Drops windows the program has unloaded.
  static void settle();
  // The program ends and starts afresh; the port is closed.
  void restart();

  VirtualClock clock;
  BusSimulator bus{clock, 7};
  SimulatedLine line{bus};
  ScriptedMessageBoxes boxes{clock};
  RecordingTone tone{&clock};
  ScriptedFolderChooser folders;
  FixedEnvironment environment;
  MemorySettings settings;
  ScriptedFileSaver files;
  FixedPortCatalog ports;
  Platform platform{clock, line, boxes, tone, folders, environment, settings, files, nullptr, &ports};
  std::unique_ptr<ReaderWindow> form1;
};

// Texts that are hard on a number reader, for the fields that take numbers.
extern const QStringList kAwkwardTexts;

// A reply frame as a module sends it.
Frame reply(std::uint16_t address, std::uint8_t command, std::uint8_t d4 = 0, std::uint8_t d5 = 0,
            std::uint8_t d6 = 0);

// (address, command) of each frame, for comparing request sequences.
std::vector<std::pair<int, int>> requests(const std::vector<BusSimulator::WireFrame>& frames);

}  // namespace zelta::testing
