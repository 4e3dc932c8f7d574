#include "monitor/frame_ring.h"

#include <algorithm>

namespace zelta::monitor {

FrameRing::FrameRing(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

void FrameRing::push(const CapturedEvent& event) {
  // The storage grows up to the capacity as events come, never beyond it,
  // then is reused.
  if (slots_.size() < capacity_) {
    if (slots_.size() == slots_.capacity())
      slots_.reserve(std::min(capacity_, std::max<std::size_t>(64, slots_.size() * 2)));
    slots_.push_back(event);
  } else
    slots_[slot(end_)] = event;
  ++end_;
  if (size() > capacity_) ++first_;
}

void FrameRing::clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  origin_ = first_ = end_;
}

void FrameRing::setCapacity(std::size_t capacity) {
  capacity = std::max<std::size_t>(capacity, 1);
  if (capacity == capacity_) return;
  const std::uint64_t keepFrom = end_ - std::min<std::uint64_t>(size(), capacity);
  std::vector<CapturedEvent> kept;
  kept.reserve(static_cast<std::size_t>(end_ - keepFrom));
  for (std::uint64_t s = keepFrom; s < end_; ++s) kept.push_back(at(s));
  slots_ = std::move(kept);
  capacity_ = capacity;
  origin_ = first_ = keepFrom;
}

const CapturedEvent& FrameRing::at(std::uint64_t seq) const { return slots_[slot(seq)]; }

}  // namespace zelta::monitor
