#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include "sim/terminal_host.h"

namespace zelta {
namespace {

int signalPipe[2] = {-1, -1};

void onQuitSignal(int) {
  const char b = 'q';
  [[maybe_unused]] const auto n = ::write(signalPipe[1], &b, 1);
}

QString lastError() { return QString::fromLocal8Bit(std::strerror(errno)); }

void setNonBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }

}  // namespace

TerminalHost::TerminalHost(QObject* parent) : QObject(parent) {}

TerminalHost::~TerminalHost() {
  if (!link_.isEmpty()) {
    // Only our own link: someone may have replaced it meanwhile.
    if (QFile::symLinkTarget(link_) == device_) ::unlink(QFile::encodeName(link_).constData());
  }
  delete terminalNotifier_;
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

bool TerminalHost::open(QString* error) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    *error = "cannot create a pseudo-terminal: " + lastError();
    return false;
  }
  const char* name = ::ptsname(master_);
  if (!name) {
    *error = "cannot name the pseudo-terminal: " + lastError();
    return false;
  }
  device_ = QString::fromLocal8Bit(name);
  slave_ = ::open(name, O_RDWR | O_NOCTTY);
  if (slave_ < 0) {
    *error = "cannot open " + device_ + ": " + lastError();
    return false;
  }
  termios tio{};
  if (::tcgetattr(slave_, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(slave_, TCSANOW, &tio);
  }
  setNonBlocking(master_);
  terminalNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
  connect(terminalNotifier_, &QSocketNotifier::activated, this, &TerminalHost::readTerminal);
  return true;
}

bool TerminalHost::makeLink(const QString& path, QString* error) {
  const QByteArray where = QFile::encodeName(path);
  struct stat st {};
  if (::lstat(where.constData(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      *error = path + " exists and is not a symbolic link";
      return false;
    }
    ::unlink(where.constData());
  }
  if (::symlink(QFile::encodeName(device_).constData(), where.constData()) != 0) {
    *error = "cannot make the link " + path + ": " + lastError();
    return false;
  }
  link_ = path;
  return true;
}

void TerminalHost::send(std::uint8_t byte) {
  if (master_ < 0) return;
  if (outgoing_.isEmpty())
    QMetaObject::invokeMethod(this, &TerminalHost::writeOutgoing, Qt::QueuedConnection);
  outgoing_.append(static_cast<char>(byte));
}

void TerminalHost::writeOutgoing() {
  if (master_ >= 0 && !outgoing_.isEmpty())
    [[maybe_unused]] const auto n = ::write(master_, outgoing_.constData(), outgoing_.size());
  outgoing_.clear();
}

void TerminalHost::readTerminal() {
  char buffer[512];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n > 0) {
      emit hostBytes(QByteArray(buffer, static_cast<int>(n)));
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    // The terminal is unusable; stop watching rather than spin on it.
    terminalNotifier_->setEnabled(false);
    return;
  }
}

bool TerminalHost::readCommands() {
  if (::isatty(STDIN_FILENO) && ::tcgetpgrp(STDIN_FILENO) != ::getpgrp()) return false;
  ::signal(SIGTTIN, SIG_IGN);
  inputNotifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
  connect(inputNotifier_, &QSocketNotifier::activated, this, &TerminalHost::readInput);
  return true;
}

void TerminalHost::readInput() {
  char buffer[512];
  const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
  if (n < 0 && errno == EINTR) return;
  if (n <= 0) {
    // End of input (or a terminal taken away): serve the bus on without commands.
    inputNotifier_->setEnabled(false);
    if (!pendingInput_.isEmpty()) emit commandLine(QString::fromLocal8Bit(pendingInput_));
    pendingInput_.clear();
    return;
  }
  pendingInput_.append(buffer, static_cast<int>(n));
  for (qsizetype end; (end = pendingInput_.indexOf('\n')) >= 0;) {
    const QByteArray line = pendingInput_.left(end);
    pendingInput_.remove(0, end + 1);
    emit commandLine(QString::fromLocal8Bit(line).trimmed());
  }
}

void TerminalHost::catchQuitSignals() {
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGTTOU, SIG_IGN);
  if (::pipe(signalPipe) != 0) return;
  setNonBlocking(signalPipe[1]);
  struct sigaction action {};
  action.sa_handler = onQuitSignal;
  ::sigemptyset(&action.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &action, nullptr);
  signalNotifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
  connect(signalNotifier_, &QSocketNotifier::activated, this, [this] {
    char b;
    [[maybe_unused]] const auto n = ::read(signalPipe[0], &b, 1);
    emit quitRequested();
  });
}

}  // namespace zelta
