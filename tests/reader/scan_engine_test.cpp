// The scan: request order, captions and timing at each rate, the fast step,
// impedance sweeps, the address range, Stop, Close and Manual Mode, and
// replies that are corrupt, late or from unknown addresses.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <cmath>

#include "protocol/commands.h"
#include "reader/number_text.h"
#include "reader/value_store.h"
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

// Counts the layout requests that reach a window or any widget in it, and the
// paints of its widgets other than one.
struct RedrawCounter : QObject {
  RedrawCounter(QWidget& w, QWidget& allowed) : window(w), allowed(allowed) {
    qApp->installEventFilter(this);
  }
  bool eventFilter(QObject* o, QEvent* e) override {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || !window.isAncestorOf(w)) return false;
    layouts += e->type() == QEvent::LayoutRequest;
    otherPaints += e->type() == QEvent::Paint && w != &allowed;
    return false;
  }
  QWidget& window;
  QWidget& allowed;
  int layouts = 0, otherPaints = 0;
};

using Requests = std::vector<std::pair<int, int>>;
constexpr int MT = cmd::ModuleType, HW = cmd::HardwareRevision, SW = cmd::SoftwareRevision,
              U = cmd::Voltage, T = cmd::Temperature, Z = cmd::Impedance;

class ScanEngineTest : public ReaderFixture {
 protected:
  Requests requests() {  // (address, command) of each frame sent
    Requests out;
    for (const auto& f : frames()) out.emplace_back(frameAddress(f.frame), frameCommand(f.frame));
    return out;
  }
  int countOf(int command) {
    return int(std::count_if(frames().begin(), frames().end(),
                             [&](const auto& f) { return frameCommand(f.frame) == command; }));
  }
};

// No module answers: every request is a missing answer, one request per
// phase-timer interval, and without Check7 never an impedance sweep.
TEST_F(ScanEngineTest, EachRateAsksEveryModuleInTurnWithItsStepAndAnswerTime) {
  const std::pair<int, const char*> sweeps[] = {  // each asks modules 1 and 2
      {MT, "Module Type Module: "}, {HW, "Hardware Type Module: "}, {SW, "Software Type Module: "},
      {U, "Voltage Module: "},      {T, "Temperature Module: "},    {U, "Voltage Module: "}};
  for (const auto& [rate, stepMs, answerMs] :
       {std::tuple{"Medium", 300, 280}, {"Slow", 1000, 980}}) {
    SCOPED_TRACE(rate);
    restart();
    prepareScan(rate, 1, 2);
    const qint64 t0 = clock.nowMs();
    click("Command16");
    clock.advance(stepMs - 1);
    EXPECT_TRUE(frames().empty());
    for (std::size_t i = 0; i < 2 * std::size(sweeps); ++i) {
      const auto [command, caption] = sweeps[i / 2];
      const int address = int(i % 2) + 1;
      clock.advanceTo(t0 + stepMs * qint64(i + 1));
      ASSERT_EQ(frames().size(), i + 1);
      EXPECT_EQ(requests()[i], std::make_pair(address, command)) << i;
      EXPECT_EQ(text("Label37"), caption) << i;
      EXPECT_EQ(text("Label21"), QString::number(address)) << i;
      EXPECT_EQ(text("Label7"), QString::number(i)) << i;
    }
    clock.advance(answerMs - 1);
    EXPECT_EQ(text("Label7"), "11");
    clock.advance(1);
    EXPECT_EQ(text("Label7"), "12");
    clock.advance(20 * 60000);
    EXPECT_EQ(countOf(Z), 0);
    EXPECT_EQ(text("Text1"), "1");
  }
}

// Module after module, the address shown changes and nothing else in the main
// window is laid out or drawn again, while it looks as it did.
TEST_F(ScanEngineTest, FastFollowsEachReplyBy10msLaysNothingOutAgainStepsOnFromAnyReply) {
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
  ASSERT_TRUE(clock.advanceUntil([&] { return text("Label21") == "1"; }, 2000));  // a sweep begins
  for (int i = 0; i < 3; ++i) QApplication::processEvents();  // all laid out as it stands
  auto& label = *find<QLabel>("Label21");
  RedrawCounter counter(*form1, label);
  const QString before = label.text();
  for (int i = 0; i < 10; ++i) {  // a request at a time, as the event loop would see them
    clock.advance(36);
    QApplication::processEvents();
  }
  EXPECT_NE(label.text(), before);
  EXPECT_LE(counter.layouts, 1);  // a layout now and then, never one (of every frame) per request
  EXPECT_EQ(counter.otherPaints, 0);
  const QImage shown = form1->grab().toImage();  // the label looks as it did
  const QPoint corner = label.mapTo(form1.get(), QPoint(0, 0));
  EXPECT_EQ(shown.pixelColor(corner), shown.pixelColor(corner - QPoint(0, 1)));
  // A valid reply from outside the tables stops the answer timer as well: the
  // scan must step on from it instead of waiting for ever.
  bus.setSilentRange(1, kModules);
  const std::size_t sent = frames().size() + 2;
  ASSERT_TRUE(clock.advanceUntil([&] { return frames().size() == sent; }, 2000));
  receive(reply(0, cmd::ModuleType, 1));
  clock.advance(50);
  ASSERT_EQ(frames().size(), sent + 1);
  EXPECT_EQ(frames().back().atMs, clock.nowMs() - 40);
}

// At the Fast rate with module 1 answering: the impedance sweep still asks
// one module every 1500 ms, waits 1450 ms for an answer, pauses 1500 ms.
TEST_F(ScanEngineTest, ImpedanceSweepFollowsTheFirstMinuteTickAtItsOwnPace) {
  bus.addModules(2, 1);
  bus.setSilentRange(2, 2);
  prepareScan("Fast", 1, 2, true);
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
  EXPECT_EQ(text("Label37"), "Impedance Module: ");
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

// The exact corrections first, and a start after the end shrinks the range to
// the start; then after any text each field holds a number and a scan asks
// addresses from 0 to 340 only (a start between 0 and 1 asks address 0).
TEST_F(ScanEngineTest, AddressFieldsCorrectThemselvesAndAnyTextLeavesAScanThatRuns) {
  const std::tuple<const char*, const char*, const char*> cases[] = {  // field, typed, shown
      {"Text45", "400", "340"}, {"Text45", "abc", "2"}, {"Text45", "0.5", "1"},
      {"Text45", "2.5", "3"},   {"Text45", "-3", "1"},  {"Text45", "340", "340"},
      {"Text8", "0", "1"},      {"Text8", "", "1"},     {"Text8", "400", "339"},
      {"Text8", "0.5", "1"},    {"Text8", "1.4", "1"},  {"Text8", " 12 ", " 12 "},
      {"Text1", "soon", "1"},   {"Text1", "7", "7"},
  };
  bus.addModules(3, 1);
  prepareScan("Medium", 5, 3, true);
  click("Command16");
  EXPECT_EQ(text("Text45"), "5");
  clock.advance(7 * 300);
  EXPECT_EQ(requests(),
            (Requests{{5, MT}, {5, HW}, {5, SW}, {5, U}, {5, T}, {5, U}, {5, T}}));
  click("Command17");
  type("Text8", "1");
  for (const auto& [field, typed, shown] : cases) {
    type(field, typed);
    EXPECT_EQ(text(field), shown) << field << " typed '" << typed << "'";
  }
  const auto holds = [&](const char* field, double low, double high) {
    const auto v = strictNumber(text(field));
    return v && *v >= low && *v <= high;
  };
  for (const QString& typed : kAwkwardTexts) {
    SCOPED_TRACE("typed '" + typed.left(20).toStdString() + "'");
    type("Text8", typed);
    type("Text45", typed);
    EXPECT_TRUE(holds("Text8", 0, 339)) << text("Text8").left(40).toStdString();
    EXPECT_TRUE(holds("Text45", 1, 340)) << text("Text45").left(40).toStdString();
    clearFrames();
    click("Command16");
    type("Text1", typed);  // read by the minute tick and at the end of each temperature sweep
    clock.advance(61000);
    EXPECT_TRUE(holds("Text1", -HUGE_VAL, HUGE_VAL)) << text("Text1").left(40).toStdString();
    click("Command17");
    EXPECT_GE(frames().size(), 5u);
    for (const auto& f : frames()) EXPECT_LE(frameAddress(f.frame), 340);
  }
}

// Replies as a Medium scan of modules 1 to 2 receives them, from its first
// request (module type to module 1) on. A wrong check byte counts once and is
// also a missing answer; each request forgets the part of an earlier reply
// that came in: a cut-off frame costs no check error. Values go by the
// reply's own address; replies from outside the tables change nothing.
TEST_F(ScanEngineTest, RepliesCountCheckErrorsOnceAndGoWhereTheirAddressSays) {
  const auto empty = [&](ValueKind kind, int address) {
    return std::holds_alternative<std::monostate>(form1->store().at(kind, address - 1));
  };
  prepareScan("Medium", 1, 2);
  click("Command16");
  clock.advance(301);
  Frame bad = reply(1, cmd::ModuleType, 1);
  bad[10] ^= 0x5A;
  receive(bad);
  EXPECT_EQ(text("Label8"), "1");
  EXPECT_EQ(find<Lamp>("crc")->colour(), colour::Red);
  EXPECT_TRUE(empty(ValueKind::ModuleType, 1));
  clock.advance(278);  // the answer timer runs out 280 ms after the request
  EXPECT_EQ(text("Label7"), "0");
  clock.advance(1);
  EXPECT_EQ(text("Label7"), "1");
  for (std::size_t i = 0; i < 6; ++i) emit line.byteReceived(bad[i]);
  clock.advance(21);  // the next request
  receive(reply(2, cmd::ModuleType, 21));
  EXPECT_EQ(text("Label8"), "1");
  EXPECT_EQ(cellText("Form7", 1), "S12");

  receive(reply(2, cmd::Voltage, 0x33, 0x90));  // 13.2 V from module 2
  EXPECT_EQ(form1->store().at(ValueKind::Voltage, 1), StoredValue(13.2));
  EXPECT_TRUE(empty(ValueKind::Voltage, 1));
  EXPECT_EQ(cellText("Form2", 1), "13.200");
  for (int address : {0, 341, 0xFFFF}) {
    receive(reply(static_cast<std::uint16_t>(address), cmd::Temperature, 120));
    for (int a = 1; a <= kModuleCount; ++a) ASSERT_TRUE(empty(ValueKind::Temperature, a));
  }
  receive(reply(1, cmd::Temperature, 120));
  EXPECT_EQ(form1->store().at(ValueKind::Temperature, 0), StoredValue(21.0));
}

// Stop, Close and Manual Mode end the scan for good: in an impedance sweep
// (after one of two impedances, or in the pause after both), with a fast step
// pending, and with a Medium request on its way to a module that answers (1)
// or not (2), then "Fast" picked. A new Start begins anew.
TEST_F(ScanEngineTest, StopCloseAndManualModeEndTheScanWhateverIsStillToCome) {
  struct Case {
    const char* rate;  // at "Medium", "Fast" is picked after the click
    int impedances;    // asked before the click (2: both, in the pause after); 0: no sweep
    int address;
    const char* control;
  };
  const Case cases[] = {
      {"Fast", 1, 1, "Command17"}, {"Fast", 1, 1, "Command38"},   {"Fast", 1, 1, "Option2"},
      {"Fast", 2, 1, "Command17"}, {"Fast", 0, 1, "Command17"},   {"Fast", 0, 1, "Command38"},
      {"Fast", 0, 1, "Option2"},   {"Medium", 0, 1, "Command17"}, {"Medium", 0, 2, "Command17"}};
  bus.addModules(2, 1);
  bus.setSilentRange(2, 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.rate) + " impedances " + std::to_string(c.impedances) + " " +
                 c.control + " module " + std::to_string(c.address));
    const bool pickFast = std::string(c.rate) == "Medium";
    const auto on = [&](const char* timer) { return form1->findChild<Timer*>(timer)->isEnabled(); };
    restart();
    prepareScan(c.rate, c.address, c.impedances ? 2 : c.address, c.impedances > 0);
    click("Command16");
    if (c.impedances == 2) {
      ASSERT_TRUE(clock.advanceUntil([&] { return on("Timer10") && !on("Timer8"); }, 2 * 60000));
    } else if (c.impedances == 1) {
      ASSERT_TRUE(clock.advanceUntil([&] { return countOf(Z) == 1; }, 2 * 60000));
      clock.advance(100);  // answered; the next request is due 1400 ms later
    } else {
      ASSERT_TRUE(
          clock.advanceUntil([&] { return pickFast ? !frames().empty() : on("Timer12"); }, 5000));
    }
    click(c.control);
    if (pickFast) click("Option3(0)");
    const std::size_t sent = frames().size();
    const QString missing = text("Label7");
    clock.advance(5 * 60000);
    EXPECT_EQ(frames().size(), sent);
    if (!pickFast) {
      EXPECT_EQ(text("Label7"), missing);  // nor requests into a closed port
    }
    if (std::string(c.control) == "Command17") {
      clearFrames();
      click("Command16");
      clock.advance(301);
      EXPECT_EQ(requests(), (Requests{{c.address, MT}}));
    }
  }
}

}  // namespace
}  // namespace zelta::testing
