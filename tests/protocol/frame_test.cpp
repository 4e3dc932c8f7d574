#include <gtest/gtest.h>

#include <string_view>

#include "protocol/frame.h"
#include "protocol/receiver.h"
#include "protocol/requests.h"

namespace zelta {
namespace {

std::span<const std::uint8_t> bytesOf(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(FrameCodec, CheckValueAndWorkedFramesByteForByte) {
  EXPECT_EQ(calc_crc(bytesOf("123456789")), 0xA1);
  EXPECT_EQ(request::readerVoltage(1),
            (Frame{0x23, 0x00, 0x01, 0x12, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x26}));
  EXPECT_EQ(request::addressQuery(),
            (Frame{0x23, 0xFF, 0xFF, 0xFD, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD8}));
}

// Every byte value (the start byte included) at every payload offset survives
// framing and reception.
TEST(FrameCodec, EveryByteValueAtEveryOffsetIsLossless) {
  FrameReceiver receiver;
  for (std::size_t at = 0; at < 9; ++at) {
    for (int v = 0; v < 256; ++v) {
      Payload p{0x00, 0x05, 0x12, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
      p[at] = static_cast<std::uint8_t>(v);
      const Frame sent = buildFrame(p);
      ASSERT_EQ(sent[0], kStartByte);
      ASSERT_TRUE(hasValidCheckByte(sent));
      for (std::size_t i = 0; i + 1 < kFrameSize; ++i)
        ASSERT_EQ(receiver.push(sent[i]), FrameReceiver::Outcome::Pending) << "offset " << at << " value " << v;
      ASSERT_EQ(receiver.push(sent[10]), FrameReceiver::Outcome::Complete);
      ASSERT_EQ(receiver.frame(), sent);
    }
  }
}

TEST(FrameCodec, AnySingleBitErrorIsDetected) {
  const Frame good = request::readerImpedance(35);
  for (std::size_t i = 0; i < kFrameSize; ++i) {
    for (int bit = 0; bit < 8; ++bit) {
      Frame bad = good;
      bad[i] ^= static_cast<std::uint8_t>(1 << bit);
      EXPECT_FALSE(hasValidCheckByte(bad)) << "byte " << i << " bit " << bit;
    }
  }
}

}  // namespace
}  // namespace zelta
