// The programmer's main window on the shared window fixture. Tests look at
// the title lines, the boxes asked, the tones and the frames on the wire with
// their times.
#pragma once

#include <memory>
#include <vector>

#include "programmer/programmer_window.h"
#include "protocol/requests.h"
#include "tests/support/module_reply.h"
#include "tests/support/window_fixture.h"

namespace zelta::test {

using programmer::ProgrammerWindow;

struct Sent {
  qint64 atMs;
  Frame frame;
  bool operator==(const Sent&) const = default;
};
void PrintTo(const Sent& s, std::ostream* os);

class ProgrammerFixture : public testing::WindowFixture {
 protected:
  ProgrammerFixture() : WindowFixture(1) {}
  QWidget* mainWindow() const override { return window.get(); }

  // A fresh window with this argument string: the one before is gone, the
  // line closed, its frames and the boxes asked forgotten.
  void start(const QString& arguments = {});
  // Start-up, then "Open" on COM1, with the frames of Open forgotten.
  void startOpen(const QString& arguments = {});

  Timer& timer(int n) const { return *find<Timer>(QStringLiteral("Timer%1").arg(n)); }
  QWidget* topLevel(const char* name) const;  // a value window, if it exists
  // The two title lines.
  QStringList title() const { return {text("Label1"), text("Label2")}; }

  // Frames the program wrote since the last forgetFrames().
  std::vector<Sent> sent() const;
  void forgetFrames() { bus.clearHostFrames(); }
  // Puts a frame on the line as if a module sent it.
  void inject(const Frame& frame) {
    for (std::uint8_t b : frame) emit line.byteReceived(b);
  }

  std::unique_ptr<ProgrammerWindow> window;
};

using testing::reply;

}  // namespace zelta::test

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
