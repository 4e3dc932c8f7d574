// The value grid windows: layout, "More Values", refill versus live updates,
// "Quit" and reopening, and clearing at Start.
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
  void scanning() {
    prepareScan("Medium", 1, 340);
    click("Command16");
  }
};

// Twips at 15 to the pixel: column c at 390 + 762 (c - 1), blocks from 600.
// Narrow, modules 1 to 100 show; "More Values" widens the window to all.
TEST_F(GridWindowsTest, LayoutMoreValuesQuitAndReopeningWithLiveValuesInThreeDecimals) {
  scanning();
  menu("Module_Voltage");
  QWidget* w = window("Form2");
  ASSERT_TRUE(w->isVisible());
  for (const auto& [module, left, top] : {std::tuple{1, 26, 40}, {21, 77, 40}, {100, 229, 592}, {340, 839, 592}})
    EXPECT_EQ(cell("Form2", module - 1)->geometry(), QRect(left, top, 42, 19)) << "module " << module;
  EXPECT_EQ(text("Label5", w), "16");
  EXPECT_EQ(text("Label69", w), "336");
  EXPECT_EQ(w->size(), QSize(280, 671));
  EXPECT_LE(cell("Form2", 99)->geometry().right(), w->width());
  EXPECT_GE(cell("Form2", 100)->geometry().left(), w->width());
  receive(reply(21, cmd::Voltage, 0x33, 0x90));
  EXPECT_EQ(cell("Form2", 20)->text(), "13.200");
  click("Command1", w);
  EXPECT_GT(w->width(), cell("Form2", 339)->geometry().right());
  EXPECT_FALSE(find("Command1", w)->isEnabled());
  click("Command28", w);
  EXPECT_EQ(window("Form2"), nullptr);
  settle();
  menu("Module_Voltage");
  ASSERT_NE(window("Form2"), nullptr);
  EXPECT_EQ(window("Form2")->width(), 280);
  EXPECT_TRUE(find("Command1", window("Form2"))->isEnabled());
  EXPECT_EQ(cell("Form2", 20)->text(), "13.2");
  EXPECT_EQ(cell("Form2", 21)->text(), "");
  receive(reply(21, cmd::Voltage, 0x33, 0x90));
  EXPECT_EQ(cell("Form2", 20)->text(), "13.200");
}

TEST_F(GridWindowsTest, StartEmptiesEveryCellAndTableOnlyWithClearOldValues) {
  scanning();
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
