// A tone of a given pitch and length, for confirmations the installer hears
// while walking along the string. Playing must not hold the event loop longer
// than the tone itself.
#pragma once

namespace zelta {

class Tone {
 public:
  virtual ~Tone() = default;
  virtual void play(int frequencyHz, int durationMs) = 0;
};

}  // namespace zelta
