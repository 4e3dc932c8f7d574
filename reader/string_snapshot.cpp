#include "string_snapshot.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <span>

#include "number_text.h"
#include "value_store.h"

namespace zelta {
namespace {

std::optional<double> numberAt(const ValueStore& store, ValueKind kind, int address) {
  const StoredValue& v = store.at(kind, address - 1);
  if (const double* d = std::get_if<double>(&v)) return *d;
  return std::nullopt;
}

int clampAddress(double a) {
  if (!std::isfinite(a)) return 1;
  return static_cast<int>(std::clamp(std::nearbyint(a), 1.0, double(kModuleCount)));
}

// Text shown for a module's revision or type, "Rev. " before hardware.
QString infoText(ValueKind kind, const StoredValue& v) {
  const QString text = generalForm(v);
  return kind == ValueKind::Hardware && !text.isEmpty() ? QStringLiteral("Rev. ") + text : text;
}

const char* mixPrefix(ValueKind kind) {
  switch (kind) {
    case ValueKind::ModuleType:
      return "Module type: ";
    case ValueKind::Hardware:
      return "Hardware: ";
    default:
      return "Software: ";
  }
}

RowState stateOf(const ModuleCounts& c) {
  if (c.answers > 0) return c.lastRequestUnanswered ? RowState::NotAnswering : RowState::Answering;
  return c.requests > 0 ? RowState::NeverAnswered : RowState::NotAsked;
}

}  // namespace

QString rowStateText(RowState state) {
  switch (state) {
    case RowState::Answering:
      return QStringLiteral("answering");
    case RowState::NotAnswering:
      return QStringLiteral("not answering");
    case RowState::NeverAnswered:
      return QStringLiteral("never answered");
    case RowState::NotAsked:
      return QStringLiteral("not asked yet");
    case RowState::OutsideRange:
      return QStringLiteral("outside the range");
  }
  return {};
}

std::pair<int, int> scanRange(const QString& startAddress, const QString& endAddress) {
  const int first = clampAddress(lenientNumber(startAddress));
  return {first, std::max(first, clampAddress(lenientNumber(endAddress)))};
}

KindStatistics statisticsOf(ValueKind kind, const ValueStore& store, int first, int last) {
  KindStatistics s;
  double sum = 0;
  for (int a = first; a <= last; ++a) {
    const auto v = numberAt(store, kind, a);
    if (!v) continue;
    if (s.count == 0 || *v < s.min) {
      s.min = *v;
      s.minAddress = a;
    }
    if (s.count == 0 || *v > s.max) {
      s.max = *v;
      s.maxAddress = a;
    }
    sum += *v;
    ++s.count;
  }
  if (s.count > 0) s.mean = sum / s.count;
  return s;
}

std::array<Deviation, kModuleCount> deviationsOf(ValueKind kind, const ValueStore& store, int first,
                                                 int last, const OutlierBands& bands) {
  std::array<Deviation, kModuleCount> marks{};
  const KindStatistics s = statisticsOf(kind, store, first, last);
  if (s.count < 2) return marks;  // one module is its own mean
  for (int a = first; a <= last; ++a)
    if (const auto v = numberAt(store, kind, a))
      marks[static_cast<std::size_t>(a - 1)] = bands.deviationOf(kind, *v, s.mean);
  return marks;
}

QString mixText(const std::vector<QString>& texts, const QString& prefix) {
  std::map<QString, int> counts;
  for (const QString& t : texts)
    if (!t.isEmpty()) ++counts[t];
  if (counts.size() < 2) return {};
  std::vector<std::pair<int, QString>> byCount;
  for (const auto& [text, n] : counts) byCount.emplace_back(n, text);
  std::stable_sort(byCount.begin(), byCount.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  QStringList parts;
  for (const auto& [n, text] : byCount) {
    if (parts.isEmpty())
      parts << QStringLiteral("%1 %2 %3")
                   .arg(n)
                   .arg(n == 1 ? "module reports" : "modules report", text);
    else
      parts << QStringLiteral("%1 %2 %3").arg(n).arg(n == 1 ? "reports" : "report", text);
  }
  return prefix + parts.join(QStringLiteral(", "));
}

QString addressList(const std::vector<int>& addresses, int maxItems) {
  QStringList runs;
  for (std::size_t i = 0; i < addresses.size();) {
    std::size_t j = i;
    while (j + 1 < addresses.size() && addresses[j + 1] == addresses[j] + 1) ++j;
    if (static_cast<int>(runs.size()) == maxItems) {
      runs << QStringLiteral("…");
      break;
    }
    runs << (j == i ? QString::number(addresses[i])
                    : QStringLiteral("%1-%2").arg(addresses[i]).arg(addresses[j]));
    i = j + 1;
  }
  return runs.join(QStringLiteral(", "));
}

StringSnapshot takeSnapshot(int first, int last, const ValueStore& store, const ModuleTally& tally,
                            const OutlierBands& bands) {
  StringSnapshot snap;
  snap.first = first;
  snap.last = last;
  for (std::size_t k = 0; k < kMeasuredKinds.size(); ++k)
    snap.statistics[k] = statisticsOf(kMeasuredKinds[k], store, first, last);

  auto rowFor = [&](int address, const ModuleCounts& counts, bool inRange) {
    OverviewRow row;
    row.address = address;
    row.counts = counts;
    row.state = inRange ? stateOf(counts) : RowState::OutsideRange;
    if (address < 1 || address > kModuleCount) return row;
    for (std::size_t k = 0; k < kInfoKinds.size(); ++k)
      row.info[k] = infoText(kInfoKinds[k], store.at(kInfoKinds[k], address - 1));
    for (std::size_t k = 0; k < kMeasuredKinds.size(); ++k) {
      row.values[k] = numberAt(store, kMeasuredKinds[k], address);
      const KindStatistics& s = snap.statistics[k];
      if (inRange && row.values[k] && s.count >= 2)
        row.deviations[k] = bands.deviationOf(kMeasuredKinds[k], *row.values[k], s.mean);
    }
    return row;
  };

  for (int a = first; a <= last; ++a) {
    snap.rows.push_back(rowFor(a, tally.at(a), true));
    switch (snap.rows.back().state) {
      case RowState::NeverAnswered:
        snap.neverAnswered.push_back(a);
        break;
      case RowState::NotAsked:
        snap.notAsked.push_back(a);
        break;
      default:
        snap.found.push_back(a);
        break;
    }
  }
  for (int a = 1; a <= kModuleCount; ++a)
    if ((a < first || a > last) && tally.at(a).answers > 0) {
      snap.rows.push_back(rowFor(a, tally.at(a), false));
      snap.outside.push_back(a);
    }
  for (const auto& [a, counts] : tally.others())
    if (counts.answers > 0) {
      snap.rows.push_back(rowFor(a, counts, false));
      snap.outside.push_back(a);
    }
  std::sort(snap.outside.begin(), snap.outside.end());

  // Types and revisions within the range: the most common one is the
  // string's, the others are flagged.
  for (std::size_t k = 0; k < kInfoKinds.size(); ++k) {
    std::vector<QString> texts;
    std::map<QString, int> counts;
    const auto inRange = std::span(snap.rows).first(static_cast<std::size_t>(last - first + 1));
    for (const OverviewRow& r : inRange) {
      texts.push_back(r.info[k]);
      if (!r.info[k].isEmpty()) ++counts[r.info[k]];
    }
    const QString mix = mixText(texts, QString::fromLatin1(mixPrefix(kInfoKinds[k])));
    if (mix.isEmpty()) continue;
    snap.mixes << mix;
    const auto common =
        std::max_element(counts.begin(), counts.end(),
                         [](const auto& x, const auto& y) { return x.second < y.second; });
    for (OverviewRow& r : inRange)
      r.oddInfo[k] = !r.info[k].isEmpty() && r.info[k] != common->first;
  }
  return snap;
}

}  // namespace zelta
