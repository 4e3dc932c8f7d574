#include "timestamp.h"

namespace zelta::report {
namespace {

bool digits(std::string_view s, std::size_t at, std::size_t n, int& out) {
  out = 0;
  for (std::size_t i = at; i < at + n; ++i) {
    const char c = s[i];
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  return true;
}

bool separator(char c) { return !(c >= '0' && c <= '9'); }

// Days from 1970-01-01 in the proleptic Gregorian calendar.
std::int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = static_cast<int>(y - era * 400);
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = static_cast<int>(z - era * 146097);
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

std::optional<std::int64_t> dateSeconds(std::string_view s) {
  int y, mo, d;
  if (s.size() < 10 || !digits(s, 0, 4, y) || !separator(s[4]) || !digits(s, 5, 2, mo) ||
      !separator(s[7]) || !digits(s, 8, 2, d))
    return std::nullopt;
  if (mo < 1 || mo > 12 || d < 1 || d > 31) return std::nullopt;
  return daysFromCivil(y, mo, d) * 86400;
}

}  // namespace

std::optional<std::int64_t> parseTimestamp(std::string_view s) {
  int h, mi, se;
  if (s.size() != 19 || s[10] != ' ' || !digits(s, 11, 2, h) || !separator(s[13]) ||
      !digits(s, 14, 2, mi) || !separator(s[16]) || !digits(s, 17, 2, se))
    return std::nullopt;
  if (h > 23 || mi > 59 || se > 60) return std::nullopt;
  const auto day = dateSeconds(s);
  if (!day) return std::nullopt;
  return *day + h * 3600 + mi * 60 + se;
}

std::optional<std::int64_t> parseDateOrTimestamp(std::string_view s) {
  if (s.size() == 10) return dateSeconds(s);
  return parseTimestamp(s);
}

QString timestampText(std::int64_t seconds) {
  std::int64_t days = seconds / 86400;
  std::int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  int y, m, d;
  civilFromDays(days, y, m, d);
  return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", y, m, d, int(rest / 3600),
                           int(rest / 60 % 60), int(rest % 60));
}

QDateTime toDateTime(std::int64_t seconds) {
  const std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  return QDateTime(QDate(1970, 1, 1).addDays(days),
                   QTime(0, 0).addSecs(static_cast<int>(seconds - days * 86400)));
}

}  // namespace zelta::report
