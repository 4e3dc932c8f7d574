// The PDF a technician hands over: a summary page with the figures, the
// thresholds and every flag with its reason and readings; the charts; the
// impedance trend of each flagged block; the table of all blocks; and the
// lines that were skipped.
#include <QDateTime>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <set>

#include "health_report.h"
#include "report_charts.h"
#include "timestamp.h"

namespace zelta::report {
namespace {

constexpr int kTrendCharts = 36;  // flagged blocks with an impedance chart, at most

// Text flowing down the pages of the writer, a new page when one is full.
class PageFlow {
 public:
  PageFlow(QPdfWriter& writer, QPainter& painter) : writer_(writer), p_(painter) { top(); }

  QRectF area() const { return QRectF(0, 0, writer_.width(), writer_.height()); }
  double y() const { return y_; }
  double remaining() const { return writer_.height() - y_; }

  void newPage(QPageLayout::Orientation orientation = QPageLayout::Portrait) {
    writer_.setPageOrientation(orientation);
    writer_.newPage();
    top();
  }
  void ensure(double height) {
    if (y_ > 0 && height > remaining()) newPage(writer_.pageLayout().orientation());
  }
  void text(const QString& s, double points, bool bold = false, const QColor& colour = Qt::black,
            double indent = 0) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    p_.setFont(f);
    p_.setPen(colour);
    const QRectF box(indent, 0, writer_.width() - indent, 1e9);
    const QRectF need = p_.boundingRect(box, Qt::TextWordWrap, s);
    ensure(need.height());
    p_.drawText(QRectF(indent, y_, box.width(), need.height()), Qt::TextWordWrap, s);
    y_ += need.height();
  }
  void gap(double lines) { y_ += lines * p_.fontMetrics().height(); }
  QRectF take(double height) {
    ensure(height);
    const QRectF r(0, y_, writer_.width(), height);
    y_ += height;
    return r;
  }

 private:
  void top() { y_ = 0; }

  QPdfWriter& writer_;
  QPainter& p_;
  double y_ = 0;
};

void summaryPage(PageFlow& page, const HealthReport& r) {
  const StringAnalysis& a = r.job.analysis();
  const ReportSettings& s = r.job.settings();
  page.text(QStringLiteral("String Health Report"), 20, true);
  page.text(r.stringName(), 13, false, QColor(0x40, 0x40, 0x40));
  page.gap(1);
  const QStringList figures = {
      QStringLiteral("Period: %1").arg(r.dateRange()),
      QStringLiteral("Passes: %1 voltage, %2 temperature, %3 impedance, %4 info")
          .arg(a.passes(LogKind::Voltages))
          .arg(a.passes(LogKind::Temperatures))
          .arg(a.passes(LogKind::Impedances))
          .arg(a.passes(LogKind::Info)),
      QStringLiteral("Blocks found: %1").arg(a.blocksFound()),
      QStringLiteral("Flagged blocks: %1 critical, %2 warning")
          .arg(r.criticalBlocks)
          .arg(r.warningBlocks),
  };
  for (const QString& f : figures) page.text(f, 12);
  page.gap(1);
  page.text(QStringLiteral("Thresholds"), 12, true);
  const QString baseline =
      s.baselineFile.isEmpty()
          ? QStringLiteral("the mean of each block's first %1 readings").arg(s.impedanceReadings)
          : QStringLiteral("the file %1 (else the mean of the first %2 readings)")
                .arg(s.baselineFile)
                .arg(s.impedanceReadings);
  const QStringList thresholds = {
      QStringLiteral("Voltage: more than ±%1 % from the string mean at the latest pass")
          .arg(s.voltageBandPercent),
      QStringLiteral("Temperature: more than +%1 °C above the string mean at the latest pass")
          .arg(s.temperatureMarginC),
      QStringLiteral(
          "Impedance: the mean of the last %1 readings more than +%2 % above the baseline, %3")
          .arg(s.impedanceReadings)
          .arg(s.impedanceRisePercent)
          .arg(baseline),
      QStringLiteral("Stopped answering: no answer in the last %1 passes").arg(s.missingPasses),
      QStringLiteral("Mixed revisions: type, hardware or software revision not the string's most "
                     "common one, or changed while logged"),
      QStringLiteral("Critical: %1 times over the threshold; a block that stopped answering is "
                     "always critical")
          .arg(s.criticalFactor),
  };
  for (const QString& t : thresholds) page.text(QStringLiteral("• ") + t, 9.5);
  page.gap(1);
  page.text(QStringLiteral("Files read"), 12, true);
  for (const InputFile& f : r.job.files())
    page.text(f.opened ? QStringLiteral("• %1: %2 lines, %3 passes used, %4 skipped")
                             .arg(QFileInfo(f.path).fileName())
                             .arg(f.lines)
                             .arg(f.passes)
                             .arg(f.skipped)
                       : QStringLiteral("• %1: cannot be read (%2)").arg(f.path, f.error),
              9.5);
  page.gap(1);
  page.text(QStringLiteral("Flags"), 12, true);
  if (r.flags.empty()) page.text(QStringLiteral("No block is flagged."), 10);
  for (const Flag& f : r.flags) {
    const QColor colour =
        f.severity == Severity::Critical ? QColor(0xb0, 0x10, 0x10) : QColor(0xa0, 0x60, 0x00);
    page.text(QStringLiteral("Block %1 · %2 · %3: %4")
                  .arg(f.block)
                  .arg(severityName(f.severity), flagKindName(f.kind), f.reason),
              9.5, true, colour);
    if (!f.readings.isEmpty()) page.text(f.readings, 8.5, false, QColor(0x50, 0x50, 0x50), 200);
  }
}

void chartPages(PageFlow& page, QPainter& painter, const HealthReport& r) {
  const StringAnalysis& a = r.job.analysis();
  page.newPage();
  const double h = page.area().height() / 2 - 20;
  drawStringVoltageChart(painter, page.take(h), a);
  page.take(40);
  drawDeviationHeatMap(painter, page.take(h), a);

  std::set<int> blocks;
  for (const Flag& f : r.flags) blocks.insert(f.block);
  int drawn = 0;
  const double w = page.area().width() / 2;
  const double ch = page.area().height() / 3;
  for (int block : blocks) {
    if (a.block(block).impedance.count == 0) continue;
    if (drawn == kTrendCharts) {
      page.text(QStringLiteral("(%1 more flagged blocks without a chart)")
                    .arg(blocks.size() - static_cast<std::size_t>(drawn)),
                9);
      break;
    }
    if (drawn % 6 == 0) page.newPage();
    const QRectF cell((drawn % 2) * w, (drawn / 2 % 3) * ch, w - 10, ch - 10);
    drawImpedanceTrend(painter, cell, a, block);
    ++drawn;
  }
}

void tablePages(PageFlow& page, QPainter& painter, const HealthReport& r) {
  const auto& columns = tableColumns();
  page.newPage(QPageLayout::Landscape);
  page.text(QStringLiteral("All blocks"), 12, true);
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPointSizeF(6.5);
  painter.setFont(f);
  painter.setPen(Qt::black);
  const double rowHeight = painter.fontMetrics().height() * 1.25;
  std::vector<double> weight;
  for (const TableColumn& c : columns)
    weight.push_back(QLatin1String(c.key) == QLatin1String("last_seen") ? 2.6
                     : QLatin1String(c.key) == QLatin1String("flags")   ? 3.6
                                                                        : 1.0);
  double total = 0;
  for (double w : weight) total += w;
  const auto row = [&](const QStringList& cells, bool bold, const QColor& shade) {
    const QRectF line = page.take(rowHeight);
    if (shade.isValid()) painter.fillRect(line, shade);
    f.setBold(bold);
    painter.setFont(f);
    double x = 0;
    for (int i = 0; i < cells.size(); ++i) {
      const double w = page.area().width() * weight[static_cast<std::size_t>(i)] / total;
      painter.drawText(
          QRectF(x + 4, line.top(), w - 8, line.height()),
          Qt::AlignVCenter |
              (columns[static_cast<std::size_t>(i)].decimals < 0 && i > 0 ? Qt::AlignHCenter
               : i == 0                                                   ? Qt::AlignLeft
                                                                          : Qt::AlignRight),
          cells[i]);
      x += w;
    }
  };
  QStringList head;
  for (const TableColumn& c : columns) head << QString::fromLatin1(c.title);
  row(head, true, QColor(0xe0, 0xe0, 0xe0));
  for (const BlockRow& b : r.rows) {
    if (page.remaining() < rowHeight) {
      page.newPage(QPageLayout::Landscape);
      painter.setPen(Qt::black);
      row(head, true, QColor(0xe0, 0xe0, 0xe0));
    }
    QStringList cells;
    for (std::size_t i = 0; i < columns.size(); ++i) cells << cellText(b.cells[i], columns[i]);
    const QString severity = cells.last();
    painter.setPen(Qt::black);
    row(cells, false,
        severity == severityName(Severity::Critical)  ? QColor(0xf8, 0xd0, 0xd0)
        : severity == severityName(Severity::Warning) ? QColor(0xfb, 0xeb, 0xc8)
                                                      : QColor());
  }
}

void skippedPage(PageFlow& page, const HealthReport& r) {
  if (r.job.skippedTotal() == 0) return;
  page.newPage();
  page.text(QStringLiteral("Skipped lines: %1").arg(r.job.skippedTotal()), 12, true);
  for (const SkippedLine& l : r.job.skipped())
    page.text(QStringLiteral("%1, line %2: %3")
                  .arg(QFileInfo(l.file).fileName())
                  .arg(l.line)
                  .arg(l.reason),
              8.5);
  if (r.job.skippedTotal() > r.job.skipped().size())
    page.text(QStringLiteral("(and %1 more)").arg(r.job.skippedTotal() - r.job.skipped().size()),
              8.5);
}

}  // namespace

bool writePdf(const HealthReport& report, const QString& path, QString& error) {
  QPdfWriter writer(path);
  writer.setTitle(QStringLiteral("String Health Report %1").arg(report.stringName()));
  writer.setCreator(QStringLiteral("zelta_report"));
  writer.setResolution(300);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  QPainter painter;
  if (!painter.begin(&writer)) {
    error = QStringLiteral("%1: cannot be written").arg(path);
    return false;
  }
  PageFlow page(writer, painter);
  summaryPage(page, report);
  chartPages(page, painter, report);
  tablePages(page, painter, report);
  skippedPage(page, report);
  if (!painter.end()) {
    error = QStringLiteral("%1: cannot be written").arg(path);
    return false;
  }
  return true;
}

}  // namespace zelta::report
