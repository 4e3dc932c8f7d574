// Every request either program puts on the bus, as complete frames.
// Builders take a bus address that is already known to be valid; the
// address-argument helpers turn a number or a typed text into one, and refuse
// anything outside 0 to 65535 or with a fractional part, so that a malformed
// frame can never be built from user input.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "frame.h"

namespace zelta {

// A number used as an address: whole and within 0..65535, else nothing.
std::optional<std::uint16_t> addressFromNumber(double value);
// A text used as an address: read with lenientParse, then as above.
std::optional<std::uint16_t> addressFromText(std::string_view text);

enum class SearchAction : std::uint8_t { StartFlashing = 1, StopFlashing = 2 };
enum class LedState : std::uint8_t { Off = 0, Green = 2, Red = 3 };

namespace request {

// Reader
Frame readerTemperature(std::uint16_t address);  // 0x11, data 4 = 1
Frame readerVoltage(std::uint16_t address);      // 0x12, data 4 = 1
Frame readerImpedance(std::uint16_t address);    // 0x13, data 4 = 1
Frame hardwareRevision(std::uint16_t address);   // 0x20
Frame softwareRevision(std::uint16_t address);   // 0x21
Frame moduleType(std::uint16_t address);         // 0x22
Frame collective(std::uint16_t address);         // 0x14 (both programs)
Frame moduleSearch(std::uint16_t address, SearchAction action);  // 0xFC (both programs)

// Programmer
Frame programmerTemperature(std::uint16_t address);  // 0x11, data 4 = 1
Frame programmerImpedance(std::uint16_t address);    // 0x13, all data 0
Frame addressQuery();                                // FF FF, 0xFD, data 4 = 0
Frame resetAddress(std::uint16_t address);           // 0xFD 01 00 00
Frame setAddress(std::uint16_t oldAddress, std::uint16_t newAddress);  // 0xFD 01 hi lo
Frame autoAddress(std::uint16_t newAddress);         // FF FF, 0xFF hi lo
Frame stopAutoAddressing();                          // FF FF, 0xFE
Frame setLed(LedState state);                        // 00 00, 0xE4 state
Frame ping(std::uint16_t address, std::uint16_t count);  // 0xE6 hi lo

}  // namespace request
}  // namespace zelta
