#include "string_views.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "outlier_colours.h"
#include "platform/platform.h"
#include "reader_state.h"
#include "reading_events.h"
#include "string_overview_window.h"
#include "trend_window.h"

namespace zelta {
namespace {

// The "&View" menu, before "&Help"; shared with other views that add to it.
QMenu& viewMenu(QMainWindow& form1) {
  QMenuBar* bar = form1.menuBar();
  if (auto* menu = bar->findChild<QMenu*>(QStringLiteral("View"))) return *menu;
  auto* menu = new QMenu(QStringLiteral("&View"), bar);
  menu->setObjectName(QStringLiteral("View"));
  bar->insertMenu(bar->findChild<QAction*>(QStringLiteral("Help")), menu);
  return *menu;
}

template <class T>
T* control(QMainWindow& form1, const char* name) {
  return form1.findChild<T*>(QString::fromLatin1(name));
}

}  // namespace

StringViews::StringViews(QMainWindow& form1, const Sources& s)
    : platform_(s.platform),
      bus_(s.bus),
      state_(s.state),
      store_(s.store),
      tally_(s.bus),
      trend_(s.platform.clock, s.readings),
      bands_(OutlierBands::load(s.platform.settings)),
      startedAt_(QDateTime::currentDateTime()),
      startedAtMs_(s.platform.clock.nowMs()),
      overview_([this] { return new StringOverviewWindow(*this); }),
      trendWindow_([this] { return new TrendWindow(*this); }) {
  colours_ = new OutlierColours(
      platform_.clock, store_, s.grids, bands_, [this] { return range(); }, this);
  connect(&s.readings, &ReadingEvents::stored, this, [this](const Reading& r) {
    ++valuesVersion_;
    if (std::find(kMeasuredKinds.begin(), kMeasuredKinds.end(), r.kind) != kMeasuredKinds.end())
      colours_->refreshSoon();
  });
  connect(&s.readings, &ReadingEvents::cleared, this, [this] {
    tally_.clear();
    ++valuesVersion_;
    colours_->refreshSoon();
    if (StringOverviewWindow* w = overview_.get()) w->refreshSoon();
  });
  connectScanControls(form1);

  QMenu& menu = viewMenu(form1);
  QAction* overview = menu.addAction(QStringLiteral("&String Overview"));
  overview->setObjectName(QStringLiteral("String_Overview"));
  connect(overview, &QAction::triggered, this, &StringViews::openOverview);
  QAction* trend = menu.addAction(QStringLiteral("&Trend Plot"));
  trend->setObjectName(QStringLiteral("Trend_Plot"));
  connect(trend, &QAction::triggered, this, &StringViews::openTrend);
}

StringViews::~StringViews() { unload(); }

// Connected after the scan's own handlers, so these run once the scan has
// acted on the click.
void StringViews::connectScanControls(QMainWindow& form1) {
  const auto stopped = [this] { trend_.scanStopped(); };
  if (auto* stop = control<QPushButton>(form1, "Command17"))
    connect(stop, &QPushButton::clicked, this, stopped);
  if (auto* close = control<QPushButton>(form1, "Command38"))
    connect(close, &QPushButton::clicked, this, stopped);
  if (auto* manual = control<QRadioButton>(form1, "Option2"))
    connect(manual, &QRadioButton::toggled, this, [this](bool on) {
      if (on) trend_.scanStopped();
    });
  if (auto* start = control<QPushButton>(form1, "Command16"))
    connect(start, &QPushButton::clicked, this, [this] { trend_.scanStarted(); });
  for (const char* name : {"Text8", "Text45"})
    if (auto* field = control<QLineEdit>(form1, name))
      connect(field, &QLineEdit::textChanged, this, [this] { colours_->refreshSoon(); });
}

QWidget* StringViews::find(const QString& name) const {
  if (name == QLatin1String("String_Overview")) return overview_.get();
  if (name == QLatin1String("Trend_Plot")) return trendWindow_.get();
  return nullptr;
}

void StringViews::openOverview() {
  StringOverviewWindow& w = overview_.ensure();
  w.show();
  w.raise();
  w.activateWindow();
}

void StringViews::openTrend() {
  TrendWindow& w = trendWindow_.ensure();
  w.show();
  w.raise();
  w.activateWindow();
}

void StringViews::showInTrend(const std::vector<int>& addresses) {
  for (int a : addresses) trend_.pick(a);
  openTrend();
}

void StringViews::unload() {
  overview_.unload();
  trendWindow_.unload();
}

void StringViews::setBands(const OutlierBands& bands) {
  bands_ = bands;
  bands_.save(platform_.settings);
  ++valuesVersion_;
  colours_->refreshSoon();
}

std::pair<int, int> StringViews::range() const {
  return scanRange(state_.start_adr, state_.end_adr);
}

QString StringViews::timeText(qint64 clockMs) const {
  return startedAt_.addMSecs(clockMs - startedAtMs_).toString(QStringLiteral("hh:mm:ss"));
}

}  // namespace zelta
