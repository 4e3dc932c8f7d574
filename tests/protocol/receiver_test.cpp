#include <gtest/gtest.h>

#include <vector>

#include "protocol/commands.h"
#include "protocol/receiver.h"
#include "tests/support/module_reply.h"

namespace zelta {
namespace {

using Outcome = FrameReceiver::Outcome;

using testing::reply;

// Feeds bytes and collects what the receiver makes of them.
struct Feed {
  FrameReceiver receiver;
  std::vector<Frame> complete;
  int crcErrors = 0;
  int dropped = 0;

  void bytes(std::initializer_list<std::uint8_t> bs) {
    for (std::uint8_t b : bs) byte(b);
  }
  void frame(const Frame& f) {
    for (std::uint8_t b : f) byte(b);
  }
  void byte(std::uint8_t b) {
    switch (receiver.push(b)) {
      case Outcome::Complete: complete.push_back(receiver.frame()); break;
      case Outcome::CrcError: ++crcErrors; break;
      case Outcome::Dropped: ++dropped; break;
      case Outcome::Pending: break;
    }
  }
};

// Noise before a start byte is dropped; a stray start byte (alone or inside
// the damaged bytes) costs one check error and the receiver finds the real
// frames after it. A start byte inside a frame does not restart it. A
// corrupted frame is not kept and re-checked with the bytes that follow: a
// later byte that happens to equal the check byte of the damaged bytes must
// not turn them into a valid frame.
TEST(FrameReceiver, ResynchronisesAfterNoiseFalseStartsAndDamagedFrames) {
  const Frame f = reply(0x2323, cmd::HardwareRevision, 0x23, 1);
  Feed feed;
  feed.bytes({0x00, 0xFF, 0x55, 0x24});
  feed.frame(f);
  EXPECT_EQ(feed.dropped, 4);
  EXPECT_EQ(feed.crcErrors, 0);
  feed.bytes({kStartByte, 0x11, kStartByte});
  feed.frame(f);
  feed.frame(f);
  EXPECT_GE(feed.crcErrors, 1);
  EXPECT_EQ(feed.complete, (std::vector<Frame>{f, f, f}));
  EXPECT_EQ(feed.receiver.pending(), 0u);

  Frame damaged = reply(12, cmd::Voltage, 0x0C, 0x80);
  damaged[5] ^= 0x40;
  const std::uint8_t wouldMatch = calc_crc(std::span<const std::uint8_t>(damaged.data(), 10));
  ASSERT_NE(wouldMatch, kStartByte);
  const int errors = feed.crcErrors;
  feed.frame(damaged);
  EXPECT_EQ(feed.crcErrors, errors + 1);
  feed.bytes({wouldMatch, 0x00, 0x01});
  const Frame next = reply(12, cmd::Voltage, 0x0C, 0x81);
  feed.frame(next);
  EXPECT_EQ(feed.complete, (std::vector<Frame>{f, f, f, next}));
}

}  // namespace
}  // namespace zelta
