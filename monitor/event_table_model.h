// The frame monitor's table: one row per kept event that passes the filter,
// described only when a row is shown. refresh() brings the rows up to date
// with the ring in one step (events that fell out go, new ones come), so
// the view is redrawn a few times per second however fast frames arrive.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <deque>

#include "monitor/event_filter.h"
#include "monitor/event_text.h"
#include "monitor/frame_ring.h"

namespace zelta::monitor {

class EventTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit EventTableModel(const FrameRing& ring, QObject* parent = nullptr);

  void refresh();
  // Applies a new filter to every kept event.
  void setFilter(const EventFilter& filter);
  const EventFilter& filter() const { return filter_; }

  // Whether the row's event is still kept: between refreshes the ring may
  // have let go of the first rows, which then show nothing until refresh().
  bool isKept(int row) const;
  // The event and its texts of a kept row.
  const CapturedEvent& eventAt(int row) const;
  const EventText& textAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const FrameRing& ring_;
  EventFilter filter_;
  std::deque<std::uint64_t> rows_;  // sequence numbers in the ring
  std::uint64_t seen_ = 0;          // events up to here have been looked at
  // A view asks for each column of a row in turn: the row is described once.
  mutable std::uint64_t cachedSeq_ = UINT64_MAX;
  mutable EventText cached_;
};

}  // namespace zelta::monitor
