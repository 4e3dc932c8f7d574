// The scan: request order and timing, the fast step, impedance sweeps with
// their countdown, the address range and its corrections, Stop, the switch to
// Manual Mode, and replies that are corrupt, late or from unknown addresses.
#include "protocol/commands.h"
#include "reader/value_store.h"
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

using Requests = std::vector<std::pair<int, int>>;
constexpr int MT = cmd::ModuleType, HW = cmd::HardwareRevision, SW = cmd::SoftwareRevision,
              U = cmd::Voltage, T = cmd::Temperature, Z = cmd::Impedance;

class ScanEngineTest : public ReaderFixture {
 protected:
  int countOf(int command) {
    int n = 0;
    for (const auto& f : frames()) n += frameCommand(f.frame) == command;
    return n;
  }
};

TEST_F(ScanEngineTest, MediumWithoutAnswersAsksEveryModuleEvery300msAndNeverImpedanceWithoutCheck7) {
  prepareScan("Medium", 1, 2);
  const qint64 t0 = clock.nowMs();
  click("Command16");
  clock.advance(14 * 300 + 1);
  const Requests expected = {{1, MT}, {2, MT}, {1, HW}, {2, HW}, {1, SW}, {2, SW}, {1, U},
                             {2, U},  {1, T},  {2, T},  {1, U},  {2, U},  {1, T},  {2, T}};
  EXPECT_EQ(requests(frames()), expected);
  for (std::size_t i = 0; i < frames().size(); ++i)
    EXPECT_EQ(frames()[i].atMs, t0 + 300 * qint64(i + 1)) << "request " << i;
  // Each request counts one missing answer, 280 ms after it went out.
  EXPECT_EQ(text("Label7"), "13");
  clock.advance(279);
  EXPECT_EQ(text("Label7"), "14");
  // With Check7 cleared no impedance sweep ever runs.
  clock.advance(20 * 60000);
  EXPECT_EQ(countOf(Z), 0);
  EXPECT_EQ(text("Text1"), "1");
}

TEST_F(ScanEngineTest, FastFollowsEachReplyBy10ms) {
  constexpr int kModules = 20;
  bus.addModules(kModules, 1);
  std::vector<qint64> replies;
  bus.setTraceSink([&](const BusSimulator::TraceEvent& e) {
    if (!e.fromHost) replies.push_back(e.atMs);
  });
  prepareScan("Fast", 1, kModules);
  click("Command16");
  clock.advance(300 + 6 * kModules * 45);
  ASSERT_GE(frames().size(), std::size_t(5 * kModules));
  ASSERT_GE(replies.size(), std::size_t(5 * kModules));
  for (std::size_t i = 0; i + 1 < std::size_t(5 * kModules); ++i)
    EXPECT_EQ(frames()[i + 1].atMs, replies[i] + 10) << "request " << i + 1;
  EXPECT_EQ(text("Label7"), "0");
  // A sweep of n modules takes n times (exchange + 10 ms).
  const qint64 exchange = replies[0] - frames()[0].atMs;
  const qint64 sweep = frames()[kModules].atMs - frames()[0].atMs;
  EXPECT_NEAR(double(sweep), double(kModules * (exchange + 10)), kModules * 1.0);
}

TEST_F(ScanEngineTest, ImpedanceSweepFollowsTheFirstMinuteTick) {
  prepareScan("Medium", 1, 2, true);
  QStringList countdown;
  QObject::connect(find<QLineEdit>("Text1"), &QLineEdit::textChanged,
                   [&](const QString& t) { countdown << t; });
  const qint64 t0 = clock.nowMs();
  click("Command16");
  clock.advance(60000);
  EXPECT_EQ(countOf(Z), 0);
  EXPECT_EQ(text("Text1"), "0");
  // The temperature sweep under way ends, then one request every 1500 ms.
  clock.advanceUntil([&] { return countOf(Z) == 2; }, 10000);
  std::vector<qint64> z;
  for (const auto& f : frames())
    if (frameCommand(f.frame) == Z) z.push_back(f.atMs - t0);
  ASSERT_EQ(z.size(), 2u);
  EXPECT_EQ(z[1] - z[0], 1500);
  EXPECT_EQ(text("Text1"), "15");
  // Missing answer after 1450 ms, then a 1500 ms pause and the voltage sweep.
  const QString missing = text("Label7");
  clock.advance(1449);
  EXPECT_EQ(text("Label7"), missing);
  clock.advance(1);
  EXPECT_EQ(text("Label7").toInt(), missing.toInt() + 1);
  clock.advanceTo(t0 + z[1] + 1500 + 300);
  EXPECT_EQ(frameCommand(frames().back().frame), U);
  EXPECT_EQ(frames().back().atMs, t0 + z[1] + 1800);
  // The countdown falls by one per minute, reaches 0 and a new sweep sets 15.
  ASSERT_TRUE(clock.advanceUntil([&] { return countOf(Z) == 4; }, 16 * 60000));
  const QStringList expected = {"0", "15", "14", "13", "12", "11", "10", "9", "8",
                                "7", "6",  "5",  "4",  "3",  "2",  "1",  "0", "15"};
  EXPECT_EQ(countdown, expected);
}

TEST_F(ScanEngineTest, CountdownStaysAtZeroUntilAnImpedanceSweep) {
  prepareScan("Medium", 1, 340, true);
  click("Command16");
  clock.advance(3 * 60000 + 10);
  EXPECT_EQ(text("Text1"), "0");
  EXPECT_EQ(countOf(Z), 0);
}

TEST_F(ScanEngineTest, StartAfterTheEndShrinksTheRangeToTheStart) {
  prepareScan("Medium", 5, 3);
  click("Command16");
  EXPECT_EQ(text("Text45"), "5");
  clock.advance(7 * 300);
  EXPECT_EQ(requests(frames()),
            (Requests{{5, MT}, {5, HW}, {5, SW}, {5, U}, {5, T}, {5, U}, {5, T}}));
}

TEST_F(ScanEngineTest, AddressFieldsCorrectThemselves) {
  struct Case {
    const char* field;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {"Text45", "400", "340"}, {"Text45", "abc", "2"},  {"Text45", "0.5", "1"},
      {"Text45", "2.5", "3"},   {"Text45", "-3", "1"},   {"Text45", "340", "340"},
      {"Text8", "0", "1"},      {"Text8", "", "1"},      {"Text8", "400", "339"},
      {"Text8", "0.5", "1"},    {"Text8", "1.4", "1"},   {"Text8", " 12 ", " 12 "},
      {"Text1", "soon", "1"},   {"Text1", "7", "7"},     {"Text2", "-3", "0"},
      {"Text2", "500", "340"},  {"Text2", "", "1"},      {"Text2", "abc", "1"},
      {"Text2", "0", "0"},      {"Text2", "340", "340"},
  };
  openPort();
  for (const Case& c : cases) {
    type(c.field, c.typed);
    EXPECT_EQ(text(c.field), c.shown) << c.field << " typed '" << c.typed << "'";
  }
}

TEST_F(ScanEngineTest, StopAndManualModeHaltTheScanAndStartBeginsWithModuleType) {
  bus.addModules(4, 1);
  prepareScan("Medium", 1, 4);
  click("Command16");
  clock.advance(6 * 300 + 50);  // into the hardware sweep
  click("Command17");
  auto sent = frames().size();
  clock.advance(5000);
  EXPECT_EQ(frames().size(), sent);
  clearFrames();
  click("Command16");
  clock.advance(301);
  EXPECT_EQ(requests(frames()), (Requests{{1, MT}}));
  clock.advance(700);
  click("Option2");
  sent = frames().size();
  clock.advance(10000);
  EXPECT_EQ(frames().size(), sent);
}

// Replies as the scan receives them, left just after the first request
// (module type to module 1) of a Medium scan of modules 1 to 2.
// A valid reply from an address outside the tables stops the answer timer;
// the Fast scan must still step on instead of waiting for ever.
TEST_F(ScanEngineTest, AFastScanStepsOnAfterAReplyFromOutsideTheTables) {
  prepareScan("Fast", 1, 3);  // no module answers: the fast step drives the scan
  click("Command16");
  ASSERT_TRUE(clock.advanceUntil([&] { return frames().size() >= 3; }, 5000));
  const qint64 sentAt = frames().back().atMs;
  receive(reply(0, cmd::ModuleType, 1));
  clock.advance(50);
  ASSERT_EQ(frames().size(), 4u);
  EXPECT_EQ(frames().back().atMs, sentAt + 10);
}

// A stopped scan stays stopped, whatever rate is picked afterwards and whatever
// fast step, reply or time-out is still to come: a Fast scan with its fast step
// pending at Stop or Close; a Medium scan stopped with its last request on its
// way to a module that answers (1) or to a silent one (2), then "Fast" picked.
TEST_F(ScanEngineTest, AStoppedScanStaysStopped) {
  struct Case {
    const char* rate;
    int address;
    const char* control;
    bool pickFast;
  };
  const Case cases[] = {{"Fast", 1, "Command17", false},
                        {"Fast", 1, "Command38", false},
                        {"Medium", 1, "Command17", true},
                        {"Medium", 2, "Command17", true}};
  bus.addModules(1, 1);
  Timer* fastStep = form1->findChild<Timer*>("Timer12");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.rate) + " " + c.control + " module " + std::to_string(c.address));
    prepareScan(c.rate, c.address, c.address);
    click("Command16");
    ASSERT_TRUE(clock.advanceUntil(
        [&] { return c.pickFast ? !frames().empty() : fastStep->isEnabled(); }, 5000));
    click(c.control);
    if (c.pickFast) click("Option3(0)");
    const std::size_t sent = frames().size();
    const QString missing = text("Label7");
    clock.advance(5000);
    EXPECT_EQ(frames().size(), sent);
    if (std::string(c.control) == "Command38") {
      EXPECT_EQ(text("Label7"), missing);  // no requests into a closed port either
    } else {
      click("Command38");
    }
  }
}

class ReceiveTest : public ScanEngineTest {
 protected:
  void SetUp() override {
    prepareScan("Medium", 1, 2);
    click("Command16");
    clock.advance(301);
  }
  const StoredValue& stored(ValueKind kind, int address) {
    return form1->store().at(kind, address - 1);
  }
};

TEST_F(ReceiveTest, WrongCheckByteCountsOnceAndIsAlsoAMissingAnswer) {
  Frame bad = reply(1, cmd::ModuleType, 1);
  bad[10] ^= 0x5A;
  receive(bad);
  EXPECT_EQ(text("Label8"), "1");
  EXPECT_EQ(find<Lamp>("crc")->colour(), colour::Red);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(stored(ValueKind::ModuleType, 1)));
  clock.advance(278);  // the answer timer runs out 280 ms after the request
  EXPECT_EQ(text("Label7"), "0");
  clock.advance(1);
  EXPECT_EQ(text("Label7"), "1");
}

TEST_F(ReceiveTest, ALateReplyIsFiledUnderItsOwnAddress) {
  receive(reply(2, cmd::Voltage, 0x33, 0x90));  // 13.2 V from module 2
  EXPECT_EQ(stored(ValueKind::Voltage, 2), StoredValue(13.2));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(stored(ValueKind::Voltage, 1)));
  EXPECT_EQ(cellText("Form2", 1), "13.200");
}

TEST_F(ReceiveTest, RepliesFromOutsideTheTablesChangeNothingAndTheReceiverStaysReady) {
  for (int address : {0, 341, 0xFFFF}) {
    receive(reply(static_cast<std::uint16_t>(address), cmd::Temperature, 120));
    for (int a = 1; a <= kModuleCount; ++a)
      ASSERT_TRUE(std::holds_alternative<std::monostate>(stored(ValueKind::Temperature, a)));
  }
  receive(reply(1, cmd::Temperature, 120));
  EXPECT_EQ(stored(ValueKind::Temperature, 1), StoredValue(21.0));
}

}  // namespace
}  // namespace zelta::testing
