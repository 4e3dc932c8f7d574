// What the programmer's procedures share while the program runs: the expert
// level, the port number and the addresses of the running procedures. An
// address that has not been set yet is empty; it shows as nothing in a status
// line and counts as 0 in comparisons.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace zelta::programmer {

using Address = std::optional<std::uint16_t>;

struct ProgrammerState {
  int expert = 0;   // 0, 1 ("-e") or 2 ("-se")
  QString po;       // port number as text, cut from the port name
  Address adr1;     // automatic addressing and reset sweep
  Address adr3;     // manual addressing: old address
  Address adr4;     // manual addressing: new address
  Address adr5;     // module search
  int start = 0;    // 1 while automatic addressing may go on
  int autoRun = 0;  // 1: the last set-address run came from "Automatic"
};

// The address as a status line shows it: decimal, or nothing when unset.
inline QString addressText(const Address& a) { return a ? QString::number(*a) : QString(); }
inline std::uint16_t addressValue(const Address& a) { return a.value_or(0); }

}  // namespace zelta::programmer
