#include "report_charts.h"

#include <QDateTimeAxis>
#include <QGraphicsScene>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <QtCharts/QChart>
#include <algorithm>
#include <cmath>

#include "string_analysis.h"
#include "timestamp.h"

namespace zelta::report {
namespace {

qreal binTime(const BinnedSeries& s, int bin) {
  return static_cast<qreal>(toDateTime(s.binStart(bin) + s.binWidth() / 2).toMSecsSinceEpoch());
}

QString timeFormat(const BinnedSeries& s) {
  const std::int64_t span = s.binWidth() * std::max(1, s.bins());
  return span > 3 * 86400 ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("MM-dd hh:mm");
}

void render(QPainter& painter, const QRectF& target, QChart* chart) {
  QGraphicsScene scene;
  scene.addItem(chart);  // the scene owns the chart from here
  // Laid out at the size the target has on a 96 dpi screen, so that the
  // chart's fonts come out at their point sizes.
  const double screen = 96.0 / std::max(1, painter.device() ? painter.device()->logicalDpiX() : 96);
  const QSizeF size = target.size() * screen;
  chart->resize(size);
  scene.setSceneRect(QRectF(QPointF(0, 0), size));
  scene.render(&painter, target, scene.sceneRect());
}

QLineSeries* line(const QString& name, const QColor& colour, Qt::PenStyle style = Qt::SolidLine) {
  auto* s = new QLineSeries;
  s->setName(name);
  QPen pen(colour, 2);
  pen.setStyle(style);
  s->setPen(pen);
  return s;
}

void attachAxes(QChart* chart, const BinnedSeries& times, const QString& yTitle, double lo,
                double hi, int ticks) {
  auto* x = new QDateTimeAxis;
  x->setFormat(timeFormat(times));
  x->setTickCount(ticks);
  auto* y = new QValueAxis;
  y->setTitleText(yTitle);
  const double pad = std::max((hi - lo) * 0.1, 1e-3);
  y->setRange(lo - pad, hi + pad);
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  for (QAbstractSeries* s : chart->series()) {
    s->attachAxis(x);
    s->attachAxis(y);
  }
  if (!times.empty()) {
    x->setRange(
        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(binTime(times, 0))),
        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(binTime(times, times.bins() - 1))));
  }
}

}  // namespace

void drawStringVoltageChart(QPainter& painter, const QRectF& target, const StringAnalysis& a) {
  const BinnedSeries& v = a.stringVoltage();
  auto* chart = new QChart;
  chart->setTitle(QStringLiteral("String voltage: lowest, mean and highest block"));
  QLineSeries* lo = line(QStringLiteral("min"), QColor(0x1f, 0x5f, 0xbf));
  QLineSeries* mean = line(QStringLiteral("mean"), QColor(0x20, 0x20, 0x20));
  QLineSeries* hi = line(QStringLiteral("max"), QColor(0xc0, 0x30, 0x30));
  double low = 0, high = 0;
  bool any = false;
  for (int bin = 0; bin < v.bins(); ++bin) {
    const BinnedSeries::Cell& c = v.cell(0, bin);
    if (c.count == 0) continue;
    const qreal t = binTime(v, bin);
    lo->append(t, c.min);
    mean->append(t, c.mean());
    hi->append(t, c.max);
    low = any ? std::min(low, c.min) : c.min;
    high = any ? std::max(high, c.max) : c.max;
    any = true;
  }
  chart->addSeries(lo);
  chart->addSeries(mean);
  chart->addSeries(hi);
  attachAxes(chart, v, QStringLiteral("V"), low, high, 6);
  render(painter, target, chart);
}

void drawImpedanceTrend(QPainter& painter, const QRectF& target, const StringAnalysis& a,
                        int block) {
  const BinnedSeries& z = a.impedanceTrend();
  auto* chart = new QChart;
  chart->setTitle(QStringLiteral("Block %1: impedance against its baseline").arg(block));
  QLineSeries* trend = line(QStringLiteral("impedance"), QColor(0x20, 0x20, 0x20));
  double low = 0, high = 0;
  bool any = false;
  for (int bin = 0; bin < z.bins(); ++bin) {
    const BinnedSeries::Cell& c = z.cell(block - 1, bin);
    if (c.count == 0) continue;
    trend->append(binTime(z, bin), c.mean());
    low = any ? std::min(low, c.mean()) : c.mean();
    high = any ? std::max(high, c.mean()) : c.mean();
    any = true;
  }
  chart->addSeries(trend);
  if (const auto base = a.impedanceBaseline(block); base && !z.empty()) {
    const double limit = *base * (1 + a.settings().impedanceRisePercent / 100.0);
    QLineSeries* b = line(QStringLiteral("baseline"), QColor(0x1f, 0x8f, 0x3f), Qt::DashLine);
    QLineSeries* l = line(QStringLiteral("limit"), QColor(0xc0, 0x30, 0x30), Qt::DotLine);
    for (QLineSeries* s : {b, l}) {
      const double y = s == b ? *base : limit;
      s->append(binTime(z, 0), y);
      s->append(binTime(z, z.bins() - 1), y);
      chart->addSeries(s);
    }
    low = any ? std::min(low, *base) : *base;
    high = std::max(any ? high : limit, limit);
  }
  chart->legend()->setAlignment(Qt::AlignBottom);
  attachAxes(chart, z, QStringLiteral("mΩ"), low, high, 3);
  render(painter, target, chart);
}

void drawDeviationHeatMap(QPainter& painter, const QRectF& target, const StringAnalysis& a) {
  const BinnedSeries& d = a.deviation();
  int firstBlock = 0, lastBlock = 0;
  for (int n = 1; n <= kMaxBlocks; ++n)
    if (a.block(n).voltage.count) {
      if (!firstBlock) firstBlock = n;
      lastBlock = n;
    }
  painter.save();
  QFont font = painter.font();
  font.setPointSizeF(8);
  painter.setFont(font);
  const QFontMetricsF fm(font, painter.device());
  const double line = fm.height();
  const QRectF title(target.left(), target.top(), target.width(), line * 1.5);
  painter.drawText(title, Qt::AlignHCenter | Qt::AlignTop,
                   QStringLiteral("Deviation of each block from the string mean over time"));
  const double band = a.settings().voltageBandPercent;
  const double scale = std::max(band * 2, 0.1);  // full colour at twice the band
  const double left = fm.horizontalAdvance(QStringLiteral("Block 340 "));
  const double keyArea = line * 2 + fm.horizontalAdvance(QStringLiteral("+10.0 % "));
  const QRectF map(target.left() + left, title.bottom(), target.width() - left - keyArea,
                   target.height() - title.height() - 3 * line);
  if (firstBlock == 0 || d.empty()) {
    painter.drawText(map, Qt::AlignCenter, QStringLiteral("no voltage readings"));
    painter.restore();
    return;
  }
  const int rows = lastBlock - firstBlock + 1;
  QImage image(d.bins(), rows, QImage::Format_RGB32);
  for (int r = 0; r < rows; ++r)
    for (int bin = 0; bin < d.bins(); ++bin) {
      const BinnedSeries::Cell& c = d.cell(firstBlock - 1 + r, bin);
      QColor colour(0xdd, 0xdd, 0xdd);
      if (c.count) {
        const double x = std::clamp(c.mean() / scale, -1.0, 1.0);
        const int fade = static_cast<int>(std::lround(255 * (1 - std::abs(x))));
        colour = x < 0 ? QColor(fade, fade, 255) : QColor(255, fade, fade);
      }
      image.setPixel(bin, r, colour.rgb());
    }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(map, image);
  painter.setPen(Qt::black);
  painter.drawRect(map);
  // Block numbers down the side, times along the bottom.
  painter.save();
  painter.translate(target.left() + line / 2, map.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-map.height() / 2, -line / 2, map.height(), line), Qt::AlignCenter,
                   QStringLiteral("Block"));
  painter.restore();
  const int step = std::max(1, rows / 10);
  for (int r = 0; r < rows; r += step) {
    const double y = map.top() + (r + 0.5) * map.height() / rows;
    painter.drawText(
        QRectF(target.left() + line, y - line / 2, map.left() - target.left() - line - 4, line),
        Qt::AlignRight | Qt::AlignVCenter, QString::number(firstBlock + r));
  }
  const std::int64_t end = d.binStart(d.bins());
  const QString format = timeFormat(d);
  for (int k = 0; k <= 4; ++k) {
    const std::int64_t t = d.binStart(0) + (end - d.binStart(0)) * k / 4;
    const double x = map.left() + map.width() * k / 4;
    painter.drawText(QRectF(x - 60 * line, map.bottom() + 2, 120 * line, line), Qt::AlignHCenter,
                     toDateTime(t).toString(format));
  }
  // Colour key.
  const QRectF key(map.right() + line, map.top(), line, map.height());
  for (int i = 0; i < 100; ++i) {
    const double x = 1 - i / 49.5;
    const int fade = static_cast<int>(std::lround(255 * (1 - std::min(1.0, std::abs(x)))));
    painter.fillRect(
        QRectF(key.left(), key.top() + key.height() * i / 100, key.width(), key.height() / 100 + 1),
        x < 0 ? QColor(fade, fade, 255) : QColor(255, fade, fade));
  }
  painter.drawRect(key);
  const auto label = [&](double y, const QString& text) {
    painter.drawText(QRectF(key.right() + 4, y - line / 2, target.right() - key.right(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
  };
  label(key.top(), QStringLiteral("+%1 %").arg(scale));
  label(key.center().y(), QStringLiteral("0"));
  label(key.bottom(), QStringLiteral("-%1 %").arg(scale));
  painter.drawText(QRectF(target.left(), map.bottom() + line * 1.3, target.width(), line),
                   Qt::AlignHCenter,
                   QStringLiteral("blue below, red above the mean; grey: no reading"));
  painter.restore();
}

}  // namespace zelta::report
