// Both programs' window tests: the platform fakes on a virtual clock and the
// simulated bus, and helpers that work controls by name as a user would
// (clicking or typing into a disabled control fails the test).
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include "platform/fakes/fakes.h"
#include "platform/fakes/scripted_message_boxes.h"
#include "platform/platform.h"
#include "platform/virtual_clock.h"
#include "sim/bus_simulator.h"
#include "sim/simulated_line.h"

namespace zelta::testing {

class WindowFixture : public ::testing::Test {
 protected:
  explicit WindowFixture(std::uint32_t seed) : bus(clock, seed) {}
  // The program's window has gone with the derived fixture by now.
  ~WindowFixture() override { settle(); }
  // Where names are looked up unless another window is given.
  virtual QWidget* mainWindow() const = 0;

  template <class T = QWidget>
  T* find(const QString& name, QWidget* in = nullptr) const {
    T* w = (in ? in : mainWindow())->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << "no control " << name.toStdString();
    return w;
  }
  bool enabled(const QString& name) const { return find(name)->isEnabled(); }
  QString text(const QString& name, QWidget* in = nullptr) const {
    QWidget* w = find(name, in);
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    return w ? w->windowTitle() : QString();
  }
  void click(const QString& name, QWidget* in = nullptr) const {
    if (auto* b = find<QAbstractButton>(name, in); b && usable(b, name)) b->click();
  }
  void type(const QString& name, const QString& text, QWidget* in = nullptr) const {
    if (auto* e = find<QLineEdit>(name, in); e && usable(e, name)) e->setText(text);
  }
  // Clicks a check box if it is not already in that state.
  void tick(const QString& name, bool on, QWidget* in = nullptr) const {
    if (auto* box = find<QCheckBox>(name, in); box && box->isChecked() != on) click(name, in);
  }
  // Drops windows the program has unloaded.
  static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  VirtualClock clock;
  BusSimulator bus;
  SimulatedLine line{bus};
  ScriptedMessageBoxes boxes{clock};
  RecordingTone tone{&clock};
  ScriptedFolderChooser folders;
  FixedEnvironment environment;
  MemorySettings settings;
  ScriptedFileSaver files;
  FixedPortCatalog ports;
  Platform platform{clock, line, boxes, tone, folders, environment, settings, files, nullptr, &ports};

 private:
  static bool usable(QWidget* w, const QString& name) {
    if (!w->isEnabled()) ADD_FAILURE() << name.toStdString() << " is not enabled";
    return w->isEnabled();
  }
};

}  // namespace zelta::testing
