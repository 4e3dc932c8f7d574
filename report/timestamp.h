// The timestamps of the log lines, "yyyy-MM-dd hh:mm:ss" in local time (the
// separators are whatever the writer's locale used), as whole seconds on a
// plain calendar count, with no time zone: the report only orders and prints
// them.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelta::report {

std::optional<std::int64_t> parseTimestamp(std::string_view text);
// Also takes a date alone ("2024-05-17", the day's start).
std::optional<std::int64_t> parseDateOrTimestamp(std::string_view text);
QString timestampText(std::int64_t seconds);
QDateTime toDateTime(std::int64_t seconds);  // local time, for chart axes

}  // namespace zelta::report
