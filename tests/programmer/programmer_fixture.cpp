#include "tests/programmer/programmer_fixture.h"

#include <QApplication>
#include <iomanip>

namespace zelta::test {

void PrintTo(const Sent& s, std::ostream* os) {
  *os << "at " << s.atMs << " ms:";
  for (std::uint8_t b : s.frame) *os << ' ' << std::hex << std::setw(2) << std::setfill('0') << int(b);
  *os << std::dec;
}

void ProgrammerFixture::start(const QString& arguments) {
  window.reset();
  settle();
  line.close();
  forgetFrames();
  boxes.clearAsked();
  environment.arguments = arguments;
  window = std::make_unique<ProgrammerWindow>(platform);
}

void ProgrammerFixture::startOpen(const QString& arguments) {
  start(arguments);
  click("Command36");
  forgetFrames();
}

QWidget* ProgrammerFixture::topLevel(const char* name) const {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String(name)) return w;
  return nullptr;
}

std::vector<Sent> ProgrammerFixture::sent() const {
  std::vector<Sent> out;
  for (const auto& f : bus.hostFrames()) out.push_back({f.atMs, f.frame});
  return out;
}

}  // namespace zelta::test
