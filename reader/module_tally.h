// Per-module counts of the bus traffic since the program started or the
// values were last cleared: requests, answers, missing answers and CRC errors,
// answer times and when each module last answered. Requests, missing answers
// and CRC errors count against the module that was asked (a garbled frame has
// no address to trust); an answer counts for the module that sent it. Always
// listening and cheap: fixed memory for addresses 1 to 340, and at most
// kMaxOthers other addresses that answered.
#pragma once

#include <array>
#include <cstdint>
#include <map>

#include "protocol/bus_events.h"
#include "value_kind.h"

namespace zelta {

struct ModuleCounts {
  std::uint32_t requests = 0;
  std::uint32_t answers = 0;
  std::uint32_t missing = 0;
  std::uint32_t crcErrors = 0;
  // Request to reply, in ms, for replies from the module that was asked.
  std::int64_t lastAnswerMs = -1;
  std::int64_t answerMsSum = 0;
  std::uint32_t timedAnswers = 0;
  std::int64_t lastAnsweredAt = -1;  // clock time
  bool lastRequestUnanswered = false;

  bool operator==(const ModuleCounts&) const = default;

  double meanAnswerMs() const {
    return timedAnswers ? static_cast<double>(answerMsSum) / timedAnswers : -1;
  }
};

class ModuleTally final : public BusListener {
 public:
  static constexpr std::size_t kMaxOthers = 64;

  explicit ModuleTally(BusEvents& events);
  ~ModuleTally() override;
  ModuleTally(const ModuleTally&) = delete;
  ModuleTally& operator=(const ModuleTally&) = delete;

  void busEvent(const BusEvent& event) override;
  void clear();

  // Counts of address 1 to 340.
  const ModuleCounts& at(int address) const;
  // Addresses outside 1 to 340 that took part.
  const std::map<int, ModuleCounts>& others() const { return others_; }
  // Goes up with every event counted, so that views redraw only on change.
  std::uint64_t version() const { return version_; }

 private:
  ModuleCounts* entry(int address);

  BusEvents& events_;
  std::array<ModuleCounts, kModuleCount> modules_{};
  std::map<int, ModuleCounts> others_;
  std::int64_t sentAt_ = 0;
  bool awaitingFirstAnswer_ = false;
  std::uint64_t version_ = 0;
};

}  // namespace zelta
