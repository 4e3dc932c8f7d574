// Values of several series over time, gathered into a bounded number of time
// bins (count, sum, minimum, maximum per series and bin). The bins start one
// minute wide at the first time seen and double in width, merging pairs,
// whenever a later time would not fit, so memory stays fixed however long
// the logs are. Times before the first one go into the first bin.
#pragma once

#include <cstdint>
#include <vector>

namespace zelta::report {

class BinnedSeries {
 public:
  struct Cell {
    std::uint32_t count = 0;
    double sum = 0, min = 0, max = 0;
    double mean() const { return count ? sum / count : 0; }
  };

  explicit BinnedSeries(int series, int maxBins = 240, std::int64_t firstWidth = 60);

  void add(int series, std::int64_t time, double value) { addToBin(series, binOf(time), value); }
  // For many values of one time: the bin once, then each value into it.
  int binOf(std::int64_t time);
  void addToBin(int series, int bin, double value);

  bool empty() const { return used_ == 0; }
  int bins() const { return used_; }
  int series() const { return series_; }
  std::int64_t binStart(int bin) const { return start_ + bin * width_; }
  std::int64_t binWidth() const { return width_; }
  const Cell& cell(int series, int bin) const {
    return cells_[static_cast<std::size_t>(bin) * static_cast<std::size_t>(series_) +
                  static_cast<std::size_t>(series)];
  }

 private:
  void widen();

  int series_;
  int maxBins_;
  std::int64_t width_;
  std::int64_t start_ = 0;
  int used_ = 0;
  std::vector<Cell> cells_;
};

}  // namespace zelta::report
