// The frame monitor's memory: the last N captured events, oldest dropped first.
// Each event gets a sequence number that never repeats (not even after
// clear()), so a view can tell which events are new and which have fallen out.
// Memory never exceeds the capacity, however many events arrive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "monitor/captured_event.h"

namespace zelta::monitor {

class FrameRing {
 public:
  explicit FrameRing(std::size_t capacity);

  void push(const CapturedEvent& event);
  // Forgets every kept event; numbering goes on.
  void clear();
  // Keeps the newest events that fit the new capacity (at least 1).
  void setCapacity(std::size_t capacity);

  std::size_t capacity() const { return capacity_; }
  // Events the storage has room for now; never more than capacity().
  std::size_t storageSlots() const { return slots_.capacity(); }
  std::size_t size() const { return static_cast<std::size_t>(end_ - first_); }
  // Sequence numbers: first() is the oldest kept event, end() one past the newest.
  std::uint64_t first() const { return first_; }
  std::uint64_t end() const { return end_; }
  bool holds(std::uint64_t seq) const { return seq >= first_ && seq < end_; }
  // Requires holds(seq).
  const CapturedEvent& at(std::uint64_t seq) const;

 private:
  std::size_t slot(std::uint64_t seq) const {
    return static_cast<std::size_t>((seq - origin_) % capacity_);
  }

  std::vector<CapturedEvent> slots_;
  std::size_t capacity_;
  std::uint64_t origin_ = 0;  // sequence number stored in slots_[0] first
  std::uint64_t first_ = 0;
  std::uint64_t end_ = 0;
};

}  // namespace zelta::monitor
