#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "protocol/numbers.h"

namespace zelta {
namespace {

TEST(Numbers, LenientParse) {
  const std::pair<const char*, double> cases[] = {
      {"  12", 12}, {"\t3", 3},     {"12abc", 12},  {"", 0},    {"abc", 0},       {"-5", -5},
      {"+7", 7},    {".5", 0.5},     {"3.", 3},      {"1,5", 1}, {"&h1f", 31},     {"&HFFFF", 65535},
      {"&HG", 0},   {"&H1Fz", 31},   {"-", 0},       {".", 0},   {"5E-05", 5e-05}, {"2e", 2},
      {"1e-400", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(lenientParse(text), value) << '"' << text << '"';
  // Exact to the last bit, and no NaN however long the digits run.
  EXPECT_EQ(lenientParse("13.124"), 13.124);
  EXPECT_EQ(lenientParse("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(lenientParse("1" + std::string(400, '0')), HUGE_VAL);
  EXPECT_EQ(lenientParse("1444" + std::string(400, '0') + "e-390"), 1.444e13);
}

TEST(Numbers, StrictParse) {
  struct Case {
    const char* text;
    char separator;
    std::optional<double> value;
  };
  const Case cases[] = {
      {" 12 ", '.', 12},  {"-3", '.', -3},    {"1,5", ',', 1.5}, {"1.5", ',', 1.5}, {"&H1F", '.', 31},
      {"12abc", '.', {}}, {"   ", '.', {}},   {".", '.', {}},    {"1,5", '.', {}},  {"1 2", '.', {}},
  };
  for (const auto& c : cases) EXPECT_EQ(strictParse(c.text, c.separator), c.value) << '"' << c.text << '"';
}

TEST(Numbers, FormatGeneral) {
  const std::tuple<double, const char*, const char*> cases[] = {
      {21, "21", "21"},    {13.25, "13.25", "13,25"}, {-2.5, "-2.5", "-2,5"},       {-0.0, "0", "0"},
      {1.23, "1.23", "1,23"}, {0.1 + 0.2, "0.3", "0,3"}, {65.535, "65.535", "65,535"},
  };
  for (const auto& [value, dot, comma] : cases) {
    EXPECT_EQ(formatGeneral(value, '.'), dot) << value;
    EXPECT_EQ(formatGeneral(value, ','), comma) << value;
  }
}

TEST(Numbers, FormatVoltage) {
  const std::tuple<double, const char*, const char*> cases[] = {
      {13.2, "13.200", "13,200"}, {0.5, ".500", ",500"},   {0, ".000", ",000"},
      {12.0004, "12.000", "12,000"}, {-0.5, "-.500", "-,500"}, {-0.0001, ".000", ",000"},
  };
  for (const auto& [value, dot, comma] : cases) {
    EXPECT_EQ(formatVoltage(value, '.'), dot) << value;
    EXPECT_EQ(formatVoltage(value, ','), comma) << value;
  }
}

}  // namespace
}  // namespace zelta
