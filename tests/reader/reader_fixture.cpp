#include "reader_fixture.h"

#include "reader/grid_window.h"

namespace zelta::testing {

ReaderFixture::ReaderFixture() : WindowFixture(7) { restart(); }

QString ReaderFixture::cellText(const char* form, int index) {
  auto* grid = qobject_cast<GridWindow*>(window(form));
  EXPECT_NE(grid, nullptr) << form;
  return grid ? grid->cellText(index) : QString();
}

void ReaderFixture::restart() {
  form1.reset();
  settle();
  line.close();
  clearFrames();
  form1 = std::make_unique<ReaderWindow>(platform);
  form1->show();
}

void ReaderFixture::menu(const QString& name) {
  auto* a = form1->findChild<QAction*>(name);
  ASSERT_NE(a, nullptr) << name.toStdString();
  ASSERT_TRUE(a->isEnabled()) << name.toStdString();
  a->trigger();
}

void ReaderFixture::choosePort(int listIndex) {
  auto* combo = find<QComboBox>("Combo2");
  ASSERT_TRUE(combo->isEnabled());
  combo->setCurrentIndex(listIndex);
  emit combo->activated(listIndex);
}

void ReaderFixture::openPort(const QString& portText) {
  auto* combo = find<QComboBox>("Combo2");
  ASSERT_TRUE(combo->isEnabled()) << "the port is open already";
  combo->setEditText(portText);
  click("Command36");
}

void ReaderFixture::prepareScan(const QString& rate, int first, int last, bool impedance) {
  openPort();
  click(QStringLiteral("Option3(%1)").arg(QStringList{"Fast", "Medium", "Slow"}.indexOf(rate)));
  type("Text8", QString::number(first));
  type("Text45", QString::number(last));
  tick("Check7", impedance);
  clearFrames();
}

void ReaderFixture::receive(const Frame& frame) {
  for (std::uint8_t b : frame) emit line.byteReceived(b);
}

const QStringList kAwkwardTexts = {
    "", "   ", "abc", "-1", "0", "1.5", "339.9", "340", "341", "65536", "1e3", "-1e3", "&H10",
    "&HFFFF", "0x10", "12abc", "1,5", "NaN", "inf", "-inf", "1e400", "1e-400", QString(5000, '9'),
    QString(5000, '0') + "7", "1" + QString(400, '0') + "e-400",  // exactly 1
    QString::fromUtf8("\uff11\uff12"),                              // full-width 12
    QString::fromUtf8("\u0661\u0662"),                              // Arabic-Indic 12
    QString::fromUtf8("12\u00a0"), QString::fromUtf8("\u00e9t\u00e9")};

}  // namespace zelta::testing
