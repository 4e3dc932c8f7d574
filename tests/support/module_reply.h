// A reply frame as the module at `from` sends it, for the tests that put
// replies on the line themselves.
#pragma once

#include "protocol/frame.h"

namespace zelta::testing {

inline Frame reply(std::uint16_t from, std::uint8_t command, std::uint8_t d4 = 0,
                   std::uint8_t d5 = 0, std::uint8_t d6 = 0, std::uint8_t d7 = 0,
                   std::uint8_t d8 = 0, std::uint8_t d9 = 0) {
  return buildFrame(
      {std::uint8_t(from >> 8), std::uint8_t(from & 0xFF), command, d4, d5, d6, d7, d8, d9});
}

}  // namespace zelta::testing
