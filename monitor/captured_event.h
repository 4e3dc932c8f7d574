// One bus event as the frame monitor keeps it: the event itself and the
// command of the request it belongs to, so that a dropped byte or a missing
// answer can be filtered and described by the request that was outstanding.
#pragma once

#include "protocol/bus_events.h"

namespace zelta::monitor {

struct CapturedEvent {
  BusEvent event;
  int askedCommand = -1;  // command code of the last request sent, -1 before any
};

}  // namespace zelta::monitor
