#include "sim/frame_text.h"

#include <cstdio>

#include "protocol/commands.h"
#include "protocol/decoders.h"
#include "protocol/numbers.h"

namespace zelta {
namespace {

std::string num(unsigned v) { return std::to_string(v); }

std::string hex2(unsigned v) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", v & 0xFFu);
  return text;
}

std::uint16_t dataWord(const Frame& f, std::size_t at) {
  return static_cast<std::uint16_t>(f[at] << 8 | f[at + 1]);
}

std::string ledName(std::uint8_t state) {
  switch (state) {
    case 0: return "off";
    case 2: return "green";
    case 3: return "red";
    default: return "state " + num(state);
  }
}

std::string describeRequest(const Frame& f) {
  const unsigned to = frameAddress(f);
  const std::string at = " to " + num(to);
  switch (frameCommand(f)) {
    case cmd::Temperature: return "temperature request" + at;
    case cmd::Voltage: return "voltage request" + at;
    case cmd::Impedance: return "impedance request" + at;
    case cmd::Collective:
      return "collective request" + at + (to == cmd::WakeUpAddress ? " (wake-up)" : "");
    case cmd::HardwareRevision: return "hardware revision request" + at;
    case cmd::SoftwareRevision: return "software revision request" + at;
    case cmd::ModuleType: return "module type request" + at;
    case cmd::ModuleSearch:
      if (f[4] == 1) return "module search: start flashing" + at;
      if (f[4] == 2) return "module search: stop flashing" + at;
      return "module search, action " + num(f[4]) + at;
    case cmd::Address:
      if (f[4] == 0) return to == cmd::Wildcard ? "address query to all" : "address query" + at;
      if (f[4] == 1) {
        const unsigned n = dataWord(f, 5);
        return n == 0 ? "reset address " + num(to) + " to 0" : "change address " + num(to) + " to " + num(n);
      }
      return "address command, byte 4 = " + num(f[4]) + at;
    case cmd::StopAuto: return "stop automatic addressing";
    case cmd::AutoAddress: return "automatic addressing: next button pressed takes " + num(dataWord(f, 4));
    case cmd::SetLed: return "set LED " + ledName(f[4]) + at;
    case cmd::Ping: return "line-check ping" + at + ", count " + num(dataWord(f, 4));
    default: return "unknown command " + hex2(frameCommand(f)) + at;
  }
}

std::string describeReply(const Frame& f) {
  const std::string from = " from " + num(frameAddress(f));
  switch (frameCommand(f)) {
    case cmd::Temperature: return "temperature " + formatGeneral(decode::temperature(f)) + " C" + from;
    case cmd::Voltage: return "voltage " + formatVoltage(decode::voltage(f)) + " V" + from;
    case cmd::Impedance: return "impedance " + formatGeneral(decode::impedance(f)) + " mOhm" + from;
    case cmd::Collective: {
      const auto r = decode::collective(f);
      return "collective" + from + ": " + formatGeneral(r.temperature) + " C, " + formatVoltage(r.voltage) +
             " V, status " + hex2(r.status) + ", error " + num(r.error);
    }
    case cmd::HardwareRevision: return "hardware revision " + decode::hardwareRevision(f) + from;
    case cmd::SoftwareRevision: return "software revision " + decode::softwareRevision(f) + from;
    case cmd::ModuleType: {
      const auto name = decode::moduleTypeName(decode::moduleTypeCode(f));
      return "module type " + (name ? *name : "without name") + " (code " + num(f[4]) + ")" + from;
    }
    case cmd::ModuleSearch: return "module search answer, action " + num(f[4]) + from;
    case cmd::Address:
      if (f[4] == 0) return "address " + num(decode::addressInData(f)) + " reported" + from;
      return "address change confirmed, now " + num(decode::addressInData(f)) + from;
    case cmd::AutoAddress: return "automatic address taken" + from;
    case cmd::Ping: return "line-check message " + num(decode::messageNumber(f)) + from;
    default: return "unknown reply " + hex2(frameCommand(f)) + from;
  }
}

}  // namespace

std::string hexBytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 3);
  static const char digits[] = "0123456789ABCDEF";
  for (std::uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += digits[b >> 4];
    text += digits[b & 0x0F];
  }
  return text;
}

std::string describeFrame(const Frame& frame, bool fromHost) {
  if (!hasValidCheckByte(frame)) return "check byte wrong";
  return fromHost ? describeRequest(frame) : describeReply(frame);
}

}  // namespace zelta
