// Frames in words, for the simulator's trace: what a request asks or a reply
// says, and bytes as hexadecimal text.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "protocol/frame.h"

namespace zelta {

// "23 00 01 12 ...", two upper-case digits per byte, one blank between.
std::string hexBytes(std::span<const std::uint8_t> bytes);

// What the frame means, as a request from the program (fromHost) or as a
// module's transmission. A frame with a wrong check byte says so.
std::string describeFrame(const Frame& frame, bool fromHost);

}  // namespace zelta
