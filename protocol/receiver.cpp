#include "receiver.h"

#include <algorithm>

namespace zelta {

FrameReceiver::Outcome FrameReceiver::push(std::uint8_t byte) {
  if (count_ == 0 && byte != kStartByte) return Outcome::Dropped;
  buffer_[count_++] = byte;
  if (count_ < kFrameSize) return Outcome::Pending;

  frame_ = buffer_;
  count_ = 0;
  if (hasValidCheckByte(frame_)) return Outcome::Complete;

  // Resynchronise: the next start byte after the false one begins a new frame.
  const auto next = std::find(frame_.begin() + 1, frame_.end(), kStartByte);
  count_ = static_cast<std::size_t>(frame_.end() - next);
  std::copy(next, frame_.end(), buffer_.begin());
  return Outcome::CrcError;
}

void FrameReceiver::clear() {
  count_ = 0;
  buffer_.fill(0);
}

}  // namespace zelta
