#include "publish_queue.h"

#include <algorithm>

namespace zelta {

void PublishQueue::setLimit(int limit) {
  limit_ = std::max(1, limit);
  while (int(entries_.size()) > limit_) dropOldest();
}

void PublishQueue::push(MqttMessage message) {
  if (int(entries_.size()) >= limit_) dropOldest();
  entries_.push_back({std::move(message), -1});
}

void PublishQueue::clear() {
  entries_.clear();
  handedOver_ = 0;
  dropped_ = 0;
}

void PublishQueue::dropOldest() {
  if (entries_.empty()) return;
  entries_.pop_front();
  if (handedOver_ > 0) --handedOver_;
  ++dropped_;
}

const MqttMessage* PublishQueue::nextToSend() const {
  return handedOver_ < entries_.size() ? &entries_[handedOver_].message : nullptr;
}

void PublishQueue::handedOver(int id) {
  if (handedOver_ < entries_.size()) entries_[handedOver_++].id = id;
}

void PublishQueue::confirm(int id) {
  const auto inFlightEnd = entries_.begin() + std::ptrdiff_t(handedOver_);
  const auto it =
      std::find_if(entries_.begin(), inFlightEnd, [id](const Entry& e) { return e.id == id; });
  if (it == inFlightEnd) return;
  entries_.erase(it);
  --handedOver_;
}

}  // namespace zelta
