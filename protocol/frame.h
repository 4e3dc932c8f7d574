// The module bus frame: "#", 16-bit address (high byte first), command code,
// six data bytes and a CRC-8 check byte. Every exchange in both directions is
// exactly one such frame; all 256 byte values are legal after the start byte.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zelta {

inline constexpr std::size_t kFrameSize = 11;
inline constexpr std::uint8_t kStartByte = 0x23;  // "#"
// One byte on the wire at 9600 baud 8N1: ten bits (start, eight data, stop).
inline constexpr double kByteMs = 10.0 * 1000.0 / 9600.0;  // 1.0417 ms

using Frame = std::array<std::uint8_t, kFrameSize>;

// Frame offsets 1 to 9: address high, address low, command, six data bytes.
using Payload = std::array<std::uint8_t, 9>;

// CRC-8/MAXIM (Dallas 1-Wire): reflected polynomial 0x8C, initial 0, no final XOR.
std::uint8_t calc_crc(std::span<const std::uint8_t> bytes);

// Puts the start byte in front of the payload and the check byte behind it.
Frame buildFrame(const Payload& payload);

// True when byte 10 is the CRC of bytes 0 to 9.
bool hasValidCheckByte(const Frame& frame);

// Address carried in offsets 1 and 2, the full unsigned 16-bit range.
inline std::uint16_t frameAddress(const Frame& f) {
  return static_cast<std::uint16_t>(f[1] << 8 | f[2]);
}
inline std::uint8_t frameCommand(const Frame& f) { return f[3]; }

}  // namespace zelta
