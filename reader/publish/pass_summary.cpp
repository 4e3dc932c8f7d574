#include "pass_summary.h"

#include <algorithm>

namespace zelta {

std::optional<PassSummary> PassTracker::add(const Reading& r) {
  if (r.address < 1 || r.address > kModuleCount) return std::nullopt;
  std::optional<PassSummary> ended;
  if (pass_ && (pass_->kind != r.kind || answered_.test(std::size_t(r.address)))) ended = finish();
  if (!pass_) {
    pass_ = PassSummary{};
    pass_->kind = r.kind;
    passRange_ = range_();
  }
  answered_.set(std::size_t(r.address));
  ++pass_->answered;
  pass_->lastMs = r.timeMs;
  if (const double* v = std::get_if<double>(&r.value)) {
    pass_->min = pass_->numbers ? std::min(pass_->min, *v) : *v;
    pass_->max = pass_->numbers ? std::max(pass_->max, *v) : *v;
    pass_->sum += *v;
    ++pass_->numbers;
  }
  return ended;
}

std::optional<PassSummary> PassTracker::finish() {
  std::optional<PassSummary> ended = std::exchange(pass_, std::nullopt);
  if (ended) {
    const int first = std::max(1, passRange_.first);
    const int last = std::min(kModuleCount, passRange_.second);
    for (int a = first; a <= last; ++a)
      if (!answered_.test(std::size_t(a))) ++ended->missing;
  }
  answered_.reset();
  return ended;
}

}  // namespace zelta
