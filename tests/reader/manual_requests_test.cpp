// Manual Mode: the six value buttons, the module search, and the address
// field with the "Module Values" window it clears.
#include "protocol/commands.h"
#include "protocol/requests.h"
#include "reader/number_text.h"
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

// The value buttons ask the typed address and count a missing answer after
// their answer time, without retry; the module search sends set and reset and
// never counts one. Any text leaves an address from 0 to 340, and each button
// then sends a request to it; every change empties the shown values.
TEST_F(ReaderFixture, ManualRequestsAskTheAddressTypedWhateverItsText) {
  openPort();
  click("Option2");
  clock.advance(100);
  const std::tuple<const char*, int, int> buttons[] = {
      {"Command15", cmd::ModuleType, 1000},       {"Command14", cmd::SoftwareRevision, 1000},
      {"Command13", cmd::HardwareRevision, 1000}, {"Command8", cmd::Voltage, 1000},
      {"Command56", cmd::Temperature, 1000},      {"Command12", cmd::Impedance, 2000}};
  type("Text2", "12");
  int missing = 0;
  for (const auto& [button, command, answerMs] : buttons) {
    SCOPED_TRACE(button);
    clearFrames();
    const qint64 t = clock.nowMs();
    click(button);
    ASSERT_EQ(frames().size(), 1u);
    EXPECT_EQ(frames()[0].atMs, t);
    EXPECT_EQ(frameAddress(frames()[0].frame), 12);
    EXPECT_EQ(frameCommand(frames()[0].frame), command);
    EXPECT_EQ(text("Label21"), "12");
    clock.advance(answerMs - 1);
    EXPECT_EQ(text("Label7").toInt(), missing);
    clock.advance(1);
    EXPECT_EQ(text("Label7").toInt(), ++missing);
    clock.advance(3000);
    EXPECT_EQ(frames().size(), 1u);  // no retry, no further step
  }
  clearFrames();
  type("Text2", "0");
  click("Command23");
  click("Command66");
  clock.advance(5000);
  ASSERT_EQ(frames().size(), 2u);
  EXPECT_EQ(frames()[0].frame, request::moduleSearch(0, SearchAction::StartFlashing));
  EXPECT_EQ(frames()[1].frame, request::moduleSearch(0, SearchAction::StopFlashing));
  EXPECT_EQ(text("Label7").toInt(), missing);

  const std::pair<QString, QString> exact[] = {
      {"-3", "0"}, {"500", "340"}, {"", "1"}, {"abc", "1"}, {"0", "0"}, {"340", "340"}, {"5", "5"}};
  for (const auto& [typed, shown] : exact) {
    type("Text2", typed);
    EXPECT_EQ(text("Text2"), shown) << "typed '" << typed.toStdString() << "'";
  }
  receive(reply(5, cmd::Voltage, 0x01, 0xF4));
  receive(reply(5, cmd::HardwareRevision, 3, 1));
  EXPECT_EQ(text("Text4", window("Form4")), ".500");
  type("Text2", "6");
  for (const char* f : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
    EXPECT_EQ(text(f, window("Form4")), "") << f;

  for (const QString& typed : kAwkwardTexts) {
    SCOPED_TRACE("typed '" + typed.left(20).toStdString() + "'");
    type("Text2", typed);
    const auto address = strictNumber(text("Text2"));
    ASSERT_TRUE(address && *address >= 0 && *address <= 340) << text("Text2").toStdString();
    clearFrames();
    for (const char* button : {"Command15", "Command14", "Command13", "Command8", "Command56",
                               "Command12", "Command23", "Command66"})
      click(button);
    ASSERT_EQ(frames().size(), 8u);
    const int to = frameAddress(frames()[0].frame);
    EXPECT_LE(to, 340);
    for (const auto& f : frames()) EXPECT_EQ(frameAddress(f.frame), to);
  }
}

}  // namespace
}  // namespace zelta::testing
