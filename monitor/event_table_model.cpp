#include "monitor/event_table_model.h"

#include <QBrush>
#include <QColor>
#include <QFontDatabase>
#include <algorithm>

namespace zelta::monitor {

EventTableModel::EventTableModel(const FrameRing& ring, QObject* parent)
    : QAbstractTableModel(parent), ring_(ring), seen_(ring.first()) {}

void EventTableModel::refresh() {
  // Rows are in ascending order: those that fell out of the ring lead.
  const auto lost = std::lower_bound(rows_.begin(), rows_.end(), ring_.first());
  if (lost != rows_.begin()) {
    beginRemoveRows({}, 0, static_cast<int>(lost - rows_.begin()) - 1);
    rows_.erase(rows_.begin(), lost);
    endRemoveRows();
  }
  std::vector<std::uint64_t> fresh;
  for (std::uint64_t seq = std::max(seen_, ring_.first()); seq < ring_.end(); ++seq)
    if (filter_.matches(ring_.at(seq))) fresh.push_back(seq);
  seen_ = ring_.end();
  if (fresh.empty()) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + static_cast<int>(fresh.size()) - 1);
  rows_.insert(rows_.end(), fresh.begin(), fresh.end());
  endInsertRows();
}

void EventTableModel::setFilter(const EventFilter& filter) {
  beginResetModel();
  filter_ = filter;
  rows_.clear();
  for (std::uint64_t seq = ring_.first(); seq < ring_.end(); ++seq)
    if (filter_.matches(ring_.at(seq))) rows_.push_back(seq);
  seen_ = ring_.end();
  endResetModel();
}

bool EventTableModel::isKept(int row) const {
  return ring_.holds(rows_[static_cast<std::size_t>(row)]);
}

const CapturedEvent& EventTableModel::eventAt(int row) const {
  return ring_.at(rows_[static_cast<std::size_t>(row)]);
}

const EventText& EventTableModel::textAt(int row) const {
  const std::uint64_t seq = rows_[static_cast<std::size_t>(row)];
  if (seq != cachedSeq_) {
    cached_ = describe(ring_.at(seq));
    cachedSeq_ = seq;
  }
  return cached_;
}

int EventTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EventTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(Column::Count);
}

QVariant EventTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || !isKept(index.row())) return {};
  const auto column = static_cast<Column>(index.column());
  switch (role) {
    case Qt::DisplayRole: return textAt(index.row())[column];
    case Qt::FontRole:
      if (column == Column::Bytes) return QFontDatabase::systemFont(QFontDatabase::FixedFont);
      return {};
    case Qt::TextAlignmentRole:
      if (column == Column::Time || column == Column::Address)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    case Qt::BackgroundRole:
      switch (eventAt(index.row()).event.kind) {
        case BusEvent::Kind::CrcError: return QBrush(QColor(0xFF, 0xD0, 0xD0));
        case BusEvent::Kind::Dropped: return QBrush(QColor(0xFF, 0xF0, 0xB8));
        case BusEvent::Kind::Missing: return QBrush(QColor(0xE4, 0xE4, 0xE4));
        default: return {};
      }
    default: return {};
  }
}

QVariant EventTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  const QStringList titles = columnTitles();
  return section >= 0 && section < titles.size() ? QVariant(titles[section]) : QVariant();
}

}  // namespace zelta::monitor
