#include "sim/sim_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "sim/sim_console.h"

namespace zelta {
namespace {

std::optional<double> number(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long long> whole(const std::string& text, long long low, long long high) {
  const auto v = number(text);
  if (!v || std::floor(*v) != *v || *v < static_cast<double>(low) || *v > static_cast<double>(high))
    return std::nullopt;
  return static_cast<long long>(*v);
}

}  // namespace

ParsedOptions parseSimOptions(const std::vector<std::string>& args) {
  SimOptions o;
  bool unaddressed = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h") {
      o.help = true;
      continue;
    }
    if (name == "--unaddressed") {
      unaddressed = true;
      continue;
    }
    if (name == "--drift") {
      o.drift = true;
      continue;
    }
    if (name == "--trace") {
      o.trace = true;
      continue;
    }
    if (i + 1 >= args.size()) return {std::nullopt, name + ": unknown option or missing value"};
    const std::string& value = args[++i];
    auto bad = [&](const char* why) { return ParsedOptions{std::nullopt, name + " " + value + ": " + why}; };

    auto rate = [&](double& into) {
      const auto v = number(value);
      if (!v || *v < 0 || *v > 1) return false;
      into = *v;
      return true;
    };
    if (name == "--modules") {
      const auto v = whole(value, 0, 65535);
      if (!v) return bad("expected a number of modules from 0 to 65535");
      o.modules = static_cast<int>(*v);
    } else if (name == "--first-address") {
      const auto v = whole(value, 0, 65535);
      if (!v) return bad("expected an address from 0 to 65535");
      o.firstAddress = static_cast<std::uint16_t>(*v);
    } else if (name == "--seed") {
      const auto v = whole(value, 0, 4294967295LL);
      if (!v) return bad("expected a whole number from 0 to 4294967295");
      o.seed = static_cast<std::uint32_t>(*v);
    } else if (name == "--missing") {
      if (!rate(o.faults.missingReply)) return bad("expected a rate from 0 to 1");
    } else if (name == "--corrupt") {
      if (!rate(o.faults.corruptByte)) return bad("expected a rate from 0 to 1");
    } else if (name == "--noise") {
      if (!rate(o.faults.noiseByte)) return bad("expected a rate from 0 to 1");
    } else if (name == "--stray") {
      if (!rate(o.faults.strayStart)) return bad("expected a rate from 0 to 1");
    } else if (name == "--late") {
      if (!rate(o.faults.lateReply)) return bad("expected a rate from 0 to 1");
    } else if (name == "--late-by") {
      const auto v = whole(value, 0, 60000);
      if (!v) return bad("expected milliseconds from 0 to 60000");
      o.faults.lateByMs = static_cast<int>(*v);
    } else if (name == "--silent") {
      const auto dash = value.find('-');
      const auto first = whole(value.substr(0, dash), 0, 65535);
      const auto last = dash == std::string::npos ? first : whole(value.substr(dash + 1), 0, 65535);
      if (!first || !last || *last < *first) return bad("expected an address range FIRST-LAST");
      o.silent = std::make_pair(static_cast<std::uint16_t>(*first), static_cast<std::uint16_t>(*last));
    } else if (name == "--turnaround") {
      const auto v = number(value);
      if (!v || *v < 0 || *v > 10000) return bad("expected milliseconds from 0 to 10000");
      o.turnaroundMs = *v;
    } else if (name == "--chunk") {
      const auto v = whole(value, 1, 64);
      if (!v) return bad("expected a number of bytes from 1 to 64");
      o.replyChunkBytes = static_cast<int>(*v);
    } else if (name == "--pace") {
      const auto v = number(value);
      if (!v || *v < 12 || *v > 10000) return bad("expected milliseconds from 12 to 10000");
      o.lineCheckPaceMs = *v;
    } else if (name == "--link") {
      if (value.empty()) return bad("expected a path");
      o.link = value;
    } else {
      return {std::nullopt, name + ": unknown option"};
    }
  }
  if (unaddressed) o.firstAddress = 0;
  if (o.firstAddress != 0 && o.modules > 0 && o.firstAddress + o.modules - 1 > 65535)
    return {std::nullopt, "--modules and --first-address: the last address would pass 65535"};
  return {o, {}};
}

std::string simUsage() {
  return R"(Usage: zelta_bus_sim [options]

Simulates a string of battery modules on one serial bus (9600 baud 8N1) and
serves it on a pseudo-terminal. The first line printed on standard output is
the device path of the terminal's far end: open it with a program as its
serial port. Requests take the time of 11 bytes on the line, a module answers
after the turnaround delay, and its reply comes back byte by byte at the
line's pace (about 26 ms for a request and its reply).

Options:
  --modules N         number of modules (default 24)
  --first-address A   address of the first module, the others follow
                      consecutively (default 1); 0 is the same as --unaddressed
  --unaddressed       every module has address 0 (fresh from the factory)
  --seed S            seed of the module values and of the faults (default 1);
                      the same seed and the same requests repeat a run
  --missing R         rate of replies that are not sent (0 to 1, default 0)
  --corrupt R         rate per reply byte of a flipped bit (default 0)
  --noise R           rate of a noise byte before a reply (default 0)
  --stray R           rate of a stray start byte "#" before a reply (default 0)
  --late R            rate of replies that come late (default 0)
  --late-by MS        how late a late reply comes (default 400)
  --silent A-B        modules with addresses A to B never answer (a gap)
  --turnaround MS     delay between a request and its reply (default 3)
  --chunk N           replies reach the terminal N bytes at a time, as a
                      serial port's receive buffer hands them over (default
                      1: byte by byte; 8 is a 16550 UART's usual level)
  --pace MS           interval of the line-check messages sent after a
                      power-up with the button held (default 20)
  --drift             values drift slowly as requests are answered
  --trace             every frame on standard error: time in ms, direction
                      (PC->bus, bus->PC), bytes in hex, meaning, faults
  --link PATH         also make PATH a symbolic link to the device (an
                      existing link there is replaced; removed on exit)
  -h, --help          this text

)" + commandHelp() +
         R"(
The simulator runs until "quit", end of standard input does not stop it; it
also ends on SIGINT or SIGTERM. Started in the background of a shell it does
not read commands.

Example:
  zelta_bus_sim --modules 24 --link /tmp/zelta-bus &
  ZELTA_COM1=/tmp/zelta-bus ZELTA_Reader
)";
}

}  // namespace zelta
