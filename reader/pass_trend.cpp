#include "pass_trend.h"

#include <algorithm>

#include "platform/clock.h"

namespace zelta {
namespace {

std::optional<std::size_t> measuredIndex(ValueKind kind) {
  const auto it = std::find(kMeasuredKinds.begin(), kMeasuredKinds.end(), kind);
  if (it == kMeasuredKinds.end()) return std::nullopt;
  return static_cast<std::size_t>(it - kMeasuredKinds.begin());
}

const std::vector<TracePoint> kNoTrace;

}  // namespace

PassPoint PassPoint::merge(const PassPoint& a, const PassPoint& b) {
  const int w = a.weight + b.weight;
  return {a.timeMs, std::min(a.min, b.min), (a.mean * a.weight + b.mean * b.weight) / w,
          std::max(a.max, b.max), w};
}

TracePoint TracePoint::merge(const TracePoint& a, const TracePoint& b) {
  const int w = a.weight + b.weight;
  return {a.timeMs, (a.value * a.weight + b.value * b.weight) / w, w};
}

PassTrend::PassTrend(Clock& clock, ReadingEvents& readings, QObject* parent)
    : QObject(parent),
      passes_{BoundedSeries<PassPoint>(kCapacity), BoundedSeries<PassPoint>(kCapacity),
              BoundedSeries<PassPoint>(kCapacity)},
      grace_(new Timer(clock, QStringLiteral("Trend_PassEnd"), kStopGraceMs, this)) {
  connect(&readings, &ReadingEvents::stored, this, &PassTrend::stored);
  connect(grace_, &Timer::tick, this, [this] {
    grace_->stop();
    endPass();
  });
}

void PassTrend::scanStopped() { grace_->start(); }

void PassTrend::scanStarted() { grace_->stop(); }

const std::vector<PassPoint>& PassTrend::passes(ValueKind kind) const {
  return passes_.at(measuredIndex(kind).value_or(0)).points();
}

void PassTrend::stored(const Reading& r) {
  if (r.address < 1 || r.address > kModuleCount) return;
  if (pass_.kind != r.kind || pass_.seen[static_cast<std::size_t>(r.address)]) {
    endPass();
    pass_.kind = r.kind;
    pass_.startMs = r.timeMs;
  }
  pass_.seen[static_cast<std::size_t>(r.address)] = true;
  const auto k = measuredIndex(r.kind);
  const double* value = std::get_if<double>(&r.value);
  if (!k || !value) return;
  pass_.min = pass_.count ? std::min(pass_.min, *value) : *value;
  pass_.max = pass_.count ? std::max(pass_.max, *value) : *value;
  pass_.sum += *value;
  ++pass_.count;
  const auto it = traces_.find(r.address);
  if (it != traces_.end()) {
    it->second[*k].append({r.timeMs, *value, 1});
    ++version_;
  }
}

void PassTrend::endPass() {
  if (pass_.count > 0) {
    const auto k = measuredIndex(*pass_.kind);
    passes_[*k].append({pass_.startMs, pass_.min, pass_.sum / pass_.count, pass_.max, 1});
    ++version_;
  }
  pass_ = {};
}

void PassTrend::pick(int address) {
  if (address < 1 || address > kModuleCount || traces_.count(address)) return;
  if (picked_.size() == kMaxPicked) {
    traces_.erase(picked_.front());
    picked_.erase(picked_.begin());
  }
  picked_.push_back(address);
  traces_.emplace(address,
                  Traces{BoundedSeries<TracePoint>(kCapacity), BoundedSeries<TracePoint>(kCapacity),
                         BoundedSeries<TracePoint>(kCapacity)});
  ++version_;
}

void PassTrend::clearPicked() {
  picked_.clear();
  traces_.clear();
  ++version_;
}

const std::vector<TracePoint>& PassTrend::trace(int address, ValueKind kind) const {
  const auto it = traces_.find(address);
  const auto k = measuredIndex(kind);
  if (it == traces_.end() || !k) return kNoTrace;
  return it->second[*k].points();
}

}  // namespace zelta
