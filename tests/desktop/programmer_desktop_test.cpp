// The Programmer on a real window system (run-on-desktop.sh): message boxes
// against the window manager (wmctrl) and the keyboard (xdotool).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "platform/fakes/fakes.h"
#include "platform/platform.h"
#include "platform/qt_message_boxes.h"
#include "platform/virtual_clock.h"
#include "programmer/programmer_window.h"
#include "sim/bus_simulator.h"
#include "sim/simulated_line.h"
#include "tests/support/real_time.h"

namespace zelta::test {
namespace {

using testing::runFor;
using testing::runUntil;

QString tool(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  p.waitForFinished(10000);
  return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QString windowId(const QWidget& w) { return QString::number(w.winId()); }

class ProgrammerOnADesktop : public ::testing::Test {
 protected:
  ProgrammerOnADesktop() {
    QObject::connect(&boxPoll_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      boxPoll_.stop();
      runFor(300);  // mapped and managed by the window manager
      onBox_(box);
    });
  }
  // Runs act on the next message box once it is on screen, from its event loop.
  void whenBoxShown(std::function<void(QMessageBox*)> act) {
    onBox_ = std::move(act);
    boxPoll_.start(10);
  }
  void start(const QString& arguments) {
    environment.arguments = arguments;
    window = std::make_unique<programmer::ProgrammerWindow>(platform);
    window->show();
    ASSERT_TRUE(runUntil([&] { return window->isActiveWindow(); }, 5000));
  }
  QAbstractButton* button(QWidget& in, const char* name) {
    return in.findChild<QAbstractButton*>(QString::fromLatin1(name));
  }
  // The window manager's close, as from the close button of the frame.
  static void closeByWindowManager(const QWidget& w) { tool("wmctrl", {"-i", "-c", windowId(w)}); }
  // Whether the window system gives w the keyboard (within a generous wait).
  static bool hasKeyboard(const QWidget& w) {
    return runUntil([&] { return tool("xdotool", {"getactivewindow"}) == windowId(w); }, 5000);
  }

  VirtualClock clock;
  BusSimulator bus{clock};
  SimulatedLine line{bus};
  QtMessageBoxes boxes{clock};
  RecordingTone tone{&clock};
  ScriptedFolderChooser folders;
  FixedEnvironment environment;
  MemorySettings settings;
  ScriptedFileSaver files;
  Platform platform{clock, line, boxes, tone, folders, environment, settings, files};
  std::unique_ptr<programmer::ProgrammerWindow> window;

 private:
  QTimer boxPoll_;
  std::function<void(QMessageBox*)> onBox_;
};

// Closing the main window while the value window's Save-failure box is open
// once freed the box under its own event loop (SIGSEGV). The main window now
// waits under the box, and closes once the box is answered.
TEST_F(ProgrammerOnADesktop, MainWindowClosedUnderTheSaveFailureBox) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("test.csv"));  // Save cannot write there
  environment.current = dir.path();
  start("-se");
  QPointer<QWidget> form3;  // deleted once closed
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "Form3") form3 = w;
  ASSERT_TRUE(form3 && form3->isVisible());

  bool seen = false;
  whenBoxShown([&](QMessageBox* shown) {
    seen = true;
    QPointer<QMessageBox> box = shown;
    EXPECT_TRUE(hasKeyboard(*box));
    closeByWindowManager(*window);
    runFor(1000);
    if (const QString shot = qEnvironmentVariable("ZELTA_DESKTOP_SCREENSHOT"); !shot.isEmpty())
      QGuiApplication::primaryScreen()->grabWindow(0).save(shot);
    ASSERT_TRUE(box && box->isVisible());
    EXPECT_TRUE(window->isVisible());
    box->button(QMessageBox::Ok)->click();
  });
  button(*form3, "Command1")->click();  // "Save"
  EXPECT_TRUE(seen);
  closeByWindowManager(*window);
  EXPECT_TRUE(runUntil([&] { return !window->isVisible() && (!form3 || !form3->isVisible()); }, 5000));
}

// The reset question raised by Timer12 takes the keyboard: Enter answers it,
// and answers No, so no address is reset; "Close" then ends the question.
TEST_F(ProgrammerOnADesktop, EnterAtTheResetQuestionChangesNoAddress) {
  bus.addModules(3, 1);
  start({});
  button(*window, "Command36")->click();  // "Open"
  button(*window, "Check1")->click();
  button(*window, "Command6")->click();
  int asked = 0;
  const auto pressEnter = [&](QMessageBox* box) {
    ++asked;
    EXPECT_EQ(box->windowTitle(), "Reset Addresses");
    if (!hasKeyboard(*box)) {
      ADD_FAILURE() << "the box does not have the keyboard";
      return box->button(QMessageBox::No)->click();
    }
    tool("xdotool", {"key", "Return"});
  };
  whenBoxShown(pressEnter);
  clock.advance(4000);
  ASSERT_EQ(asked, 1);
  whenBoxShown(pressEnter);
  clock.advance(4000);  // "No" asks again
  ASSERT_EQ(asked, 2);
  button(*window, "Command38")->click();  // "Close"
  whenBoxShown(pressEnter);
  clock.advance(10000);
  EXPECT_EQ(asked, 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(bus.module(i).address, i + 1);
}

}  // namespace
}  // namespace zelta::test
