// A lamp that an event lights and its own one-shot timer darkens again one
// timer interval after the last event; and the counters that live in label
// captions, counting 0 to 1000 and then starting again at 0.
#pragma once

#include <cstdint>

class QLabel;

namespace zelta {

class Lamp;
class Timer;

class FlashLamp {
 public:
  FlashLamp(Lamp& lamp, Timer& timer, std::uint32_t bright, std::uint32_t dark);
  void flash();
  // Dark at once, timer off.
  void darken();
  Lamp& lamp() const { return lamp_; }
  Timer& timer() const { return timer_; }

 private:
  Lamp& lamp_;
  Timer& timer_;
  std::uint32_t bright_;
  std::uint32_t dark_;
};

// Adds one to the number in the caption; 1001 and above show "0".
void countUp(QLabel& label);

}  // namespace zelta
