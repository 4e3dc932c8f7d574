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

Frame replyFrame(std::uint16_t from, std::uint8_t command, std::uint8_t d4, std::uint8_t d5,
                 std::uint8_t d6, std::uint8_t d7, std::uint8_t d8, std::uint8_t d9) {
  return buildFrame(Payload{static_cast<std::uint8_t>(from >> 8),
                            static_cast<std::uint8_t>(from & 0xFF), command, d4, d5, d6, d7, d8,
                            d9});
}

}  // namespace zelta::test
