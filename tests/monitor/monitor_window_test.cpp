// The frame monitor in both programs, opened as a user opens it, against the
// simulated bus with faults: what its table shows, its bound on memory, its
// controls, and that a closed monitor is not listening.
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTableView>

#include "monitor/frame_monitor_window.h"
#include "protocol/commands.h"
#include "tests/programmer/programmer_fixture.h"
#include "tests/reader/reader_fixture.h"

namespace zelta::testing {
namespace {

using monitor::FrameMonitorWindow;

FrameMonitorWindow* shownMonitor() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "FrameMonitor" && w->isVisible())
      return static_cast<FrameMonitorWindow*>(w);
  return nullptr;
}

// The table as the user sees it: one list of column texts per row.
std::vector<QStringList> shownRows(FrameMonitorWindow& w) {
  const QAbstractItemModel* m = w.findChild<QTableView*>("Monitor_Table")->model();
  std::vector<QStringList> rows;
  for (int r = 0; r < m->rowCount(); ++r) {
    QStringList row;
    for (int c = 0; c < m->columnCount(); ++c) row << m->index(r, c).data().toString();
    rows.push_back(row);
  }
  return rows;
}

enum Col { Time, Dir, Bytes, Address, Command, Meaning, Check };

int countWhere(const std::vector<QStringList>& rows, int column, const QString& starts) {
  return int(std::count_if(rows.begin(), rows.end(),
                           [&](const QStringList& r) { return r[column].startsWith(starts); }));
}

class ReaderMonitor : public ReaderFixture {
 protected:
  FrameMonitorWindow& open() {
    menu("Frame_Monitor");
    FrameMonitorWindow* w = shownMonitor();
    EXPECT_NE(w, nullptr);
    return *w;
  }
};

TEST_F(ReaderMonitor, ShowsEveryFrameDecodedWithNoiseBytesAndMissingAnswersOnTheRefreshTick) {
  bus.addModules(3, 1);
  bus.module(1).millivolts = 12345;
  bus.setSilentRange(3, 3);
  bus.setFaults({.noiseByte = 0.3});
  FrameMonitorWindow& w = open();
  prepareScan("Fast", 1, 3);
  click("Command16");
  clock.advance(3000);
  click("Command17");
  clock.advance(2 * monitor::kRefreshMs);

  const auto rows = shownRows(w);
  QStringList sent;
  for (const auto& r : rows)
    if (r[Dir] == "TX") sent << r[Bytes];
  QStringList wire;
  for (const auto& f : frames())
    wire << QByteArray(reinterpret_cast<const char*>(f.frame.data()), kFrameSize).toHex(' ');
  EXPECT_EQ(sent.join('\n').toLower(), wire.join('\n'));
  ASSERT_GT(bus.injected().noiseBytes, 0u);
  EXPECT_EQ(countWhere(rows, Meaning, "byte dropped"), int(bus.injected().noiseBytes));
  EXPECT_EQ(countWhere(rows, Meaning, "no answer from 3"), text("Label7").toInt());
  const auto it = std::find_if(rows.begin(), rows.end(),
                               [](const QStringList& r) { return r[Meaning].contains("12.345"); });
  ASSERT_NE(it, rows.end());
  EXPECT_EQ(it->mid(1).join('|'),
            "RX|23 00 02 12 30 39 00 00 00 00 4E|2|0x12 voltage|voltage reply, 12.345 V|ok");
  EXPECT_EQ(countWhere(rows, Meaning, "module type reply, Q12"), 2);

  // The table stands still while events come, however many: it catches up at
  // the next request after the refresh tick, here with none at the tick after.
  const std::size_t shown = rows.size();
  for (int i = 0; i < 5000; ++i) emit line.byteReceived(0x55);
  clock.advance(monitor::kRefreshMs - 1);
  EXPECT_EQ(shownRows(w).size(), shown);
  clock.advance(monitor::kRefreshMs + 1);
  EXPECT_EQ(shownRows(w).size(), shown + 5000);
}

// A reply so late that the next request goes out while it is on the line:
// the request forgets the part received, and the rest is noise, not an answer,
// although the line held that part back to hand the frame over whole.
TEST_F(ReaderMonitor, ARequestForgetsTheStartOfALateReplyUnderway) {
  bus.addModules(1, 1);
  bus.module(0).millivolts = 12345;
  bus.setFaults({.lateReply = 1, .lateByMs = 980});  // on the line from 995 to 1006 ms
  FrameMonitorWindow& w = open();
  openPort();
  click("Option2");
  type("Text2", "1");
  click("Command8");
  clock.advance(1001);
  click("Command8");
  clock.advance(100 + 2 * monitor::kRefreshMs);
  QStringList meanings, dropped;
  for (const auto& r : shownRows(w)) {
    meanings << r[Meaning].section(' ', 0, 1);
    if (meanings.back() == "byte dropped") dropped << r[Bytes];
  }
  EXPECT_EQ(meanings, QStringList({"voltage request", "no answer", "voltage request"}) +
                          QStringList(5, "byte dropped"));
  const Frame late = reply(1, cmd::Voltage, 0x30, 0x39);
  const QByteArray tail(reinterpret_cast<const char*>(&late[6]), 5);
  EXPECT_EQ(dropped.join(' ').toStdString(), tail.toHex(' ').toUpper().toStdString());
}

TEST_F(ReaderMonitor, MemoryStaysWithinTheKeptNumberAfterMoreEventsThanThat) {
  settings.setValue(monitor::kKeepSetting, 1000);
  bus.addModules(20, 1);
  FrameMonitorWindow& w = open();
  EXPECT_EQ(w.findChild<QSpinBox*>("Monitor_Keep")->value(), 1000);
  prepareScan("Fast", 1, 20);
  click("Command16");
  clock.advance(60000);  // about 4,000 events
  // Rows the ring let go of since the last refresh show nothing, not newer events.
  const auto during = shownRows(w);
  for (std::size_t i = 1; i < during.size(); ++i) {
    if (during[i - 1][Time].isEmpty()) continue;
    ASSERT_LE(during[i - 1][Time].toLongLong(), during[i][Time].toLongLong()) << i;
  }
  click("Command17");
  clock.advance(2 * monitor::kRefreshMs);
  ASSERT_GT(w.ring().end(), 3000u);
  EXPECT_EQ(w.ring().size(), 1000u);
  EXPECT_LE(w.ring().storageSlots(), 1000u);
  const auto rows = shownRows(w);
  ASSERT_EQ(rows.size(), 1000u);
  EXPECT_EQ(rows.front()[Time].toLongLong(), w.ring().at(w.ring().first()).event.timeMs);
  EXPECT_GT(rows.front()[Time].toLongLong(), 40000);

  // Drawn from cached pictures, the scroll bar looks as the style draws it,
  // wherever its handle goes.
  QScrollBar* bar = w.findChild<QTableView*>("Monitor_Table")->verticalScrollBar();
  QStyle* cached = bar->style();
  ASSERT_NE(cached, QApplication::style());
  for (int value : {bar->maximum(), 0, bar->maximum() / 3}) {
    bar->setValue(value);
    const QImage picture = bar->grab().toImage();
    bar->setStyle(QApplication::style());
    EXPECT_TRUE(picture == bar->grab().toImage()) << "handle at " << value;
    bar->setStyle(cached);
  }
}

// A monitor subscribes when built and unsubscribes when destroyed: closed, it is gone.
int monitorsAlive() {
  const auto all = QApplication::allWidgets();
  return int(std::count_if(all.begin(), all.end(),
                           [](QWidget* w) { return w->objectName() == "FrameMonitor"; }));
}

// One monitor, alive only while open, closing with the main window; its entry
// in the View menu the string overview shares.
TEST_F(ReaderMonitor, PauseFilterFindSaveClearAndOneMonitorAliveOnlyWhileOpen) {
  EXPECT_EQ(monitorsAlive(), 0);
  bus.addModules(4, 1);
  FrameMonitorWindow& w = open();
  prepareScan("Fast", 1, 4);
  click("Command16");
  clock.advance(2000);
  click("Monitor_Pause", &w);
  const std::uint64_t kept = w.ring().end();
  clock.advance(2000);
  EXPECT_EQ(w.ring().end(), kept);
  EXPECT_TRUE(text("Monitor_Status", &w).contains("events not kept while paused"));
  click("Monitor_Pause", &w);
  clock.advance(2000);
  EXPECT_GT(w.ring().end(), kept);

  type("Monitor_Address", "2-3", &w);
  w.findChild<QComboBox*>("Monitor_Command")->setCurrentIndex(2);  // 0x12 voltage
  auto rows = shownRows(w);
  ASSERT_FALSE(rows.empty());
  for (const auto& r : rows) {
    EXPECT_TRUE(r[Address] == "2" || r[Address] == "3") << r.join('|').toStdString();
    EXPECT_EQ(r[Command], "0x12 voltage");
  }
  type("Monitor_Address", "2-", &w);
  EXPECT_TRUE(text("Monitor_Note", &w).startsWith("Address: give a number"));
  EXPECT_EQ(shownRows(w).size(), rows.size()) << "the last good filter stays";

  type("Monitor_Find", "voltage reply", &w);
  click("Monitor_FindNext", &w);
  auto* table = w.findChild<QTableView*>("Monitor_Table");
  ASSERT_TRUE(table->currentIndex().isValid());
  EXPECT_EQ(rows[table->currentIndex().row()][Meaning].left(13), "voltage reply");
  type("Monitor_Find", "no such thing", &w);
  click("Monitor_FindNext", &w);
  EXPECT_EQ(text("Monitor_Note", &w), "\"no such thing\" not found");

  files.queuePath("/home/tech/logs/frames.csv");
  files.queue({SaveResult::Outcome::Failed, "/nowhere/frames.txt", "Permission denied"});
  click("Monitor_SaveCsv", &w);
  EXPECT_EQ(text("Monitor_Note", &w),
            QString("%1 events written to /home/tech/logs/frames.csv").arg(rows.size()));
  click("Monitor_SaveText", &w);
  EXPECT_EQ(text("Monitor_Note", &w), "Could not write /nowhere/frames.txt: Permission denied");
  ASSERT_EQ(files.saved().size(), 1u);
  const QStringList lines =
      QString::fromUtf8(files.saved()[0].contents).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), int(rows.size()) + 1);
  EXPECT_EQ(lines[1].section(';', 5, 5), rows[0][Meaning]);
  EXPECT_EQ(settings.value("monitor/saveDirectory").toString(), "/home/tech/logs");

  click("Monitor_Clear", &w);
  EXPECT_TRUE(shownRows(w).empty());
  EXPECT_EQ(w.ring().size(), 0u);

  const auto views = form1->menuBar()->findChildren<QMenu*>("View");
  ASSERT_EQ(views.size(), 1);
  QStringList entries;
  for (const QAction* a : views[0]->actions()) entries << a->objectName();
  EXPECT_TRUE(entries.contains("Frame_Monitor") && entries.contains("String_Overview"))
      << entries.join(' ').toStdString();
  EXPECT_EQ(&open(), &w) << "the menu raises the open monitor";
  EXPECT_EQ(monitorsAlive(), 1);
  w.close();
  settle();
  EXPECT_EQ(monitorsAlive(), 0);
  open();
  form1->close();
  settle();
  EXPECT_EQ(monitorsAlive(), 0);
}

using ProgrammerMonitor = test::ProgrammerFixture;

TEST_F(ProgrammerMonitor, ModuleSearchWithoutAnswerShowsTheRequestsAndTheMissingAnswer) {
  startOpen();
  click("Frame_Monitor");
  auto* w = shownMonitor();
  ASSERT_NE(w, nullptr);
  click("Option2");
  type("Text5", "7");
  click("Command7");
  clock.advance(4000 + 3000 + monitor::kRefreshMs);
  std::vector<QStringList> meanings;
  for (const QStringList& r : shownRows(*w))
    meanings.push_back({r[Address], r[Command], r[Meaning]});
  EXPECT_EQ(meanings,
            (std::vector<QStringList>{{"500", "0x14 collective", "collective request (wake-up)"},
                                      {"7", "0xFC module search", "module search: start flashing"},
                                      {"7", "0xFC module search", "no answer from 7"}}));
}

}  // namespace
}  // namespace zelta::testing
