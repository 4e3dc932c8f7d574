#include "outlier_colours.h"

#include "grid_windows.h"
#include "platform/clock.h"
#include "string_snapshot.h"

namespace zelta {

OutlierColours::OutlierColours(Clock& clock, const ValueStore& store, GridWindows& grids,
                               const OutlierBands& bands,
                               std::function<std::pair<int, int>()> range, QObject* parent)
    : QObject(parent),
      store_(store),
      grids_(grids),
      bands_(bands),
      range_(std::move(range)),
      timer_(new Timer(clock, QStringLiteral("Outlier_Timer"), kDelayMs, this)) {
  connect(timer_, &Timer::tick, this, &OutlierColours::refresh);
}

void OutlierColours::refreshSoon() {
  if (!timer_->isEnabled()) timer_->start();
}

void OutlierColours::refresh() {
  timer_->stop();
  const auto [first, last] = range_();
  for (ValueKind kind : kMeasuredKinds)
    grids_.setDeviations(kind, deviationsOf(kind, store_, first, last, bands_));
}

}  // namespace zelta
