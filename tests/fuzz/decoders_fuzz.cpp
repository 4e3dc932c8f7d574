// Decodes arbitrary frames with every reply decoder and both status rules.
// Promises checked: values stay within what two data bytes can say, and the
// verdict is "Ok" only for a clean status and a zero error byte.
#include <cstddef>
#include <cstdint>

#include "protocol/decoders.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < zelta::kFrameSize) return 0;
  zelta::Frame f{};
  for (std::size_t i = 0; i < zelta::kFrameSize; ++i) f[i] = data[i];
  namespace d = zelta::decode;
  check(d::temperature(f) >= -39 && d::temperature(f) <= 88.5);
  check(d::voltage(f) >= 0 && d::voltage(f) <= 65.535);
  check(d::impedance(f) >= 0 && d::impedance(f) <= 655.35);
  check(d::hardwareRevision(f).find('.') != std::string::npos);
  check(d::softwareRevision(f).size() >= 5);
  const auto r = d::collective(f);
  check(r.address == zelta::frameAddress(f));
  for (bool rev31 : {false, true}) {
    const auto v = d::statusVerdict(r.status, r.error, rev31);
    if (v.ok) check(r.error == 0 && (r.status & (rev31 ? 0xDE : 0xCE)) == 0);
    if (rev31) check(v.notice.empty() == ((r.status & 0x10) == 0));
    else check(v.notice.empty() == ((r.status & 0x10) != 0));
    check(v.externalSensor == ((r.status & 0x20) != 0));
  }
  return 0;
}
