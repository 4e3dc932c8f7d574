#include "reader_fixture.h"

#include <QCoreApplication>
#include <QEvent>

#include "reader/grid_window.h"

namespace zelta::testing {

ReaderFixture::ReaderFixture() {
  form1 = std::make_unique<ReaderWindow>(platform);
  form1->show();
}

ReaderFixture::~ReaderFixture() {
  form1.reset();
  settle();
}

void ReaderFixture::settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString ReaderFixture::text(const QString& name, QWidget* in) {
  QWidget* w = find(name, in);
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  return w ? w->windowTitle() : QString();
}

QString ReaderFixture::cellText(const char* form, int index) {
  auto* grid = qobject_cast<GridWindow*>(window(form));
  EXPECT_NE(grid, nullptr) << form;
  return grid ? grid->cellText(index) : QString();
}

void ReaderFixture::click(const QString& name, QWidget* in) {
  if (auto* b = find<QAbstractButton>(name, in)) b->click();
}

void ReaderFixture::type(const QString& name, const QString& text, QWidget* in) {
  if (auto* e = find<QLineEdit>(name, in)) e->setText(text);
}

void ReaderFixture::menu(const QString& name) {
  auto* a = form1->findChild<QAction*>(name);
  ASSERT_NE(a, nullptr) << name.toStdString();
  a->trigger();
}

void ReaderFixture::choosePort(int listIndex) {
  auto* combo = find<QComboBox>("Combo2");
  combo->setCurrentIndex(listIndex);
  emit combo->activated(listIndex);
}

void ReaderFixture::openPort(const QString& portText) {
  find<QComboBox>("Combo2")->setEditText(portText);
  click("Command36");
}

void ReaderFixture::prepareScan(const QString& rate, int first, int last, bool impedance) {
  openPort();
  const char* names[] = {"Fast", "Medium", "Slow"};
  for (int i = 0; i < 3; ++i)
    if (rate == names[i]) click(QStringLiteral("Option3(%1)").arg(i));
  type("Text8", QString::number(first));
  type("Text45", QString::number(last));
  find<QCheckBox>("Check7")->setChecked(impedance);
  clearFrames();
}

void ReaderFixture::receive(const Frame& frame) {
  for (std::uint8_t b : frame) emit line.byteReceived(b);
}

Frame reply(std::uint16_t address, std::uint8_t command, std::uint8_t d4, std::uint8_t d5,
            std::uint8_t d6) {
  return buildFrame({static_cast<std::uint8_t>(address >> 8),
                     static_cast<std::uint8_t>(address & 0xFF), command, d4, d5, d6, 0, 0, 0});
}

std::vector<std::pair<int, int>> requests(const std::vector<BusSimulator::WireFrame>& frames) {
  std::vector<std::pair<int, int>> out;
  for (const auto& f : frames) out.emplace_back(frameAddress(f.frame), frameCommand(f.frame));
  return out;
}

}  // namespace zelta::testing
