#include "string_overview_window.h"

#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "csv_text.h"
#include "monitor/idle_line_refresh.h"
#include "number_text.h"
#include "overview_model.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "string_views.h"
#include "widgets/named.h"

namespace zelta {
namespace {

constexpr int kRefreshMs = 250;
constexpr qint64 kFitColumnsMs = 5000;

const char* const kKindRows[] = {"Voltage (V)", "Temperature (°C)", "Impedance (mOhm)"};
const char* const kStatisticsColumns[] = {"Minimum", "at module", "Maximum", "at module",
                                          "Mean",    "Spread",    "Modules"};
// Decimals of means and spreads per measured kind.
constexpr int kDecimals[] = {3, 1, 2};

QString fixedText(double v, int decimals) {
  QString t = QString::number(v, 'f', decimals);
  return t.replace(QLatin1Char('.'), QLatin1Char(localeDecimalSeparator()));
}

}  // namespace

StringOverviewWindow::StringOverviewWindow(StringViews& views)
    : views_(views),
      refresh_(new IdleLineRefresh(views.bus(), views.platform().clock,
                                   QStringLiteral("Overview_Timer"), kRefreshMs,
                                   [this] { refresh(); }, this)) {
  setObjectName(QStringLiteral("String_Overview"));
  setWindowTitle(QStringLiteral("String Overview"));
  auto* layout = new QVBoxLayout(this);

  found_ = named(new QLabel(this), "Overview_Found");
  found_->setWordWrap(true);
  mix_ = named(new QLabel(this), "Overview_Mix");
  mix_->setWordWrap(true);
  layout->addWidget(found_);
  layout->addWidget(mix_);

  statistics_ = named(new QTableWidget(3, 7, this), "Overview_Statistics");
  for (int c = 0; c < 7; ++c)
    statistics_->setHorizontalHeaderItem(
        c, new QTableWidgetItem(QString::fromUtf8(kStatisticsColumns[c])));
  for (int r = 0; r < 3; ++r) {
    statistics_->setVerticalHeaderItem(r, new QTableWidgetItem(QString::fromUtf8(kKindRows[r])));
    for (int c = 0; c < 7; ++c) {
      auto* item = new QTableWidgetItem;
      item->setFlags(Qt::ItemIsEnabled);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      statistics_->setItem(r, c, item);
    }
  }
  statistics_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  statistics_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  statistics_->setFixedHeight(statistics_->horizontalHeader()->sizeHint().height() +
                              3 * statistics_->verticalHeader()->defaultSectionSize() + 4);
  layout->addWidget(statistics_);

  const OutlierBands& b = views_.bands();
  auto* bands = new QHBoxLayout;
  bands->addWidget(new QLabel(QStringLiteral("Outliers: voltage ±"), this));
  voltageBand_ = bandField("Band_Voltage", b.voltagePercent, QStringLiteral(" % of the mean"));
  bands->addWidget(voltageBand_);
  bands->addWidget(new QLabel(QStringLiteral("temperature"), this));
  temperatureBand_ =
      bandField("Band_Temperature", b.temperatureAboveC, QStringLiteral(" °C above"));
  bands->addWidget(temperatureBand_);
  bands->addWidget(new QLabel(QStringLiteral("impedance"), this));
  impedanceBand_ = bandField("Band_Impedance", b.impedancePercent, QStringLiteral(" % above"));
  bands->addWidget(impedanceBand_);
  bands->addStretch();
  layout->addLayout(bands);

  model_ = new OverviewModel([this](qint64 ms) { return views_.timeText(ms); }, this);
  sorted_ = new QSortFilterProxyModel(this);
  sorted_->setSourceModel(model_);
  sorted_->setSortRole(OverviewModel::kSortRole);
  table_ = named(new QTableView(this), "Overview_Modules");
  table_->setModel(sorted_);
  table_->setSortingEnabled(true);
  table_->sortByColumn(OverviewModel::Address, Qt::AscendingOrder);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  // Columns are fitted to the rows in view now and then, not at every refresh:
  // measuring each cell's text four times a second would cost more than the
  // rest of the window together.
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->horizontalHeader()->setResizeContentsPrecision(0);
  layout->addWidget(table_, 1);

  auto* buttons = new QHBoxLayout;
  auto* exportButton =
      named(new QPushButton(QStringLiteral("Export CSV..."), this), "Overview_Export");
  auto* trend = named(new QPushButton(QStringLiteral("Show in Trend"), this), "Overview_Trend");
  trend->setToolTip(QStringLiteral("Adds the selected modules to the trend plot"));
  buttons->addWidget(exportButton);
  buttons->addWidget(trend);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(exportButton, &QPushButton::clicked, this, &StringOverviewWindow::exportCsv);
  connect(trend, &QPushButton::clicked, this, &StringOverviewWindow::sendToTrend);

  resize(1400, 720);
}

QDoubleSpinBox* StringOverviewWindow::bandField(const char* name, double value,
                                                const QString& suffix) {
  auto* field = named(new QDoubleSpinBox(this), name);
  field->setRange(0, 100);
  field->setDecimals(1);
  field->setSingleStep(0.5);
  field->setSuffix(suffix);
  field->setValue(value);
  connect(field, &QDoubleSpinBox::valueChanged, this, &StringOverviewWindow::bandsEdited);
  return field;
}

void StringOverviewWindow::bandsEdited() {
  views_.setBands({voltageBand_->value(), temperatureBand_->value(), impedanceBand_->value()});
  refresh();
}

void StringOverviewWindow::refresh() {
  const Seen now{views_.tally().version(), views_.valuesVersion(), views_.range()};
  if (now == seen_) return;
  seen_ = now;
  showSnapshot(takeSnapshot(now.range.first, now.range.second, views_.store(), views_.tally(),
                            views_.bands()));
}

void StringOverviewWindow::refreshSoon() { refresh_->soon(); }

void StringOverviewWindow::showSnapshot(const StringSnapshot& snap) {
  const int expected = snap.last - snap.first + 1;
  QString found = QStringLiteral("Expected: %1 %2, addresses %3 to %4. Found: %5.")
                      .arg(expected)
                      .arg(expected == 1 ? "module" : "modules")
                      .arg(snap.first)
                      .arg(snap.last)
                      .arg(snap.found.size());
  if (!snap.neverAnswered.empty())
    found += QStringLiteral(" Never answered: %1.").arg(addressList(snap.neverAnswered));
  if (!snap.notAsked.empty())
    found += QStringLiteral(" Not asked yet: %1.").arg(addressList(snap.notAsked));
  if (!snap.outside.empty())
    found += QStringLiteral(" Answered from outside the range: %1.").arg(addressList(snap.outside));
  found_->setText(found);
  const bool marked = !snap.neverAnswered.empty() || !snap.outside.empty();
  found_->setStyleSheet(marked ? QStringLiteral("color: #b00000;") : QString());

  mix_->setText(snap.mixes.isEmpty() ? QStringLiteral("Module types and revisions agree.")
                                     : snap.mixes.join(QLatin1Char('\n')));
  mix_->setStyleSheet(snap.mixes.isEmpty() ? QString() : QStringLiteral("color: #b00000;"));

  showStatistics(snap);
  model_->setRows(snap.rows);
  const qint64 now = views_.platform().clock.nowMs();
  if (lastFitMs_ < 0 || now - lastFitMs_ >= kFitColumnsMs) {
    lastFitMs_ = now;
    table_->resizeColumnsToContents();
  }
}

void StringOverviewWindow::showStatistics(const StringSnapshot& snap) {
  for (int r = 0; r < 3; ++r) {
    const KindStatistics& s = snap.statistics[static_cast<std::size_t>(r)];
    const auto value = [&](double v) { return r == 0 ? voltageText(v) : generalText(v); };
    const QString texts[7] = {s.count ? value(s.min) : QString(),
                              s.count ? QString::number(s.minAddress) : QString(),
                              s.count ? value(s.max) : QString(),
                              s.count ? QString::number(s.maxAddress) : QString(),
                              s.count ? fixedText(s.mean, kDecimals[r]) : QString(),
                              s.count ? fixedText(s.spread(), kDecimals[r]) : QString(),
                              QString::number(s.count)};
    for (int c = 0; c < 7; ++c) statistics_->item(r, c)->setText(texts[c]);
  }
}

void StringOverviewWindow::exportCsv() {
  refresh();
  const QString delimiter = QStringLiteral(";");
  QStringList lines;
  QStringList fields;
  for (int c = 0; c < OverviewModel::ColumnCount; ++c)
    fields << csv::quoteField(model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                              delimiter);
  lines << fields.join(delimiter);
  for (int r = 0; r < sorted_->rowCount(); ++r) {
    fields.clear();
    for (int c = 0; c < OverviewModel::ColumnCount; ++c)
      fields << csv::quoteField(sorted_->index(r, c).data().toString(), delimiter);
    lines << fields.join(delimiter);
  }
  const QByteArray contents =
      (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
  Platform& p = views_.platform();
  const SaveResult result = p.files.save(this, QStringLiteral("Export String Overview"),
                                         QStringLiteral("ZELTA_String_Overview.csv"),
                                         QStringLiteral("CSV files (*.csv)"), contents);
  if (result.outcome == SaveResult::Outcome::Failed)
    p.boxes.show(this, {QStringLiteral("Could not save %1: %2").arg(result.path, result.error),
                        QStringLiteral("String Overview"), BoxIcon::Critical, BoxButtons::Ok});
}

void StringOverviewWindow::sendToTrend() {
  std::set<int> addresses;
  for (const QModelIndex& i : table_->selectionModel()->selectedRows())
    addresses.insert(model_->addressAt(sorted_->mapToSource(i).row()));
  views_.showInTrend({addresses.begin(), addresses.end()});
}

void StringOverviewWindow::showEvent(QShowEvent* event) {
  refresh();
  refresh_->start();
  QWidget::showEvent(event);
}

void StringOverviewWindow::hideEvent(QHideEvent* event) {
  refresh_->stop();
  QWidget::hideEvent(event);
}

void StringOverviewWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closing();
}

}  // namespace zelta
