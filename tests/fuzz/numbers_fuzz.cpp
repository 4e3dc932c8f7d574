// Throws arbitrary texts at the number readers and the address helpers.
// Promises checked: a strict number is also what the lenient reading takes, an
// accepted address is whole and within 0..65535, and a displayed number reads
// back as the same value.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "protocol/numbers.h"
#include "protocol/requests.h"
#include "tests/fuzz/fuzz_check.h"

namespace {
bool close(double a, double b) { return a == b || std::fabs(a - b) <= 1e-12 * std::fabs(a); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double lenient = zelta::lenientParse(text);
  check(!std::isnan(lenient));
  if (const auto strict = zelta::strictParse(text)) {
    check(close(*strict, lenient) || (std::isinf(*strict) && std::isinf(lenient)));
  }
  if (const auto address = zelta::addressFromText(text)) check(*address == lenient);
  if (std::isfinite(lenient)) {
    for (char separator : {'.', ','}) {
      const auto general = zelta::strictParse(zelta::formatGeneral(lenient, separator), separator);
      check(general && close(*general, lenient));
      const auto volts = zelta::strictParse(zelta::formatVoltage(lenient, separator), separator);
      check(volts && std::fabs(*volts - lenient) <= 0.0005 + 1e-12 * std::fabs(lenient));
    }
  }
  return 0;
}
