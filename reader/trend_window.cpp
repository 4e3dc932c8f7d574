#include "trend_window.h"

#include <QBuffer>
#include <QChart>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <iterator>
#include <limits>

#include "monitor/idle_line_refresh.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "string_views.h"
#include "trend_chart_view.h"
#include "widgets/named.h"

namespace zelta {
namespace {

constexpr int kRefreshMs = 500;
constexpr double kMsPerMinute = 60000.0;

const char* const kKindTexts[] = {"Voltage", "Temperature", "Impedance"};
const char* const kAxisTitles[] = {"Voltage (V)", "Temperature (°C)", "Impedance (mOhm)"};
const QColor kStringColours[] = {QColor(0x1F, 0x5F, 0xD0), QColor(0x20, 0x90, 0x30),
                                 QColor(0xD0, 0x30, 0x20)};
// Picked modules: dashed, in colours unlike the string's.
const QColor kModuleColours[] = {QColor(0x8E, 0x44, 0xAD), QColor(0x16, 0xA0, 0x85),
                                 QColor(0xE6, 0x7E, 0x22), QColor(0xD8, 0x1B, 0x60),
                                 QColor(0x79, 0x55, 0x48), QColor(0x7F, 0x8C, 0x8D),
                                 QColor(0x00, 0x00, 0x00), QColor(0xB7, 0x95, 0x0B)};

}  // namespace

TrendWindow::TrendWindow(StringViews& views)
    : views_(views),
      refresh_(new IdleLineRefresh(views.bus(), views.platform().clock,
                                   QStringLiteral("Trend_Timer"), kRefreshMs,
                                   [this] { refresh(); }, this)) {
  setObjectName(QStringLiteral("Trend_Plot"));
  setWindowTitle(QStringLiteral("Trend"));
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  kind_ = named(new QComboBox(this), "Trend_Kind");
  for (const char* k : kKindTexts) kind_->addItem(QString::fromLatin1(k));
  top->addWidget(new QLabel(QStringLiteral("Show"), this));
  top->addWidget(kind_);
  top->addStretch();
  auto* reset = named(new QPushButton(QStringLiteral("Reset Zoom"), this), "Trend_ResetZoom");
  auto* clear = named(new QPushButton(QStringLiteral("Clear Modules"), this), "Trend_ClearModules");
  auto* save = named(new QPushButton(QStringLiteral("Save as PNG..."), this), "Trend_SavePng");
  top->addWidget(reset);
  top->addWidget(clear);
  top->addWidget(save);
  layout->addLayout(top);

  chart_ = new QChart;
  chart_->setAnimationOptions(QChart::NoAnimation);
  chart_->legend()->setAlignment(Qt::AlignBottom);
  x_ = new QValueAxis(chart_);
  x_->setTitleText(QStringLiteral("Time (min)"));
  x_->setLabelFormat(QStringLiteral("%.1f"));
  y_ = new QValueAxis(chart_);
  chart_->addAxis(x_, Qt::AlignBottom);
  chart_->addAxis(y_, Qt::AlignLeft);
  for (const char* name : {"Minimum", "Mean", "Maximum"}) {
    QLineSeries* s = addSeries(QString::fromLatin1(name));
    s->setColor(kStringColours[series_.size() - 1]);
  }
  view_ = named(new TrendChartView(chart_, this), "Trend_Chart");
  view_->setRubberBand(QChartView::RectangleRubberBand);
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setFocusPolicy(Qt::StrongFocus);
  layout->addWidget(view_, 1);
  layout->addWidget(new QLabel(
      QStringLiteral(
          "Drag to zoom, right click to zoom out, wheel or +/- to zoom, middle button or "
          "arrow keys to pan. Module traces start when the modules are picked."),
      this));

  for (QValueAxis* axis : {x_, y_})
    connect(axis, &QValueAxis::rangeChanged, this, [this] {
      if (!settingAxes_) zoomed_ = true;
    });
  connect(kind_, &QComboBox::currentIndexChanged, this, &TrendWindow::refresh);
  connect(reset, &QPushButton::clicked, this, &TrendWindow::resetZoom);
  connect(clear, &QPushButton::clicked, this, [this] {
    views_.trend().clearPicked();
    refresh();
  });
  connect(save, &QPushButton::clicked, this, &TrendWindow::savePng);
  resize(900, 560);
}

QLineSeries* TrendWindow::addSeries(const QString& name) {
  auto* s = new QLineSeries(chart_);
  s->setName(name);
  chart_->addSeries(s);
  s->attachAxis(x_);
  s->attachAxis(y_);
  series_.push_back(s);
  return s;
}

void TrendWindow::refresh() {
  if (views_.trend().version() == seenVersion_ && kind_->currentIndex() == seenKind_) return;
  seenVersion_ = views_.trend().version();
  seenKind_ = kind_->currentIndex();
  redraw();
}

void TrendWindow::redraw() {
  const PassTrend& trend = views_.trend();
  const std::size_t k = static_cast<std::size_t>(std::max(0, kind_->currentIndex()));
  const ValueKind kind = kMeasuredKinds[k];
  y_->setTitleText(QString::fromUtf8(kAxisTitles[k]));

  const std::vector<PassPoint>& passes = trend.passes(kind);
  QList<QPointF> lines[3];
  for (auto& l : lines) l.reserve(static_cast<qsizetype>(passes.size()));
  for (const PassPoint& p : passes) {
    const double t = p.timeMs / kMsPerMinute;
    lines[0].append({t, p.min});
    lines[1].append({t, p.mean});
    lines[2].append({t, p.max});
  }
  for (int i = 0; i < 3; ++i) series_[static_cast<std::size_t>(i)]->replace(lines[i]);

  // One series per picked module, in the order picked.
  const std::vector<int>& picked = trend.picked();
  while (series_.size() > 3 + picked.size()) {
    chart_->removeSeries(series_.back());
    delete series_.back();
    series_.pop_back();
  }
  while (series_.size() < 3 + picked.size()) {
    QPen pen(kModuleColours[(series_.size() - 3) % std::size(kModuleColours)], 1.5, Qt::DashLine);
    addSeries({})->setPen(pen);
  }
  for (std::size_t i = 0; i < picked.size(); ++i) {
    QLineSeries* s = series_[3 + i];
    s->setName(QStringLiteral("Module %1").arg(picked[i]));
    QList<QPointF> points;
    for (const TracePoint& p : trend.trace(picked[i], kind))
      points.append({p.timeMs / kMsPerMinute, p.value});
    s->replace(points);
  }
  if (!zoomed_) fitAxes();
}

void TrendWindow::fitAxes() {
  double x0 = std::numeric_limits<double>::max(), x1 = std::numeric_limits<double>::lowest();
  double y0 = x0, y1 = x1;
  for (QLineSeries* s : series_)
    for (const QPointF& p : s->points()) {
      x0 = std::min(x0, p.x());
      x1 = std::max(x1, p.x());
      y0 = std::min(y0, p.y());
      y1 = std::max(y1, p.y());
    }
  if (x0 > x1) {  // nothing yet
    x0 = y0 = 0;
    x1 = y1 = 1;
  }
  if (x1 - x0 < 0.1) x1 = x0 + 0.1;
  const double pad = y1 > y0 ? (y1 - y0) * 0.05 : std::max(0.01, std::abs(y0) * 0.01);
  settingAxes_ = true;
  x_->setRange(x0, x1);
  y_->setRange(y0 - pad, y1 + pad);
  settingAxes_ = false;
}

void TrendWindow::resetZoom() {
  zoomed_ = false;
  fitAxes();
}

void TrendWindow::savePng() {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  view_->grab().save(&buffer, "PNG");
  Platform& p = views_.platform();
  const SaveResult result =
      p.files.save(this, QStringLiteral("Save Trend as PNG"), QStringLiteral("ZELTA_Trend.png"),
                   QStringLiteral("PNG pictures (*.png)"), png);
  if (result.outcome == SaveResult::Outcome::Failed)
    p.boxes.show(this, {QStringLiteral("Could not save %1: %2").arg(result.path, result.error),
                        QStringLiteral("Trend"), BoxIcon::Critical, BoxButtons::Ok});
}

void TrendWindow::showEvent(QShowEvent* event) {
  seenVersion_ = ~0ull;
  refresh();
  refresh_->start();
  QWidget::showEvent(event);
}

void TrendWindow::hideEvent(QHideEvent* event) {
  refresh_->stop();
  QWidget::hideEvent(event);
}

void TrendWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closing();
}

}  // namespace zelta
