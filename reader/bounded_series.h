// A time series that never holds more than its capacity, however long the
// program runs: when it is full, neighbouring points merge in pairs, so the
// whole run stays in view at half the resolution. Points say how they merge
// (static Point merge(const Point& older, const Point& newer)).
#pragma once

#include <cstddef>
#include <vector>

namespace zelta {

template <class Point>
class BoundedSeries {
 public:
  // Memory grows with the points held, up to the capacity.
  explicit BoundedSeries(std::size_t capacity) : capacity_(capacity < 2 ? 2 : capacity) {}

  void append(const Point& p) {
    if (points_.size() == capacity_) halve();
    points_.push_back(p);
  }
  const std::vector<Point>& points() const { return points_; }
  std::size_t capacity() const { return capacity_; }
  void clear() { points_.clear(); }

 private:
  void halve() {
    const std::size_t n = points_.size();
    std::size_t out = 0;
    for (std::size_t i = 0; i + 1 < n; i += 2)
      points_[out++] = Point::merge(points_[i], points_[i + 1]);
    if (n % 2) points_[out++] = points_[n - 1];
    points_.resize(out);
  }

  std::size_t capacity_;
  std::vector<Point> points_;
};

}  // namespace zelta
