// The string's history for the trend plot: for voltage, temperature and
// impedance, the minimum, mean and maximum of every pass, and the values of
// the modules picked in the overview from the moment they are picked. A pass
// ends as the log's line does (another kind begins, or a module of this kind
// answers a second time), or when the scan stops, once its last answer has
// had time to come. Always collecting, in bounded memory: each series keeps
// at most kCapacity points (older ones merge, the whole run stays).
#pragma once

#include <QObject>
#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "bounded_series.h"
#include "reading_events.h"
#include "string_snapshot.h"

namespace zelta {

class Clock;
class Timer;

struct PassPoint {
  qint64 timeMs = 0;  // the pass's first value
  double min = 0;
  double mean = 0;
  double max = 0;
  int weight = 1;  // passes merged into this point
  static PassPoint merge(const PassPoint& a, const PassPoint& b);
};

struct TracePoint {
  qint64 timeMs = 0;
  double value = 0;
  int weight = 1;
  static TracePoint merge(const TracePoint& a, const TracePoint& b);
};

class PassTrend : public QObject {
  Q_OBJECT
 public:
  static constexpr std::size_t kCapacity = 4096;
  static constexpr std::size_t kMaxPicked = 8;
  // Longer than the longest answer timer (impedance, 1450 ms).
  static constexpr int kStopGraceMs = 1500;

  PassTrend(Clock& clock, ReadingEvents& readings, QObject* parent = nullptr);

  // The scan stopped (Stop, Close, Manual Mode), or started again.
  void scanStopped();
  void scanStarted();

  // kind: one of kMeasuredKinds.
  const std::vector<PassPoint>& passes(ValueKind kind) const;

  // Picking more than kMaxPicked modules lets go of the earliest picked.
  void pick(int address);
  void clearPicked();
  const std::vector<int>& picked() const { return picked_; }
  const std::vector<TracePoint>& trace(int address, ValueKind kind) const;

  // Goes up whenever a point is added or the picks change.
  std::uint64_t version() const { return version_; }

 private:
  using Traces = std::array<BoundedSeries<TracePoint>, kMeasuredKinds.size()>;
  struct Pass {
    std::optional<ValueKind> kind;
    std::bitset<kModuleCount + 1> seen;
    qint64 startMs = 0;
    int count = 0;
    double sum = 0;
    double min = 0;
    double max = 0;
  };

  void stored(const Reading& r);
  void endPass();

  Pass pass_;
  std::array<BoundedSeries<PassPoint>, kMeasuredKinds.size()> passes_;
  std::vector<int> picked_;
  std::map<int, Traces> traces_;
  Timer* grace_;
  std::uint64_t version_ = 0;
};

}  // namespace zelta
