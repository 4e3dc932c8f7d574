// Cuts the readings of a scan into passes, one kind at a time, for the
// summary topic. A pass ends as a log line does: a value of another kind
// arrives, a module of this kind answers a second time, or the scan stops.
// "answered" counts the modules that gave a value in the pass; "missing" the
// addresses of the scan range (as it stood when the pass began) that gave none.
#pragma once

#include <QtGlobal>
#include <bitset>
#include <functional>
#include <optional>
#include <utility>

#include "reader/reading_events.h"

namespace zelta {

struct PassSummary {
  ValueKind kind = ValueKind::Voltage;
  int answered = 0;
  int missing = 0;
  int numbers = 0;  // answers that were numbers: min, max and sum are theirs
  double min = 0;
  double max = 0;
  double sum = 0;
  qint64 lastMs = 0;  // clock time of the pass's last reading
};

class PassTracker {
 public:
  // First and last address of the scan range.
  using ScanRange = std::function<std::pair<int, int>()>;
  explicit PassTracker(ScanRange range) : range_(std::move(range)) {}

  // Adds the reading; returns the pass it ended, if it began a new one.
  std::optional<PassSummary> add(const Reading& reading);
  // Ends the pass under way, if any.
  std::optional<PassSummary> finish();

 private:
  ScanRange range_;
  std::optional<PassSummary> pass_;
  std::pair<int, int> passRange_{1, 1};
  std::bitset<kModuleCount + 1> answered_;
};

}  // namespace zelta
