// Which captured events the frame monitor shows: those of some addresses and
// of one command. A frame is judged by its own address and command; a dropped
// byte or a missing answer by the request that was outstanding, so that
// filtering on module 7 also shows the noise and the silence while 7 was asked.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "monitor/captured_event.h"

namespace zelta::monitor {

class EventFilter {
 public:
  using Ranges = std::vector<std::pair<int, int>>;  // inclusive address ranges

  // "" (every address), "7", "1-24", "3, 7, 10-12"; nothing for any other text.
  static std::optional<Ranges> parseAddresses(const QString& text);

  void setAddresses(Ranges ranges) { addresses_ = std::move(ranges); }    // empty: every address
  void setCommand(std::optional<std::uint8_t> code) { command_ = code; }  // none: every command

  bool matches(const CapturedEvent& captured) const;
  bool passesEverything() const { return addresses_.empty() && !command_; }

 private:
  Ranges addresses_;
  std::optional<std::uint8_t> command_;
};

}  // namespace zelta::monitor
