#include "binned_series.h"

#include <algorithm>

namespace zelta::report {

BinnedSeries::BinnedSeries(int series, int maxBins, std::int64_t firstWidth)
    : series_(series),
      maxBins_(maxBins),
      width_(firstWidth),
      cells_(static_cast<std::size_t>(series) * static_cast<std::size_t>(maxBins)) {}

int BinnedSeries::binOf(std::int64_t time) {
  if (used_ == 0) {
    start_ = time;
    used_ = 1;
  }
  std::int64_t bin = time < start_ ? 0 : (time - start_) / width_;
  while (bin >= maxBins_) {
    widen();
    bin = (time - start_) / width_;
  }
  used_ = std::max(used_, static_cast<int>(bin) + 1);
  return static_cast<int>(bin);
}

void BinnedSeries::addToBin(int series, int bin, double value) {
  if (series < 0 || series >= series_) return;
  Cell& c = cells_[static_cast<std::size_t>(bin) * static_cast<std::size_t>(series_) +
                   static_cast<std::size_t>(series)];
  if (c.count == 0) {
    c.min = c.max = value;
  } else {
    c.min = std::min(c.min, value);
    c.max = std::max(c.max, value);
  }
  ++c.count;
  c.sum += value;
}

void BinnedSeries::widen() {
  const auto s = static_cast<std::size_t>(series_);
  for (int to = 0; to < (used_ + 1) / 2; ++to) {
    for (std::size_t k = 0; k < s; ++k) {
      const Cell a = cells_[static_cast<std::size_t>(2 * to) * s + k];
      const Cell b =
          2 * to + 1 < used_ ? cells_[static_cast<std::size_t>(2 * to + 1) * s + k] : Cell{};
      Cell m = a.count ? a : b;
      if (a.count && b.count) {
        m.count = a.count + b.count;
        m.sum = a.sum + b.sum;
        m.min = std::min(a.min, b.min);
        m.max = std::max(a.max, b.max);
      }
      cells_[static_cast<std::size_t>(to) * s + k] = m;
    }
  }
  const int kept = (used_ + 1) / 2;
  std::fill(cells_.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(kept) * s),
            cells_.end(), Cell{});
  used_ = kept;
  width_ *= 2;
}

}  // namespace zelta::report
