#include "bus_events.h"

#include <algorithm>

namespace zelta {

void BusEvents::subscribe(BusListener* listener) {
  if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void BusEvents::unsubscribe(BusListener* listener) {
  std::erase(listeners_, listener);
}

void BusEvents::publish(const BusEvent& event) {
  // A copy, so that listeners may subscribe or unsubscribe while being told.
  const std::vector<BusListener*> now = listeners_;
  for (BusListener* l : now)
    if (std::find(listeners_.begin(), listeners_.end(), l) != listeners_.end()) l->busEvent(event);
}

}  // namespace zelta
