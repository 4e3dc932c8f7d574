// Assembles reply frames from a byte stream, one byte at a time.
// The receiver stays aligned on the start byte "#": a byte that cannot start a
// frame is dropped. When eleven bytes are in, the frame is checked; a frame
// whose check byte is wrong is reported and the receiver resynchronises on the
// next "#" among the bytes after the false start, so a real frame that followed
// a stray "#" is still received. After every complete frame, valid or not, the
// receiver is ready for the next one; nothing a handler does can leave it stuck.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame.h"

namespace zelta {

class FrameReceiver {
 public:
  enum class Outcome {
    Pending,   // byte stored, frame not complete yet
    Dropped,   // byte could not start a frame and was discarded
    Complete,  // a frame with a correct check byte is in frame()
    CrcError,  // eleven bytes with a wrong check byte; they are in frame()
  };

  Outcome push(std::uint8_t byte);

  // Forgets a partly received frame (the reader does this on every request).
  void clear();

  // The last complete frame (valid or not).
  const Frame& frame() const { return frame_; }
  // Number of bytes of the frame being assembled, 0 to 10.
  std::size_t pending() const { return count_; }

 private:
  Frame buffer_{};
  Frame frame_{};
  std::size_t count_ = 0;
};

}  // namespace zelta
