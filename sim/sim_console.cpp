#include "sim/sim_console.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "protocol/numbers.h"

namespace zelta {
namespace {

std::vector<std::string> words(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

std::optional<double> number(const std::string& text) {
  char* end = nullptr;
  errno = 0;
  // Base 0 for whole numbers lets status bytes be typed as 0x31.
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const long v = std::strtol(text.c_str(), &end, 16);
    if (errno != 0 || *end != '\0') return std::nullopt;
    return static_cast<double>(v);
  }
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || errno != 0 || *end != '\0' || !std::isfinite(v)) return std::nullopt;
  return v;
}

const char* ledText(LedState led) {
  switch (led) {
    case LedState::Green: return "green";
    case LedState::Red: return "red";
    default: return "off";
  }
}

}  // namespace

std::string commandHelp() {
  return R"(Commands on standard input (I is the module's position in the string, 1 for
the first, as "list" shows it; it is not the bus address):
  press I                  press the button of module I (takes the address of a
                           running automatic addressing, or ends flashing)
  powerup I                power module I up with its button held: it sends 300
                           numbered line-check messages, 300 down to 0
  set I volt V             voltage in volts, e.g. set 3 volt 12.85
  set I temp C             temperature in degrees Celsius, -39 to 88.5
  set I imp M              impedance in milliohms, e.g. set 3 imp 4.25
  set I status B           status byte, 0 to 255 (0x31 for hexadecimal)
  set I error B            error byte, 0 to 255
  set I address A          bus address, 0 to 65535
  set I missing R          rate of module I's replies that are lost (0 to 1)
  set I corrupt R          rate of module I's replies with a flipped bit (0 to 1)
  list                     every module with its address, values, LED and state
  help                     this text
  quit                     end the simulator
)";
}

std::string SimConsole::listing() {
  std::string out = "   I  address  voltage     temp  impedance  status  error  LED    state\n";
  char row[160];
  for (int i = 0; i < bus_.moduleCount(); ++i) {
    const ModuleState& m = bus_.module(i);
    std::string state;
    if (m.flashing) state = "flashing";
    if (const auto armed = bus_.armedAddress(i)) state += (state.empty() ? "" : ", ") + ("armed for " + std::to_string(*armed));
    std::snprintf(row, sizeof row, "%4d  %7u  %7s V  %5s C  %6s mOhm  0x%02X  %5u  %-5s  %s\n", i + 1, m.address,
                  formatVoltage(m.millivolts / 1000.0).c_str(), formatGeneral((m.temperatureByte - 78) / 2.0).c_str(),
                  formatGeneral(m.impedance / 100.0).c_str(), m.status, m.error, ledText(m.led), state.c_str());
    out += row;
  }
  return out;
}

std::string SimConsole::execute(std::string_view line) {
  const auto w = words(line);
  if (w.empty()) return {};
  const std::string& command = w[0];
  if (command == "quit" || command == "exit") {
    quit_ = true;
    return {};
  }
  if (command == "help" || command == "?") return commandHelp();
  if (command == "list") return listing();

  auto moduleIndex = [&](std::string& error) -> int {
    const auto v = w.size() > 1 ? number(w[1]) : std::nullopt;
    if (!v || std::floor(*v) != *v || *v < 1 || *v > bus_.moduleCount()) {
      error = "no module " + (w.size() > 1 ? w[1] : std::string("given")) + "; modules are 1 to " +
              std::to_string(bus_.moduleCount()) + "\n";
      return -1;
    }
    return static_cast<int>(*v) - 1;
  };
  std::string error;

  if (command == "press" || command == "powerup") {
    if (w.size() != 2) return "usage: " + command + " I\n";
    const int i = moduleIndex(error);
    if (i < 0) return error;
    if (command == "press") {
      bus_.pressButton(i);
      return "button of module " + std::to_string(i + 1) + " pressed\n";
    }
    bus_.powerUpWithButtonHeld(i);
    return "module " + std::to_string(i + 1) + " powered up with the button held\n";
  }

  if (command == "set") {
    if (w.size() != 4) return "usage: set I volt|temp|imp|status|error|address|missing|corrupt VALUE\n";
    const int i = moduleIndex(error);
    if (i < 0) return error;
    const auto v = number(w[3]);
    if (!v) return "not a number: " + w[3] + "\n";
    ModuleState& m = bus_.module(i);
    const std::string& what = w[2];
    auto inRange = [&](double low, double high) { return *v >= low && *v <= high; };
    if (what == "volt") {
      if (!inRange(0, 65.535)) return "voltage from 0 to 65.535 V\n";
      m.millivolts = static_cast<std::uint16_t>(std::lround(*v * 1000));
    } else if (what == "temp") {
      if (!inRange(-39, 88.5)) return "temperature from -39 to 88.5 C\n";
      m.temperatureByte = static_cast<std::uint8_t>(std::lround(*v * 2 + 78));
    } else if (what == "imp") {
      if (!inRange(0, 655.35)) return "impedance from 0 to 655.35 mOhm\n";
      m.impedance = static_cast<std::uint16_t>(std::lround(*v * 100));
    } else if (what == "status" || what == "error") {
      if (!inRange(0, 255) || std::floor(*v) != *v) return what + " byte from 0 to 255\n";
      (what == "status" ? m.status : m.error) = static_cast<std::uint8_t>(*v);
    } else if (what == "address") {
      if (!inRange(0, 65535) || std::floor(*v) != *v) return "address from 0 to 65535\n";
      m.address = static_cast<std::uint16_t>(*v);
    } else if (what == "missing" || what == "corrupt") {
      if (!inRange(0, 1)) return what + " rate from 0 to 1\n";
      ModuleFaults f = bus_.moduleFaults(i);
      (what == "missing" ? f.missingReply : f.corruptReply) = *v;
      bus_.setModuleFaults(i, f);
    } else {
      return "unknown value " + what + "; use volt, temp, imp, status, error, address, missing or corrupt\n";
    }
    return "module " + std::to_string(i + 1) + " " + what + " set\n";
  }
  return "unknown command " + command + "; type help\n";
}

}  // namespace zelta
