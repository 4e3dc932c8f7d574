// Command codes of the module bus. A reply repeats the request's code.
#pragma once

#include <cstdint>

namespace zelta::cmd {

inline constexpr std::uint8_t Temperature = 0x11;
inline constexpr std::uint8_t Voltage = 0x12;
inline constexpr std::uint8_t Impedance = 0x13;
inline constexpr std::uint8_t Collective = 0x14;
inline constexpr std::uint8_t HardwareRevision = 0x20;
inline constexpr std::uint8_t SoftwareRevision = 0x21;
inline constexpr std::uint8_t ModuleType = 0x22;
inline constexpr std::uint8_t SetLed = 0xE4;
inline constexpr std::uint8_t Ping = 0xE6;
inline constexpr std::uint8_t ModuleSearch = 0xFC;
inline constexpr std::uint8_t Address = 0xFD;      // data byte 4: 0 query, 1 change
inline constexpr std::uint8_t StopAuto = 0xFE;
inline constexpr std::uint8_t AutoAddress = 0xFF;

inline constexpr std::uint16_t Wildcard = 0xFFFF;
inline constexpr std::uint16_t WakeUpAddress = 500;

}  // namespace zelta::cmd
