// One look at the string, for the overview and the outlier colours. The
// expected string is the scan range (start to end address); every module in
// it gets a row, and so does any other address that answered. Each row holds
// the module's last values and revisions from the value tables and its bus
// counts; each measured kind gets its string statistics over the range, and
// values outside the kind's band are marked. Types and revisions that differ
// within the string are summed up and the odd ones flagged.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "module_tally.h"
#include "outlier_bands.h"
#include "value_kind.h"

namespace zelta {

class ValueStore;

// The kinds with numbers and statistics, and the kinds with texts that must
// agree within a string, in the overview's column order.
inline constexpr std::array<ValueKind, 3> kMeasuredKinds = {
    ValueKind::Voltage, ValueKind::Temperature, ValueKind::Impedance};
inline constexpr std::array<ValueKind, 3> kInfoKinds = {ValueKind::ModuleType, ValueKind::Hardware,
                                                        ValueKind::Software};

struct KindStatistics {
  int count = 0;  // modules with a value
  double min = 0;
  double max = 0;
  double mean = 0;
  int minAddress = 0;
  int maxAddress = 0;
  double spread() const { return max - min; }
};

enum class RowState { Answering, NotAnswering, NeverAnswered, NotAsked, OutsideRange };
QString rowStateText(RowState state);

struct OverviewRow {
  int address = 0;
  RowState state = RowState::NotAsked;
  std::array<QString, 3> info;                  // in the order of kInfoKinds
  std::array<bool, 3> oddInfo{};                // differs from what most modules report
  std::array<std::optional<double>, 3> values;  // in the order of kMeasuredKinds
  std::array<Deviation, 3> deviations{};
  ModuleCounts counts;

  bool operator==(const OverviewRow&) const = default;
};

struct StringSnapshot {
  int first = 1;
  int last = 1;
  std::vector<OverviewRow> rows;  // the range in address order, then the others
  std::array<KindStatistics, 3> statistics;
  std::vector<int> found;          // in the range, answered
  std::vector<int> neverAnswered;  // in the range, asked but never answered
  std::vector<int> notAsked;       // in the range
  std::vector<int> outside;        // answered from outside the range
  QStringList mixes;               // one line per kind whose texts differ
};

// The scan range as the scan reads its fields, kept within 1 to 340.
std::pair<int, int> scanRange(const QString& startAddress, const QString& endAddress);

KindStatistics statisticsOf(ValueKind kind, const ValueStore& store, int first, int last);
// Every cell of a measured kind: marked where its value lies outside the
// band around the string mean (only within the range).
std::array<Deviation, kModuleCount> deviationsOf(ValueKind kind, const ValueStore& store, int first,
                                                 int last, const OutlierBands& bands);

StringSnapshot takeSnapshot(int first, int last, const ValueStore& store, const ModuleTally& tally,
                            const OutlierBands& bands);

// "3 modules report 3.0, 21 report 3.1", fewest first; empty when all agree.
QString mixText(const std::vector<QString>& texts, const QString& prefix = {});
// "5, 17, 20-22", at most maxItems runs and "…" after them.
QString addressList(const std::vector<int>& addresses, int maxItems = 12);

}  // namespace zelta
