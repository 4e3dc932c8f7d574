// The Qt message boxes, folder chooser, environment and tone, on the
// offscreen platform, and the serial line's settings and port names. Dialogs
// are answered from the event loop they run.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <functional>

#include "platform/qt_environment.h"
#include "platform/qt_folder_chooser.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_serial_line.h"
#include "platform/qt_tone.h"
#include "platform/virtual_clock.h"
#include "protocol/requests.h"
#ifdef Q_OS_UNIX
#include <dlfcn.h>
#include <termios.h>

#include <vector>

#include "tests/platform/pty.h"

// The c_cflag of every setting the serial line asked the terminal for. A
// Linux pseudo-terminal keeps speed and stop bits but always reports 8 data
// bits and no parity, so those two are seen here, on their way in.
static std::vector<tcflag_t> cflagsSet;
extern "C" int tcsetattr(int fd, int actions, const termios* t) {
  using Real = int (*)(int, int, const termios*);
  static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "tcsetattr"));
  if (t) cflagsSet.push_back(t->c_cflag);
  return real(fd, actions, t);
}
#endif

namespace zelta {
namespace {

// Runs act on the first modal dialog of type T once it is on screen.
template <typename T>
void whenModal(std::function<void(T*)> act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
      poll->stop();
      poll->deleteLater();
      act(w);
    }
  });
  poll->start(1);
}

TEST(QtMessageBoxes, ShowsTheRequestAndReturnsTheAnswer) {
  VirtualClock clock;
  QtMessageBoxes boxes(clock);
  QApplication::setApplicationName("ZELTA_Programmer");
  struct Case {
    BoxRequest request;
    QMessageBox::StandardButton press;
    QMessageBox::Icon icon;
    QString title;
    BoxAnswer answer;
  };
  const Case cases[] = {
      {{"Reset all?", "Question", BoxIcon::Question, BoxButtons::YesNo}, QMessageBox::No,
       QMessageBox::Question, "Question", BoxAnswer::No},
      {{"Port is not available", "", BoxIcon::Critical, BoxButtons::Ok}, QMessageBox::Ok,
       QMessageBox::Critical, "ZELTA_Programmer", BoxAnswer::Ok},
      {{"Careful", "T", BoxIcon::Exclamation, BoxButtons::Ok}, QMessageBox::Ok,
       QMessageBox::Warning, "T", BoxAnswer::Ok},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request.text.toStdString());
    bool seen = false;
    whenModal<QMessageBox>([&](QMessageBox* box) {
      seen = true;
      EXPECT_TRUE(clock.isHeld());
      EXPECT_EQ(box->text(), c.request.text);
      EXPECT_EQ(box->windowTitle(), c.title);
      EXPECT_EQ(box->icon(), c.icon);
      const auto expectedButtons = c.request.buttons == BoxButtons::YesNo
                                       ? QMessageBox::Yes | QMessageBox::No
                                       : QMessageBox::StandardButtons(QMessageBox::Ok);
      EXPECT_EQ(box->standardButtons(), expectedButtons);
      box->button(c.press)->click();
    });
    EXPECT_EQ(boxes.show(nullptr, c.request), c.answer);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(clock.isHeld());
  }
}

TEST(QtFolderChooser, ChosenAndCancelled) {
  QTemporaryDir start, target;
  ASSERT_TRUE(start.isValid() && target.isValid());
  QtFolderChooser chooser;

  QString title, shownDir;
  whenModal<QFileDialog>([&](QFileDialog* d) {
    title = d->windowTitle();
    shownDir = d->directory().absolutePath();
    d->reject();
  });
  const FolderChoice cancelled = chooser.choose(nullptr, "Select Log Directory", start.path());
  EXPECT_EQ(cancelled.outcome, FolderChoice::Outcome::Cancelled);
  EXPECT_EQ(title, "Select Log Directory");
  EXPECT_EQ(shownDir, QDir(start.path()).absolutePath());

  whenModal<QFileDialog>([&](QFileDialog* d) {
    d->setDirectory(target.path());
    d->selectFile(target.path());
    QMetaObject::invokeMethod(d, "accept");
  });
  const FolderChoice chosen = chooser.choose(nullptr, "Select Log Directory", start.path());
  EXPECT_EQ(chosen.outcome, FolderChoice::Outcome::Chosen);
  EXPECT_EQ(QDir(chosen.path).canonicalPath(), QDir(target.path()).canonicalPath());
}

TEST(QtEnvironment, ArgumentsAfterTheProgramNameAndFolders) {
  EXPECT_EQ(QtEnvironment({"ZELTA_Programmer", "-se", "x y"}).argumentString(), "-se x y");
  const QtEnvironment env;
  EXPECT_EQ(env.homeDir(), QDir::toNativeSeparators(QDir::homePath()));
  EXPECT_EQ(env.currentDir(), QDir::toNativeSeparators(QDir::currentPath()));
}

TEST(QtTone, WaveOfTheRequestedPitchAndLength) {
  const QByteArray wav = QtTone::sineWav(500, 500, 22050);
  ASSERT_EQ(wav.size(), 44 + 11025 * 2);
  EXPECT_EQ(wav.left(4), "RIFF");
  EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 24), 22050u);
  int crossings = 0;
  for (int i = 1; i < 11025; ++i) {
    const auto at = [&](int k) { return qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * k); };
    crossings += (at(i - 1) < 0) != (at(i) < 0);
  }
  EXPECT_NEAR(crossings, 500, 4);  // two per period, 250 periods
  EXPECT_EQ(QtTone::sineWav(500, 0).size(), 44);
}

#ifdef Q_OS_UNIX
// Read back from the terminal after Open: 9600 baud both ways, 8 data bits,
// no parity, one stop bit, no flow control, bytes passed through raw.
TEST(QtSerialLine, OpensTheLineAt9600EightNoneOne) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  QtSerialLine line;
  cflagsSet.clear();
  ASSERT_TRUE(line.openDevice(pty.path())) << line.errorString().toStdString();
  ASSERT_FALSE(cflagsSet.empty());
  for (tcflag_t c : cflagsSet) {
    EXPECT_EQ(c & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(c & (PARENB | CSTOPB), 0u);
  }
  termios t{};
  ASSERT_EQ(::tcgetattr(pty.master(), &t), 0);  // the slave's settings
  EXPECT_EQ(::cfgetispeed(&t), speed_t(B9600));
  EXPECT_EQ(::cfgetospeed(&t), speed_t(B9600));
  EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
}

// Port n is the device ZELTA_COM<n> names, else /dev/ttyS<n-1>.
TEST(QtSerialLine, PortNumbersNameDevicesAndAMissingDeviceFails) {
  qputenv("ZELTA_COM7", "/tmp/zelta-COM7");
  for (int n : {1, 3, 30}) qunsetenv(QStringLiteral("ZELTA_COM%1").arg(n).toLatin1());
  EXPECT_EQ(QtSerialLine::deviceForPort(7), "/tmp/zelta-COM7");
  EXPECT_EQ(QtSerialLine::deviceForPort(1), "/dev/ttyS0");
  EXPECT_EQ(QtSerialLine::deviceForPort(3), "/dev/ttyS2");
  EXPECT_EQ(QtSerialLine::deviceForPort(30), "/dev/ttyS29");
  qunsetenv("ZELTA_COM7");
  QtSerialLine line;
  EXPECT_FALSE(line.openDevice("/nonexistent/zelta-tty"));
  EXPECT_FALSE(line.errorString().isEmpty());
  EXPECT_FALSE(line.write(request::readerVoltage(1)));
}
#endif

}  // namespace
}  // namespace zelta
