// The value grid windows: layout, "More Values", refill versus live updates,
// "Quit" and reopening, cells that cannot be edited, and clearing at Start.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QScrollArea>
#include <QScrollBar>

#include "protocol/commands.h"
#include "reader/value_store.h"
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

class GridWindowsTest : public ReaderFixture {
 protected:
  QLineEdit* cell(const char* form, int index) {
    return find<QLineEdit>(QStringLiteral("Text1(%1)").arg(index), window(form));
  }
  // How wide the cells show without scrolling, and how far they scroll.
  static int cellsShown(QWidget* w) { return w->findChild<QScrollArea*>()->viewport()->width(); }
  static int cellsScroll(QWidget* w) {
    return w->findChild<QScrollArea*>()->horizontalScrollBar()->maximum();
  }
};

// Twips at 15 to the pixel: column c at 390 + 762 (c - 1), blocks from 600.
// Narrow, modules 1 to 100 show; "More Values" widens the window to all.
TEST_F(GridWindowsTest, LayoutMoreValuesQuitReopeningLiveValuesAndEmptiedAtStart) {
  prepareScan("Medium", 1, 340);
  click("Command16");
  menu("Module_Voltage");
  QWidget* w = window("Form2");
  ASSERT_TRUE(w->isVisible());
  for (const auto& [module, left, top] : {std::tuple{1, 26, 40}, {21, 77, 40}, {100, 229, 592}, {340, 839, 592}})
    EXPECT_EQ(cell("Form2", module - 1)->geometry(), QRect(left, top, 42, 19)) << "module " << module;
  EXPECT_EQ(text("Label5", w), "16");
  EXPECT_EQ(text("Label69", w), "336");
  // Narrow: modules 1 to 100 show, 101 on are beyond the edge, with the
  // buttons below the cells (scrolled on a screen too low for them).
  EXPECT_EQ(cellsShown(w), 280);
  EXPECT_EQ(cellsScroll(w), 0);
  EXPECT_EQ(w->height(), std::min(671, w->screen()->availableGeometry().height() - 48));
  EXPECT_EQ(find("Command28", w)->mapTo(w, QPoint(0, 0)).y(), w->height() - 31);
  receive(reply(21, cmd::Voltage, 0x33, 0x90));
  EXPECT_EQ(cell("Form2", 20)->text(), "13.200");
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_9, Qt::NoModifier, "9");
  QCoreApplication::sendEvent(cell("Form2", 20), &typed);
  EXPECT_EQ(cell("Form2", 20)->text(), "13.200") << "a cell cannot be edited";
  click("Command1", w);
  // Wide: all 17 columns, as far as the screen allows, and scrolled beyond.
  EXPECT_GT(cellsShown(w) + cellsScroll(w), cell("Form2", 339)->geometry().right());
  EXPECT_FALSE(find("Command1", w)->isEnabled());
  click("Command28", w);
  EXPECT_EQ(window("Form2"), nullptr);
  settle();
  menu("Module_Voltage");
  ASSERT_NE(window("Form2"), nullptr);
  EXPECT_EQ(cellsShown(window("Form2")), 280);
  EXPECT_TRUE(find("Command1", window("Form2"))->isEnabled());
  EXPECT_EQ(cell("Form2", 20)->text(), "13.2");
  EXPECT_EQ(cell("Form2", 21)->text(), "");
  receive(reply(21, cmd::Voltage, 0x33, 0x90));
  EXPECT_EQ(cell("Form2", 20)->text(), "13.200");
  // Start empties every cell, and the table, only with "Clear old values".
  receive(reply(1, cmd::HardwareRevision, 3, 1));
  receive(reply(340, cmd::SoftwareRevision, 2, 10, 3));
  EXPECT_EQ(cellText("Form8", 339), "2.10.3");
  click("Command17");
  menu("Hardware_Revision");
  click("Command28", window("Form9"));  // the table alone keeps the value
  ASSERT_TRUE(find<QCheckBox>("Check1")->isChecked());
  click("Command16");
  EXPECT_EQ(cellText("Form8", 339), "");
  menu("Hardware_Revision");
  EXPECT_EQ(cell("Form9", 0)->text(), "");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(form1->store().at(ValueKind::Hardware, 0)));
  // Without the tick a new Start keeps what came in.
  receive(reply(2, cmd::ModuleType, 20));
  click("Command17");
  tick("Check1", false);
  click("Command16");
  EXPECT_EQ(cellText("Form7", 1), "S11");
}

}  // namespace
}  // namespace zelta::testing
