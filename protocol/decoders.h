// Turns the data bytes of a reply frame into values, texts and verdicts.
// Pure functions of the frame; they check nothing about the sender's address.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "frame.h"

namespace zelta::decode {

double voltage(const Frame& f);      // (b4 * 256 + b5) / 1000 V
double temperature(const Frame& f);  // (b4 - 78) / 2 degrees Celsius
double impedance(const Frame& f);    // (b4 * 256 + b5) / 100 mOhm
std::string hardwareRevision(const Frame& f);  // "b4.b5"
std::string softwareRevision(const Frame& f);  // "b4.b5.b6"
// Name of a module type code, nothing for a code that has no name.
std::optional<std::string> moduleTypeName(std::uint8_t code);
inline std::uint8_t moduleTypeCode(const Frame& f) { return f[4]; }

// Address reported in data bytes 5 and 6 (address query and confirmation).
inline std::uint16_t addressInData(const Frame& f) {
  return static_cast<std::uint16_t>(f[5] << 8 | f[6]);
}
// Number carried by a line-check message, data bytes 4 and 5.
inline std::uint16_t messageNumber(const Frame& f) {
  return static_cast<std::uint16_t>(f[4] << 8 | f[5]);
}

struct CollectiveReading {
  std::uint16_t address = 0;
  double temperature = 0;
  double voltage = 0;
  std::uint8_t status = 0;  // data byte 8
  std::uint8_t error = 0;   // data byte 9
};
CollectiveReading collective(const Frame& f);

inline constexpr const char* kNotCalibrated = "Modul is not calibrated";
inline constexpr const char* kCheckRevision = "Check Modul revision";

struct StatusVerdict {
  bool ok = false;
  std::string notice;  // one of the two texts above, or empty
  bool externalSensor = false;
};
// rev31: the revision 3.1 rule (bit 0x10 must be clear) instead of the older
// one (bit 0x10 must be set, the module is calibrated).
StatusVerdict statusVerdict(std::uint8_t status, std::uint8_t error, bool rev31);

}  // namespace zelta::decode
