#include "requests.h"

#include <cmath>

#include "commands.h"
#include "numbers.h"

namespace zelta {

std::optional<std::uint16_t> addressFromNumber(double value) {
  if (!std::isfinite(value) || value < 0 || value > 65535 || std::floor(value) != value)
    return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

std::optional<std::uint16_t> addressFromText(std::string_view text) {
  return addressFromNumber(lenientParse(text));
}

namespace request {
namespace {

std::uint8_t hi(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }
std::uint8_t lo(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); }

Frame make(std::uint16_t address, std::uint8_t command, std::uint8_t d4 = 0,
           std::uint8_t d5 = 0, std::uint8_t d6 = 0) {
  return buildFrame(Payload{hi(address), lo(address), command, d4, d5, d6, 0, 0, 0});
}

}  // namespace

Frame readerTemperature(std::uint16_t a) { return make(a, cmd::Temperature, 1); }
Frame readerVoltage(std::uint16_t a) { return make(a, cmd::Voltage, 1); }
Frame readerImpedance(std::uint16_t a) { return make(a, cmd::Impedance, 1); }
Frame hardwareRevision(std::uint16_t a) { return make(a, cmd::HardwareRevision); }
Frame softwareRevision(std::uint16_t a) { return make(a, cmd::SoftwareRevision); }
Frame moduleType(std::uint16_t a) { return make(a, cmd::ModuleType); }
Frame collective(std::uint16_t a) { return make(a, cmd::Collective); }
Frame moduleSearch(std::uint16_t a, SearchAction action) {
  return make(a, cmd::ModuleSearch, static_cast<std::uint8_t>(action));
}

Frame programmerTemperature(std::uint16_t a) { return make(a, cmd::Temperature, 1); }
Frame programmerImpedance(std::uint16_t a) { return make(a, cmd::Impedance); }
Frame addressQuery() { return make(cmd::Wildcard, cmd::Address, 0); }
Frame resetAddress(std::uint16_t a) { return make(a, cmd::Address, 1, 0, 0); }
Frame setAddress(std::uint16_t oldA, std::uint16_t newA) {
  return make(oldA, cmd::Address, 1, hi(newA), lo(newA));
}
Frame autoAddress(std::uint16_t newA) {
  return make(cmd::Wildcard, cmd::AutoAddress, hi(newA), lo(newA));
}
Frame stopAutoAddressing() { return make(cmd::Wildcard, cmd::StopAuto); }
Frame setLed(LedState state) { return make(0, cmd::SetLed, static_cast<std::uint8_t>(state)); }
Frame ping(std::uint16_t a, std::uint16_t count) { return make(a, cmd::Ping, hi(count), lo(count)); }

}  // namespace request
}  // namespace zelta
