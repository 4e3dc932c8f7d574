// The string overview, the outlier colours and the trend plot on a scan of the
// simulated string: counts against the injected faults, found modules, mixed
// revisions, outliers, sorting, export, the trend's passes, zoom and memory.
#include <QChart>
#include <QChartView>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QImage>
#include <QLineSeries>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QValueAxis>
#include <QtTest/QTest>
#include <map>
#include <numeric>

#include "protocol/commands.h"
#include "reader/outlier_bands.h"
#include "reader/overview_model.h"
#include "reader/pass_trend.h"
#include "reader/trend_window.h"
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

using Col = OverviewModel::Column;

class StringViewsTest : public ReaderFixture {
 protected:
  // Every module at 13.2 V, 23 degrees, 3.5 mOhm, Rev. 3.1.
  void evenString(int modules) {
    for (int a = 1; a <= modules; ++a) bus.addModule({.address = std::uint16_t(a)});
  }
  void scan(int last, qint64 ms) {
    prepareScan("Fast", 1, last);
    click("Command16");
    clock.advance(ms);
    click("Command17");
    clock.advance(PassTrend::kStopGraceMs);
  }
  QWidget* overview() {
    if (!window("String_Overview")) menu("String_Overview");
    return window("String_Overview");
  }
  QAbstractItemModel* rows() { return find<QTableView>("Overview_Modules", overview())->model(); }
  QModelIndex cell(int address, int column) {
    QAbstractItemModel* m = rows();
    for (int r = 0; r < m->rowCount(); ++r)
      if (m->index(r, Col::Address).data().toInt() == address) return m->index(r, column);
    ADD_FAILURE() << "no row for module " << address;
    return {};
  }
  QString at(int address, int column) { return cell(address, column).data().toString(); }
  QColor colourAt(int address, int column) { return cell(address, column).data(Qt::BackgroundRole).value<QColor>(); }
  QColor gridColour(const char* form, int index) {
    return find<QLineEdit>(QStringLiteral("Text1(%1)").arg(index), window(form))->palette().color(QPalette::Base);
  }
};

// Requests, answers, missing answers and CRC errors of every module equal
// what went out to it and what the simulator did to its replies; modules that
// never answered, replies from outside the range, mixed revisions and
// outliers (a weak block, a hot module, one of high impedance) stand out in
// the overview and in the grid windows; a module within the band does not.
TEST_F(StringViewsTest, PerModuleCountsFoundModulesMixedRevisionsAndOutliers) {
  evenString(24);
  for (int i = 0; i < 3; ++i) bus.module(i).hwMinor = 0;
  bus.module(6).millivolts = 12600;
  bus.module(1).millivolts = 13400;
  bus.module(8).temperatureByte = 136;
  bus.module(13).impedance = 500;
  bus.setSilentRange(17, 17);
  prepareScan("Fast", 1, 24, true);
  click("Command16");
  // Faults from the voltage passes on: every module's revisions are in.
  ASSERT_TRUE(clock.advanceUntil([&] { return text("Label37") == "Voltage Module: "; }, 10000));
  bus.setModuleFaults(4, {.missingReply = 0.2, .corruptReply = 0.2});
  bus.setModuleFaults(11, {.missingReply = 0.2, .corruptReply = 0});
  clock.advance(100000);
  click("Command17");
  clock.advance(PassTrend::kStopGraceMs);
  receive(reply(30, cmd::Voltage, 0x33, 0x90));
  std::map<int, int> requested;
  for (const auto& f : frames()) ++requested[frameAddress(f.frame)];
  int missingSum = 0, crcSum = 0;
  for (int a = 1; a <= 24; ++a) {
    const InjectedFaults in = bus.injectedBy(a - 1);
    // A reply with a wrong check byte leaves the answer timer to run out.
    const int bad = int(in.corruptedReplies), lost = a == 17 ? requested[a] : int(in.missingReplies) + bad;
    EXPECT_EQ(at(a, Col::Requests).toInt(), requested[a]) << a;
    EXPECT_EQ(at(a, Col::Answers).toInt(), requested[a] - lost) << a;
    EXPECT_EQ(at(a, Col::Missing).toInt(), lost) << a;
    EXPECT_EQ(at(a, Col::CrcErrors).toInt(), bad) << a;
    missingSum += lost;
    crcSum += bad;
  }
  EXPECT_TRUE(bus.injectedBy(4).corruptedReplies > 2 && bus.injectedBy(11).missingReplies > 2);
  EXPECT_EQ(text("Label7").toInt(), missingSum);
  EXPECT_EQ(text("Label8").toInt(), crcSum);
  // Request on the line, 3 ms turnaround, reply on the line.
  EXPECT_EQ(at(1, Col::AnswerTime), "26");
  EXPECT_EQ(at(1, Col::MeanAnswerTime), "26.0");
  EXPECT_EQ(at(1, Col::State), "answering");
  EXPECT_EQ(text("Overview_Found", overview()),
            "Expected: 24 modules, addresses 1 to 24. Found: 23. Never answered: 17. "
            "Answered from outside the range: 30.");
  EXPECT_EQ(text("Overview_Mix", overview()), "Hardware: 3 modules report Rev. 3.0, 20 report Rev. 3.1");
  EXPECT_EQ(at(17, Col::State), "never answered");
  EXPECT_EQ(at(30, Col::State), "outside the range");
  EXPECT_EQ(at(2, Col::Hardware), "Rev. 3.0");
  EXPECT_TRUE(colourAt(17, Col::State).isValid() && colourAt(30, Col::Address).isValid());
  EXPECT_TRUE(colourAt(2, Col::Hardware).isValid());
  EXPECT_FALSE(colourAt(16, Col::State).isValid() || colourAt(4, Col::Hardware).isValid());
  for (const auto& [address, column, deviation] :
       {std::tuple{7, Col::Voltage, Deviation::Low}, {2, Col::Voltage, Deviation::None},
        {9, Col::Temperature, Deviation::High}, {14, Col::Impedance, Deviation::High},
        {14, Col::Voltage, Deviation::None}})
    EXPECT_EQ(colourAt(address, column), deviationColour(deviation)) << address;
  auto* stats = find<QTableWidget>("Overview_Statistics", overview());
  const QStringList voltageRow = {"12.600", "7", "13.400", "2", "13.183", "0.800", "23"};
  for (int c = 0; c < 7; ++c) EXPECT_EQ(stats->item(0, c)->text(), voltageRow[c]) << c;

  menu("Module_Voltage");
  menu("Temperature_E");
  const QColor plain = gridColour("Form2", 1);
  EXPECT_EQ(gridColour("Form2", 6), deviationColour(Deviation::Low));
  EXPECT_EQ(gridColour("Form3", 8), deviationColour(Deviation::High));
  // Manual Mode greys every cell alike; Scan Mode brings the colours back.
  click("Option2");
  EXPECT_EQ(gridColour("Form2", 6), gridColour("Form2", 1));
  click("Option1");
  EXPECT_EQ(gridColour("Form2", 6), deviationColour(Deviation::Low));
  click("Command28", window("Form2"));  // a window loaded anew has them too
  settle();
  menu("Module_Voltage");
  EXPECT_EQ(gridColour("Form2", 6), deviationColour(Deviation::Low));
  // A wider band, remembered for the next run.
  find<QDoubleSpinBox>("Band_Voltage", overview())->setValue(5);
  clock.advance(300);
  EXPECT_EQ(gridColour("Form2", 6), plain);
  EXPECT_FALSE(colourAt(7, Col::Voltage).isValid());
  EXPECT_EQ(settings.values.value("outliers/voltagePercent").toDouble(), 5.0);
}

// Noise and a stray start byte before every reply: the overview still
// redraws a few times a second, not per frame or byte.
TEST_F(StringViewsTest, SortsByAClickedColumnExportsWhatItShowsRedrawsCalmlyAndClears) {
  evenString(5);
  bus.module(3).millivolts = 12000;
  bus.setFaults({.noiseByte = 1, .strayStart = 1});
  QSignalSpy redraws(rows(), &QAbstractItemModel::dataChanged);
  scan(5, 10000);
  EXPECT_GT(redraws.count(), 10);
  EXPECT_LE(redraws.count(), (10000 + PassTrend::kStopGraceMs) / 250 + 1);
  QHeaderView* header = find<QTableView>("Overview_Modules", overview())->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(Col::Voltage) + 4, 4));
  EXPECT_EQ(rows()->index(0, Col::Address).data().toString(), "4");

  files.queuePath("/home/tech/overview.csv");
  click("Overview_Export", overview());
  ASSERT_EQ(files.saved().size(), 1u);
  const QStringList lines = QString::fromUtf8(files.saved()[0].contents).split("\r\n");
  ASSERT_EQ(lines.size(), 7);  // header, five modules, end of the last line
  EXPECT_TRUE(lines[0].startsWith("Address;State;Type;Hardware;Software;Voltage (V);"));
  EXPECT_TRUE(lines[1].startsWith("4;answering;Q12;Rev. 3.1;2.10.3;12.000;"))
      << lines[1].toStdString();

  ASSERT_TRUE(find<QCheckBox>("Check1")->isChecked());
  bus.module(1).millivolts = 11000;
  click("Command16");
  clock.advance(250);  // shown cleared from the first request on
  EXPECT_EQ(at(4, Col::Requests), "0");
  EXPECT_EQ(at(4, Col::Voltage), "");
  EXPECT_EQ(at(4, Col::State), "not asked yet");
  clock.advance(3000);  // the sorted rows follow the new readings
  EXPECT_EQ(rows()->index(0, Col::Address).data().toString(), "2");
}

// One point per voltage pass: the minimum, mean and maximum of the modules
// asked in it, the pass under way at Stop included; the picked module's
// trace from the moment it was picked.
TEST_F(StringViewsTest, TrendDrawsEachPassAndPickedModulesZoomsAndSavesAPicture) {
  bus.addModules(6, 1);
  scan(6, 2000);
  find<QTableView>("Overview_Modules", overview())->selectRow(2);
  click("Overview_Trend", overview());
  ASSERT_NE(window("Trend_Plot"), nullptr);
  clearFrames();
  click("Command16");
  ASSERT_TRUE(clock.advanceUntil(
      [&] { return text("Label37") == "Voltage Module: " && text("Label21") == "3"; }, 60000));
  click("Command17");
  clock.advance(PassTrend::kStopGraceMs + 500);

  std::vector<std::vector<double>> passes(1);  // volts of each voltage pass since the pick
  for (const auto& f : frames()) {
    if (frameCommand(f.frame) != cmd::Voltage) continue;
    const double v = bus.module(frameAddress(f.frame) - 1).millivolts / 1000.0;
    if (frameAddress(f.frame) == 1 && !passes.back().empty()) passes.emplace_back();
    passes.back().push_back(v);
  }
  QChart* chart = static_cast<TrendWindow*>(window("Trend_Plot"))->chart();
  const auto series = chart->series();
  ASSERT_EQ(series.size(), 4);
  EXPECT_EQ(series[3]->name(), "Module 3");
  const auto points = [&](int i) { return static_cast<QLineSeries*>(series[i])->points(); };
  const qsizetype before = points(0).size() - qsizetype(passes.size());
  ASSERT_GE(before, 0);
  for (std::size_t k = 0; k < passes.size(); ++k) {
    const auto& p = passes[k];
    const qsizetype i = before + qsizetype(k);
    EXPECT_DOUBLE_EQ(points(0)[i].y(), *std::min_element(p.begin(), p.end())) << k;
    EXPECT_NEAR(points(1)[i].y(), std::accumulate(p.begin(), p.end(), 0.0) / double(p.size()), 1e-9);
    EXPECT_DOUBLE_EQ(points(2)[i].y(), *std::max_element(p.begin(), p.end())) << k;
  }
  EXPECT_EQ(passes.back().size(), 3u);  // Stop came during module 3 of a pass
  EXPECT_EQ(points(3).size(), qsizetype(passes.size()));

  auto* x = static_cast<QValueAxis*>(chart->axes(Qt::Horizontal)[0]);
  const double span = x->max() - x->min();
  QTest::keyClick(find<QChartView>("Trend_Chart", window("Trend_Plot")), Qt::Key_Plus);
  EXPECT_LT(x->max() - x->min(), span * 0.9);
  click("Command16");
  clock.advance(3000);
  EXPECT_LT(x->max() - x->min(), span * 0.9);  // new points leave the zoom alone
  click("Trend_ResetZoom", window("Trend_Plot"));
  EXPECT_GE(x->max(), points(0).last().x());

  files.queuePath("/home/tech/trend.png");
  click("Trend_SavePng", window("Trend_Plot"));
  ASSERT_EQ(files.saved().size(), 1u);
  EXPECT_FALSE(QImage::fromData(files.saved()[0].contents, "PNG").isNull());
}

// A night of passes stays within the cap and still reaches back to the
// first pass, its lowest value kept.
TEST(PassTrendMemory, StaysWithinItsCapacityAndKeepsTheWholeRun) {
  VirtualClock clock;
  ReadingEvents readings;
  PassTrend trend(clock, readings);
  trend.pick(2);
  const int passes = 3 * int(PassTrend::kCapacity) + 5;
  for (int k = 0; k < passes; ++k)
    for (int a = 1; a <= 2; ++a)
      emit readings.stored(
          {ValueKind::Voltage, a, 13.0 + (k == 10 ? -1 : 0) + a * 0.1, {}, k * 1000});
  trend.scanStopped();
  clock.advance(PassTrend::kStopGraceMs);
  const auto& points = trend.passes(ValueKind::Voltage);
  EXPECT_LE(points.size(), PassTrend::kCapacity);
  EXPECT_GT(points.size(), PassTrend::kCapacity / 2);
  EXPECT_EQ(points.front().timeMs, 0);
  EXPECT_DOUBLE_EQ(
      std::min_element(points.begin(), points.end(), [](auto& a, auto& b) { return a.min < b.min; })
          ->min,
      12.1);
  EXPECT_LE(trend.trace(2, ValueKind::Voltage).size(), PassTrend::kCapacity);
  const auto weigh = [](int w, const PassPoint& p) { return w + p.weight; };
  EXPECT_EQ(std::accumulate(points.begin(), points.end(), 0, weigh), passes);
}

}  // namespace
}  // namespace zelta::testing
