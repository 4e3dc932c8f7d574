#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "protocol/decoders.h"

namespace zelta {
namespace {

Frame withData(std::initializer_list<std::uint8_t> data, std::uint8_t hi = 0, std::uint8_t lo = 1) {
  Payload p{hi, lo, 0x14};
  std::size_t i = 3;
  for (std::uint8_t d : data) p[i++] = d;
  return buildFrame(p);
}

TEST(Decoders, Values) {
  struct Case {
    std::uint8_t b4, b5;
    double volts, celsius, milliohm;
  };
  const Case cases[] = {
      {0x0C, 0x80, 3.2, (12 - 78) / 2.0, 32.0},
      {0x01, 0x2C, 0.3, -38.5, 3.0},
      {120, 0x00, 30.72, 21.0, 307.2},
      {255, 0xFF, 65.535, 88.5, 655.35},
  };
  for (const auto& c : cases) {
    const Frame f = withData({c.b4, c.b5});
    SCOPED_TRACE(testing::Message() << int(c.b4) << " " << int(c.b5));
    EXPECT_DOUBLE_EQ(decode::voltage(f), c.volts);
    EXPECT_DOUBLE_EQ(decode::temperature(f), c.celsius);
    EXPECT_DOUBLE_EQ(decode::impedance(f), c.milliohm);
  }
}

TEST(Decoders, RevisionTextsAndModuleTypeNames) {
  EXPECT_EQ(decode::hardwareRevision(withData({255, 10})), "255.10");
  EXPECT_EQ(decode::softwareRevision(withData({0, 5, 255, 9})), "0.5.255");
  const std::map<int, std::string> named{{0, "Q11"}, {1, "Q12"}, {3, "Q14"}, {10, "R11"},
                                         {20, "S11"}, {21, "S12"}, {22, "S13"}};
  for (int code = 0; code < 256; ++code) {
    const auto it = named.find(code);
    EXPECT_EQ(decode::moduleTypeName(static_cast<std::uint8_t>(code)),
              it == named.end() ? std::nullopt : std::optional<std::string>(it->second)) << code;
  }
  EXPECT_EQ(decode::moduleTypeCode(withData({22})), 22);
}

TEST(Decoders, CollectiveReading) {
  const Frame f = withData({120, 0x0C, 0x80, 0x77, 0x31, 0x05}, 0xC8, 0x05);
  const auto r = decode::collective(f);
  EXPECT_EQ(std::tuple(r.address, r.temperature, r.voltage, r.status, r.error),
            std::tuple(51205, 21.0, 3.2, 0x31, 0x05));
  EXPECT_EQ(decode::addressInData(withData({0, 0x81, 0x02})), 0x8102);
  EXPECT_EQ(decode::messageNumber(withData({0xFF, 0xFE})), 0xFFFE);
}

}  // namespace
}  // namespace zelta
