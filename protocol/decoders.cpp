#include "decoders.h"

namespace zelta::decode {
namespace {
double word(const Frame& f, int at) { return f[at] * 256.0 + f[at + 1]; }
}  // namespace

double voltage(const Frame& f) { return word(f, 4) / 1000.0; }
double temperature(const Frame& f) { return (f[4] - 78.0) / 2.0; }
double impedance(const Frame& f) { return word(f, 4) / 100.0; }

std::string hardwareRevision(const Frame& f) {
  return std::to_string(f[4]) + "." + std::to_string(f[5]);
}

std::string softwareRevision(const Frame& f) {
  return std::to_string(f[4]) + "." + std::to_string(f[5]) + "." + std::to_string(f[6]);
}

std::optional<std::string> moduleTypeName(std::uint8_t code) {
  switch (code) {
    case 0: return "Q11";
    case 1: return "Q12";
    case 3: return "Q14";
    case 10: return "R11";
    case 20: return "S11";
    case 21: return "S12";
    case 22: return "S13";
    default: return std::nullopt;
  }
}

CollectiveReading collective(const Frame& f) {
  CollectiveReading r;
  r.address = frameAddress(f);
  r.temperature = temperature(f);
  r.voltage = (f[5] * 256.0 + f[6]) / 1000.0;
  r.status = f[8];
  r.error = f[9];
  return r;
}

StatusVerdict statusVerdict(std::uint8_t status, std::uint8_t error, bool rev31) {
  StatusVerdict v;
  int s = 0;
  const bool calibratedBit = (status & 0x10) != 0;
  if (rev31) {
    s = status & 0xDE;
    if (calibratedBit) v.notice = kCheckRevision;
  } else {
    s = status & 0xCE;
    if (!calibratedBit) {
      v.notice = kNotCalibrated;
      s = 1;
    }
  }
  v.externalSensor = (status & 0x20) != 0;
  v.ok = error + s == 0;
  return v;
}

}  // namespace zelta::decode
