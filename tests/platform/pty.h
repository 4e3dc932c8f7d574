// A pseudo-terminal pair for tests of the serial line: the test holds the
// master side, the line under test opens the slave device by its name.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <QString>
#include <cstdint>
#include <vector>

namespace zelta {

class Pty {
 public:
  Pty() {
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) return;
    ::close(slave);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    path_ = QString::fromLocal8Bit(name);
  }
  ~Pty() {
    if (master_ >= 0) ::close(master_);
  }
  bool ok() const { return master_ >= 0; }
  int master() const { return master_; }
  const QString& path() const { return path_; }

  bool send(const std::vector<std::uint8_t>& bytes) {
    return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  // One read of whatever is there now.
  std::vector<std::uint8_t> readOnce() {
    std::vector<std::uint8_t> buffer(4096);
    const ssize_t n = ::read(master_, buffer.data(), buffer.size());
    buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buffer;
  }
  bool waitReadable(int ms) {
    pollfd p{master_, POLLIN, 0};
    return ::poll(&p, 1, ms) == 1 && (p.revents & POLLIN);
  }

 private:
  int master_ = -1;
  QString path_;
};

}  // namespace zelta
