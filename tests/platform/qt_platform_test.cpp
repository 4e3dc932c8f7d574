// The Qt message boxes, folder chooser, environment and tone, on the
// offscreen platform, and the serial line's settings and port names. Dialogs
// are answered from the event loop they run.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <functional>
#include <tuple>

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
#include <sys/stat.h>

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

// Each box is modal to the whole program, has no parent window that could
// take it along, answers Escape with No and Enter with its default button,
// shows its detail and is wide enough for its title. Lines kept as written
// are not wrapped, however long, and keep their indent.
TEST(QtMessageBoxes, ShowsTheRequestAndReturnsTheAnswer) {
  VirtualClock clock;
  QtMessageBoxes boxes(clock);
  QApplication::setApplicationName("ZELTA_Programmer");
  struct Case {
    BoxRequest request;
    int key;  // pressed on the box, or 0 to click Yes
    QMessageBox::Icon icon;
    QString title;
    BoxAnswer answer;
  };
  const BoxAnswer no = BoxAnswer::No;
  const QString kept = "        " + QString("Module will start transmitting. ").repeated(3);
  const Case cases[] = {
      {{"Reset all?", "Question", BoxIcon::Question, BoxButtons::YesNo}, Qt::Key_Escape,
       QMessageBox::Question, "Question", no},
      {{"Reset all?", "Q", BoxIcon::None, BoxButtons::YesNo, no}, Qt::Key_Return,
       QMessageBox::NoIcon, "Q", no},
      {{"Reset all?", "Q", BoxIcon::None, BoxButtons::YesNo, no}, 0, QMessageBox::NoIcon, "Q",
       BoxAnswer::Yes},
      {{"Port already open", "", BoxIcon::Critical, BoxButtons::Ok, no, "Permission denied"},
       Qt::Key_Return, QMessageBox::Critical, "ZELTA_Programmer", BoxAnswer::Ok},
      {{"V", "ZELTA_Reader and a long title", BoxIcon::Exclamation, BoxButtons::Ok},
       Qt::Key_Escape, QMessageBox::Warning, "ZELTA_Reader and a long title", BoxAnswer::Ok},
      {{.text = QStringList(6, kept).join("\r\n"), .keepLines = true}, Qt::Key_Return,
       QMessageBox::NoIcon, "ZELTA_Programmer", BoxAnswer::Ok},
  };
  QWidget owner;
  owner.show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request.text.left(40).toStdString());
    bool seen = false;
    whenModal<QMessageBox>([&](QMessageBox* box) {
      seen = true;
      EXPECT_EQ(box->informativeText(), c.request.detail);
      EXPECT_EQ(box->windowTitle(), c.title);
      EXPECT_EQ(box->icon(), c.icon);
      EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
      EXPECT_EQ(box->parentWidget(), nullptr);
      EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(c.title) + 120);
      const auto expectedButtons = c.request.buttons == BoxButtons::YesNo
                                       ? QMessageBox::Yes | QMessageBox::No
                                       : QMessageBox::StandardButtons(QMessageBox::Ok);
      EXPECT_EQ(box->standardButtons(), expectedButtons);
      if (auto* label = box->findChild<QLabel*>("qt_msgbox_label"); c.request.keepLines) {
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(kept));
        EXPECT_LT(label->height(), 7 * label->fontMetrics().lineSpacing());
      } else {
        EXPECT_EQ(box->text(), c.request.text);
      }
      if (c.key == 0) return box->button(QMessageBox::Yes)->click();
      QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
      QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &press);
    });
    EXPECT_EQ(boxes.show(&owner, c.request), c.answer);
    EXPECT_TRUE(seen);
  }
}

// A box asked for while another is on screen (here by a timer of the event
// loop that runs under the first box) waits until the first one is closed.
TEST(QtMessageBoxes, OneBoxAtATime) {
  VirtualClock clock;
  QtMessageBoxes boxes(clock);
  QStringList answered;
  int mostOnScreen = 0, pollsOnScreen = 0;
  bool secondAsked = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QList<QMessageBox*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) shown << box;
    mostOnScreen = std::max(mostOnScreen, int(shown.size()));
    if (shown.size() == 1 && !secondAsked) {
      secondAsked = true;
      QTimer::singleShot(0, [&] {
        boxes.show(nullptr, {"Second"});
        answered << "Second";
      });
    } else if (shown.size() > 1 || (shown.size() == 1 && ++pollsOnScreen > 5)) {
      pollsOnScreen = 0;  // a stacked box had time to show
      for (QMessageBox* box : shown) box->button(QMessageBox::Ok)->click();
    }
  });
  poll.start(5);
  boxes.show(nullptr, {"First"});
  answered << "First";
  EXPECT_EQ(mostOnScreen, 1);
  EXPECT_EQ(answered, QStringList({"Second", "First"}));
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

// Port n is the device ZELTA_COM<n> names, else /dev/ttyS<n-1>. A failed
// open says why, with the device tried: missing, held by another opener, or
// not readable and writable for this user.
TEST(QtSerialLine, PortNumbersNameDevicesAndFailedOpensAreToldApart) {
  qputenv("ZELTA_COM7", "/tmp/zelta-COM7");
  for (int n : {1, 3, 30}) qunsetenv(QStringLiteral("ZELTA_COM%1").arg(n).toLatin1());
  for (const auto& [port, device] : {std::pair{7, "/tmp/zelta-COM7"}, {1, "/dev/ttyS0"},
                                      {3, "/dev/ttyS2"}, {30, "/dev/ttyS29"}})
    EXPECT_EQ(QtSerialLine::deviceForPort(port), device);
  qunsetenv("ZELTA_COM7");
  using Kind = LineError::Kind;
  QtSerialLine line;
  EXPECT_FALSE(line.openDevice("/nonexistent/zelta-tty"));
  EXPECT_EQ(line.lastError().kind, Kind::NoSuchDevice);
  EXPECT_EQ(line.lastError().device, "/nonexistent/zelta-tty");
  EXPECT_FALSE(line.write(request::readerVoltage(1)));

  Pty pty;
  ASSERT_TRUE(pty.ok());
  QtSerialLine holder;
  ASSERT_TRUE(holder.openDevice(pty.path()));
  EXPECT_FALSE(line.openDevice(pty.path()));
  EXPECT_EQ(line.lastError().kind, Kind::Busy) << line.errorString().toStdString();
  holder.close();

  // What QSerialPort's code stands for, as the device file is found (the
  // case below that root cannot reach included).
  using E = QSerialPort::SerialPortError;
  const std::tuple<E, bool, bool, Kind> codes[] = {
      {E::DeviceNotFoundError, false, false, Kind::NoSuchDevice},
      {E::PermissionError, false, false, Kind::NoSuchDevice},
      {E::PermissionError, true, false, Kind::PermissionDenied},
      {E::PermissionError, true, true, Kind::Busy},  {E::OpenError, true, true, Kind::Busy},
      {E::UnknownError, true, true, Kind::Other},
  };
  for (const auto& [code, exists, mayUse, kind] : codes)
    EXPECT_EQ(QtSerialLine::openFailureKind(code, exists, mayUse), kind) << code;

  if (::geteuid() == 0)
    GTEST_SKIP() << "running as root, whom a device of mode 000 does not keep out";
  ASSERT_EQ(::chmod(pty.path().toLocal8Bit().constData(), 0), 0);
  EXPECT_FALSE(line.openDevice(pty.path()));
  EXPECT_EQ(line.lastError().kind, Kind::PermissionDenied) << line.errorString().toStdString();
  EXPECT_EQ(line.lastError().device, pty.path());
}
#endif

}  // namespace
}  // namespace zelta
