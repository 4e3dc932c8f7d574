#include "overview_model.h"

#include <QColor>
#include <limits>

#include "number_text.h"

namespace zelta {
namespace {

const char* const kHeaders[OverviewModel::ColumnCount] = {
    "Address",     "State",      "Type",        "Hardware",  "Software",
    "Voltage (V)", "Temp. (°C)", "Imp. (mOhm)", "Requests",  "Answers",
    "Missing",     "CRC errors", "Answer (ms)", "Mean (ms)", "Last answer"};

const QColor kMarked(0xFF, 0xE0, 0x80);  // modules that are not where expected
const QColor kOdd(0xD8, 0xC8, 0xFF);     // a type or revision unlike the string's

// Sort keys of empty cells sort after every number.
constexpr double kNone = std::numeric_limits<double>::max();

QString valueText(ValueKind kind, const std::optional<double>& v) {
  if (!v) return {};
  return kind == ValueKind::Voltage ? voltageText(*v) : generalText(*v);
}

}  // namespace

OverviewModel::OverviewModel(std::function<QString(qint64)> timeText, QObject* parent)
    : QAbstractTableModel(parent), timeText_(std::move(timeText)) {}

void OverviewModel::setRows(std::vector<OverviewRow> rows) {
  const bool sameRows =
      rows.size() == rows_.size() &&
      std::equal(rows.begin(), rows.end(), rows_.begin(),
                 [](const OverviewRow& a, const OverviewRow& b) { return a.address == b.address; });
  if (!sameRows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
    return;
  }
  // One signal for the rows that changed, first to last: a scan changes a few
  // neighbouring modules between refreshes, and the view repaints, re-sorts and
  // re-measures only what the signal covers.
  int first = -1, last = -1;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (!(rows[i] == rows_[i])) {
      if (first < 0) first = static_cast<int>(i);
      last = static_cast<int>(i);
    }
  rows_ = std::move(rows);
  if (first >= 0) emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

int OverviewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int OverviewModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant OverviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < ColumnCount)
    return QString::fromUtf8(kHeaders[section]);
  return QAbstractTableModel::headerData(section, orientation, role);
}

QVariant OverviewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const OverviewRow& r = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return text(r, index.column());
    case kSortRole:
      return sortKey(r, index.column());
    case Qt::BackgroundRole:
      return background(r, index.column());
    case Qt::TextAlignmentRole:
      return index.column() >= Voltage && index.column() <= MeanAnswerTime
                 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                 : QVariant();
    default:
      return {};
  }
}

QString OverviewModel::text(const OverviewRow& r, int column) const {
  const ModuleCounts& c = r.counts;
  switch (column) {
    case Address:
      return QString::number(r.address);
    case State:
      return rowStateText(r.state);
    case Type:
    case Hardware:
    case Software:
      return r.info[static_cast<std::size_t>(column - Type)];
    case Voltage:
    case Temperature:
    case Impedance: {
      const auto k = static_cast<std::size_t>(column - Voltage);
      return valueText(kMeasuredKinds[k], r.values[k]);
    }
    case Requests:
      return QString::number(c.requests);
    case Answers:
      return QString::number(c.answers);
    case Missing:
      return QString::number(c.missing);
    case CrcErrors:
      return QString::number(c.crcErrors);
    case AnswerTime:
      return c.lastAnswerMs < 0 ? QString() : QString::number(c.lastAnswerMs);
    case MeanAnswerTime:
      return c.timedAnswers ? QString::number(c.meanAnswerMs(), 'f', 1) : QString();
    case LastAnswer:
      return c.lastAnsweredAt < 0 ? QString() : timeText_(c.lastAnsweredAt);
    default:
      return {};
  }
}

QVariant OverviewModel::sortKey(const OverviewRow& r, int column) const {
  const ModuleCounts& c = r.counts;
  switch (column) {
    case Address:
      return r.address;
    case State:
      return static_cast<int>(r.state);
    case Type:
    case Hardware:
    case Software:
      return text(r, column);
    case Voltage:
    case Temperature:
    case Impedance:
      return r.values[static_cast<std::size_t>(column - Voltage)].value_or(kNone);
    case Requests:
      return c.requests;
    case Answers:
      return c.answers;
    case Missing:
      return c.missing;
    case CrcErrors:
      return c.crcErrors;
    case AnswerTime:
      return c.lastAnswerMs < 0 ? kNone : double(c.lastAnswerMs);
    case MeanAnswerTime:
      return c.timedAnswers ? c.meanAnswerMs() : kNone;
    case LastAnswer:
      return c.lastAnsweredAt < 0 ? kNone : double(c.lastAnsweredAt);
    default:
      return {};
  }
}

QVariant OverviewModel::background(const OverviewRow& r, int column) const {
  switch (column) {
    case Address:
    case State:
      if (r.state == RowState::NeverAnswered || r.state == RowState::NotAnswering ||
          r.state == RowState::OutsideRange)
        return kMarked;
      return {};
    case Type:
    case Hardware:
    case Software:
      return r.oddInfo[static_cast<std::size_t>(column - Type)] ? QVariant(kOdd) : QVariant();
    case Voltage:
    case Temperature:
    case Impedance: {
      const Deviation d = r.deviations[static_cast<std::size_t>(column - Voltage)];
      return d == Deviation::None ? QVariant() : QVariant(deviationColour(d));
    }
    case Missing:
      return r.counts.missing ? QVariant(kMarked) : QVariant();
    case CrcErrors:
      return r.counts.crcErrors ? QVariant(kMarked) : QVariant();
    default:
      return {};
  }
}

}  // namespace zelta
