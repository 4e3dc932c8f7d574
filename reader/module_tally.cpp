#include "module_tally.h"

namespace zelta {

ModuleTally::ModuleTally(BusEvents& events) : events_(events) { events_.subscribe(this); }

ModuleTally::~ModuleTally() { events_.unsubscribe(this); }

const ModuleCounts& ModuleTally::at(int address) const {
  return modules_.at(static_cast<std::size_t>(address - 1));
}

ModuleCounts* ModuleTally::entry(int address) {
  if (address >= 1 && address <= kModuleCount)
    return &modules_[static_cast<std::size_t>(address - 1)];
  if (address < 0) return nullptr;
  const auto it = others_.find(address);
  if (it != others_.end()) return &it->second;
  if (others_.size() >= kMaxOthers) return nullptr;
  return &others_[address];
}

void ModuleTally::busEvent(const BusEvent& event) {
  ModuleCounts* asked = nullptr;
  if (event.kind == BusEvent::Kind::Sent || event.kind == BusEvent::Kind::CrcError ||
      event.kind == BusEvent::Kind::Missing) {
    asked = entry(event.asked);
    if (!asked) return;
  }
  switch (event.kind) {
    case BusEvent::Kind::Sent:
      ++asked->requests;
      sentAt_ = event.timeMs;
      awaitingFirstAnswer_ = true;
      break;
    case BusEvent::Kind::Received: {
      const int from = frameAddress(event.frame);
      ModuleCounts* sender = entry(from);
      if (!sender) return;
      ++sender->answers;
      sender->lastAnsweredAt = event.timeMs;
      if (from == event.asked) {
        sender->lastRequestUnanswered = false;
        if (awaitingFirstAnswer_) {
          sender->lastAnswerMs = event.timeMs - sentAt_;
          sender->answerMsSum += sender->lastAnswerMs;
          ++sender->timedAnswers;
        }
      }
      awaitingFirstAnswer_ = false;
      break;
    }
    case BusEvent::Kind::CrcError:
      ++asked->crcErrors;
      break;
    case BusEvent::Kind::Missing:
      ++asked->missing;
      asked->lastRequestUnanswered = true;
      awaitingFirstAnswer_ = false;
      break;
    case BusEvent::Kind::Dropped:
      return;
  }
  ++version_;
}

void ModuleTally::clear() {
  modules_.fill({});
  others_.clear();
  awaitingFirstAnswer_ = false;
  ++version_;
}

}  // namespace zelta
