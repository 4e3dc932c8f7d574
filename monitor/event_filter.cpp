#include "monitor/event_filter.h"

#include <QStringList>
#include <algorithm>

#include "protocol/frame.h"

namespace zelta::monitor {
namespace {

std::optional<int> address(const QString& text) {
  bool ok = false;
  const int n = text.trimmed().toInt(&ok);
  if (!ok || n < 0 || n > 0xFFFF) return std::nullopt;
  return n;
}

bool isFrame(BusEvent::Kind kind) {
  return kind == BusEvent::Kind::Sent || kind == BusEvent::Kind::Received ||
         kind == BusEvent::Kind::CrcError;
}

}  // namespace

std::optional<EventFilter::Ranges> EventFilter::parseAddresses(const QString& text) {
  Ranges ranges;
  if (text.trimmed().isEmpty()) return ranges;
  for (const QString& part : text.split(QLatin1Char(','))) {
    const QStringList ends = part.split(QLatin1Char('-'));
    if (ends.size() > 2) return std::nullopt;
    const auto low = address(ends.front());
    const auto high = address(ends.back());
    if (!low || !high || *low > *high) return std::nullopt;
    ranges.emplace_back(*low, *high);
  }
  return ranges;
}

bool EventFilter::matches(const CapturedEvent& captured) const {
  const BusEvent& e = captured.event;
  const bool frame = isFrame(e.kind);
  if (command_) {
    const int code = frame ? frameCommand(e.frame) : captured.askedCommand;
    if (code != *command_) return false;
  }
  if (!addresses_.empty()) {
    const int a = frame ? frameAddress(e.frame) : e.asked;
    if (std::none_of(addresses_.begin(), addresses_.end(),
                     [a](const auto& r) { return a >= r.first && a <= r.second; }))
      return false;
  }
  return true;
}

}  // namespace zelta::monitor
