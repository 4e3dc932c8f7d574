// What crosses the bus, as a program's end of the line sees it: every frame
// sent, every frame received with its check-byte verdict, each byte the
// receiver dropped while looking for a frame start, and each request whose
// answer timer ran out. The line end publishes; any number of listeners (a
// frame monitor, per-module counts, a publisher) subscribe, and the line end
// knows none of them. With nobody listening a publish costs nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "frame.h"

namespace zelta {

struct BusEvent {
  enum class Kind {
    Sent,      // frame: the request as written
    Received,  // frame: a reply with a correct check byte
    CrcError,  // frame: eleven bytes with a wrong check byte
    Dropped,   // byte: discarded, it could not start a frame
    Missing,   // the answer timer ran out for the request to `asked`
  };

  Kind kind = Kind::Sent;
  std::int64_t timeMs = 0;  // the program's clock
  Frame frame{};
  std::uint8_t byte = 0;
  // Address of the request this event belongs to: the last request sent
  // before it (for Sent, the frame's own address); -1 before any request.
  int asked = -1;
};

class BusListener {
 public:
  virtual ~BusListener() = default;
  virtual void busEvent(const BusEvent& event) = 0;
};

class BusEvents {
 public:
  // A listener is called in subscription order until it unsubscribes; it may
  // unsubscribe itself (or another) from within its own call.
  void subscribe(BusListener* listener);
  void unsubscribe(BusListener* listener);
  bool hasListeners() const { return !listeners_.empty(); }

  void publish(const BusEvent& event);

 private:
  std::vector<BusListener*> listeners_;
};

}  // namespace zelta
