#include "tests/programmer/programmer_fixture.h"

#include <QApplication>
#include <iomanip>

namespace zelta::test {

void PrintTo(const Sent& s, std::ostream* os) {
  *os << "at " << s.atMs << " ms:";
  for (std::uint8_t b : s.frame) *os << ' ' << std::hex << std::setw(2) << std::setfill('0') << int(b);
  *os << std::dec;
}

ProgrammerFixture::~ProgrammerFixture() {
  window.reset();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

Timer& ProgrammerFixture::timer(int n) const {
  return *find<Timer>(QStringLiteral("Timer%1").arg(n).toLatin1().constData());
}

QWidget* ProgrammerFixture::topLevel(const char* name) const {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String(name))
      return w;
  return nullptr;
}

void ProgrammerFixture::click(const char* name) const {
  QAbstractButton* b = find<QAbstractButton>(name);
  ASSERT_TRUE(b->isEnabled()) << name << " is not enabled";
  b->click();
}

void ProgrammerFixture::setText(const char* name, const QString& value) const {
  QLineEdit* e = find<QLineEdit>(name);
  ASSERT_TRUE(e->isEnabled()) << name << " is not enabled";
  e->setText(value);
}

QString ProgrammerFixture::text(const char* name) const {
  QWidget* w = find<QWidget>(name);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  ADD_FAILURE() << name << " has no text";
  return {};
}

bool ProgrammerFixture::enabled(const char* name) const { return find<QWidget>(name)->isEnabled(); }

QStringList ProgrammerFixture::title() const { return {text("Label1"), text("Label2")}; }

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
