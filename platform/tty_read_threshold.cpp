#include "platform/tty_read_threshold.h"

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace zelta {

#ifdef Q_OS_UNIX

bool setTtyReadThreshold(qintptr handle, int bytes) {
  termios settings{};
  if (::tcgetattr(static_cast<int>(handle), &settings) != 0) return false;
  // VMIN 0 is how the serial port is opened; with VTIME 0 a poll then
  // reports the device readable at its first byte, as with VMIN 1.
  settings.c_cc[VMIN] = static_cast<cc_t>(bytes > 1 ? bytes : 0);
  settings.c_cc[VTIME] = 0;
  return ::tcsetattr(static_cast<int>(handle), TCSANOW, &settings) == 0;
}

qint64 readWaitingBytes(qintptr handle, char* into, qint64 most) {
  // The device is open without waiting: a read takes what is there, also
  // fewer bytes than the threshold.
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle), into, static_cast<size_t>(most));
    if (n >= 0) return n;
    if (errno != EINTR) return 0;
  }
}

#else

bool setTtyReadThreshold(qintptr, int bytes) { return bytes <= 1; }
qint64 readWaitingBytes(qintptr, char*, qint64) { return 0; }

#endif

}  // namespace zelta
