// A ZELTA_Reader main window on the shared window fixture, with helpers for
// its menus, its port and its scan.
#pragma once

#include <QAction>
#include <memory>
#include <vector>

#include "reader/reader_window.h"
#include "tests/support/module_reply.h"
#include "tests/support/window_fixture.h"
#include "widgets/lamp.h"

namespace zelta::testing {

class ReaderFixture : public WindowFixture {
 protected:
  ReaderFixture();
  QWidget* mainWindow() const override { return form1.get(); }

  QWidget* window(const QString& name) { return form1->loadedWindow(name); }
  // What a grid window's cell holds, shown or not.
  QString cellText(const char* form, int index);

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
  // The program ends and starts afresh; the port is closed.
  void restart();

  std::unique_ptr<ReaderWindow> form1;
};

// Texts that are hard on a number reader, for the fields that take numbers.
extern const QStringList kAwkwardTexts;

}  // namespace zelta::testing
