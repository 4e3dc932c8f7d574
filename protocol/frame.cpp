#include "frame.h"

namespace zelta {

std::uint8_t calc_crc(std::span<const std::uint8_t> bytes) {
  std::uint8_t crc = 0;
  for (std::uint8_t b : bytes) {
    for (int bit = 0; bit < 8; ++bit) {
      const bool mix = ((b ^ crc) & 0x01) != 0;
      crc >>= 1;
      if (mix) crc ^= 0x8C;
      b >>= 1;
    }
  }
  return crc;
}

Frame buildFrame(const Payload& payload) {
  Frame f{};
  f[0] = kStartByte;
  for (std::size_t i = 0; i < payload.size(); ++i) f[i + 1] = payload[i];
  f[10] = calc_crc(std::span<const std::uint8_t>(f.data(), 10));
  return f;
}

bool hasValidCheckByte(const Frame& frame) {
  return frame[0] == kStartByte &&
         frame[10] == calc_crc(std::span<const std::uint8_t>(frame.data(), 10));
}

}  // namespace zelta
