#include <gtest/gtest.h>

#include <string_view>

#include "protocol/frame.h"
#include "protocol/requests.h"

namespace zelta {
namespace {

// The CRC-8/MAXIM check value and the two worked frames are the reference;
// any single flipped bit of a frame makes its check byte wrong.
TEST(FrameCodec, CheckValueAndWorkedFramesByteForByte) {
  const std::string_view digits = "123456789";
  EXPECT_EQ(calc_crc({reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()}), 0xA1);
  const Frame worked[] = {{0x23, 0x00, 0x01, 0x12, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x26},
                          {0x23, 0xFF, 0xFF, 0xFD, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD8}};
  EXPECT_EQ(request::readerVoltage(1), worked[0]);
  EXPECT_EQ(request::addressQuery(), worked[1]);
  for (const Frame& good : worked) {
    EXPECT_TRUE(hasValidCheckByte(good));
    for (std::size_t i = 0; i < kFrameSize; ++i) {
      for (int bit = 0; bit < 8; ++bit) {
        Frame bad = good;
        bad[i] ^= static_cast<std::uint8_t>(1 << bit);
        EXPECT_FALSE(hasValidCheckByte(bad)) << "byte " << i << " bit " << bit;
      }
    }
  }
}

}  // namespace
}  // namespace zelta
