// Replies as the scan receives them: corrupted frames, late replies, replies
// from addresses the tables do not cover, noise before a reply.
#include "protocol/commands.h"
#include "reader/value_store.h"
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

class ReceiveTest : public ReaderFixture {
 protected:
  // A Medium scan of modules 1 to 2 with nobody answering, left just after
  // the first request (module type to module 1).
  void scanWaitingForModule1() {
    prepareScan("Medium", 1, 2);
    click("Command16");
    clock.advance(301);
  }
  const StoredValue& stored(ValueKind kind, int address) {
    return form1->store().at(kind, address - 1);
  }
};

TEST_F(ReceiveTest, WrongCheckByteCountsOnceAndIsAlsoAMissingAnswer) {
  scanWaitingForModule1();
  Frame bad = reply(1, cmd::ModuleType, 1);
  bad[10] ^= 0x5A;
  receive(bad);
  EXPECT_EQ(text("Label8"), "1");
  EXPECT_EQ(find<Lamp>("crc")->colour(), colour::Red);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(stored(ValueKind::ModuleType, 1)));
  clock.advance(200);
  EXPECT_EQ(find<Lamp>("crc")->colour(), colour::DarkRed);
  clock.advance(80);
  EXPECT_EQ(text("Label7"), "1");
}

TEST_F(ReceiveTest, AValidReplyStopsTheAnswerTimerAndFlashesOk) {
  scanWaitingForModule1();
  receive(reply(1, cmd::ModuleType, 1));
  EXPECT_EQ(find<Lamp>("ok")->colour(), colour::Green);
  EXPECT_EQ(stored(ValueKind::ModuleType, 1), StoredValue(QString("Q12")));
  clock.advance(280);
  EXPECT_EQ(text("Label7"), "0");
  EXPECT_EQ(find<Lamp>("ok")->colour(), colour::DarkGreen);
}

TEST_F(ReceiveTest, ALateReplyIsFiledUnderItsOwnAddress) {
  scanWaitingForModule1();
  receive(reply(2, cmd::Voltage, 0x33, 0x90));  // 13.2 V from module 2
  EXPECT_EQ(stored(ValueKind::Voltage, 2), StoredValue(13.2));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(stored(ValueKind::Voltage, 1)));
  EXPECT_EQ(cellText("Form2", 1), "13.200");
}

TEST_F(ReceiveTest, RepliesFromOutsideTheTablesChangeNothingAndTheReceiverStaysReady) {
  scanWaitingForModule1();
  for (int address : {0, 341, 0xFFFF}) {
    receive(reply(static_cast<std::uint16_t>(address), cmd::Temperature, 120));
    for (int a = 1; a <= kModuleCount; ++a)
      ASSERT_TRUE(std::holds_alternative<std::monostate>(stored(ValueKind::Temperature, a)));
  }
  receive(reply(1, cmd::Temperature, 120));
  EXPECT_EQ(stored(ValueKind::Temperature, 1), StoredValue(21.0));
}

TEST_F(ReceiveTest, NoiseAndAStrayStartBeforeAReplyAreSkipped) {
  scanWaitingForModule1();
  for (std::uint8_t b : {0x00, 0x7F, 0x23, 0x01}) emit line.byteReceived(b);
  receive(reply(1, cmd::HardwareRevision, 3, 1));
  EXPECT_EQ(stored(ValueKind::Hardware, 1), StoredValue(QString("3.1")));
}

TEST_F(ReceiveTest, FastScanGoesOnAfterAReplyFromAnUnknownAddress) {
  prepareScan("Fast", 1, 2);
  click("Command16");
  clock.advance(301);
  receive(reply(0, cmd::ModuleType, 1));  // answers the request, files nothing
  clock.advance(10);
  EXPECT_EQ(requests(frames()),
            (std::vector<std::pair<int, int>>{{1, cmd::ModuleType}, {2, cmd::ModuleType}}));
}

}  // namespace
}  // namespace zelta::testing
