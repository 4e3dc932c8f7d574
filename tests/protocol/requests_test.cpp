#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

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
    for (std::size_t bit = 0; bit < 8 * kFrameSize; ++bit) {
      Frame bad = good;
      bad[bit / 8] ^= static_cast<std::uint8_t>(1 << bit % 8);
      EXPECT_FALSE(hasValidCheckByte(bad)) << "byte " << bit / 8 << " bit " << bit % 8;
    }
  }
}

// Offsets 1 to 9 of each request; the frame around them is checked against
// the worked frames.
TEST(Requests, EveryRequestOfBothPrograms) {
  const std::tuple<const char*, Frame, Payload> cases[] = {
      {"reader voltage 1", request::readerVoltage(1), {0x00, 0x01, 0x12, 0x01}},
      {"hardware revision 300", request::hardwareRevision(300), {0x01, 0x2C, 0x20}},
      {"software revision 65535", request::softwareRevision(65535), {0xFF, 0xFF, 0x21}},
      {"module type 35", request::moduleType(35), {0x00, 0x23, 0x22}},
      {"collective 500", request::collective(500), {0x01, 0xF4, 0x14}},
      {"search start 12", request::moduleSearch(12, SearchAction::StartFlashing), {0x00, 0x0C, 0xFC, 0x01}},
      {"programmer temperature 3", request::programmerTemperature(3), {0x00, 0x03, 0x11, 0x01}},
      {"reader impedance 7", request::readerImpedance(7), {0x00, 0x07, 0x13, 0x01, 0x00}},
      {"programmer impedance 7", request::programmerImpedance(7), {0x00, 0x07, 0x13, 0x00}},
      {"address query", request::addressQuery(), {0xFF, 0xFF, 0xFD, 0x00}},
      {"reset address 17", request::resetAddress(17), {0x00, 0x11, 0xFD, 0x01, 0x00, 0x00}},
      {"set address 5 to 9", request::setAddress(5, 9), {0x00, 0x05, 0xFD, 0x01, 0x00, 0x09}},
      {"auto address 65535", request::autoAddress(65535), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"stop auto addressing", request::stopAutoAddressing(), {0xFF, 0xFF, 0xFE}},
      {"LED green", request::setLed(LedState::Green), {0x00, 0x00, 0xE4, 0x02}},
      {"LED red", request::setLed(LedState::Red), {0x00, 0x00, 0xE4, 0x03}},
      {"ping 4 1000", request::ping(4, 1000), {0x00, 0x04, 0xE6, 0x03, 0xE8}},
  };
  for (const auto& [name, frame, payload] : cases) EXPECT_EQ(frame, buildFrame(payload)) << name;
}

}  // namespace
}  // namespace zelta
