// The per-block analysis of one string: fed one log line (one pass) at a
// time, it keeps per block the latest, lowest and highest voltage and
// temperature, the deviation from the string mean at each pass, the impedance
// against its baseline, when the block was last seen and its type and
// revisions; and over time, in bounded bins, the string's voltage spread, each
// block's deviation and each block's impedance. Memory does not grow with the
// number of passes.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "binned_series.h"
#include "log_kind.h"
#include "report_settings.h"

namespace zelta::report {

struct Extremes {
  std::uint64_t count = 0;
  double latest = 0, min = 0, max = 0;
  std::int64_t latestTime = 0;
  void add(double v, std::int64_t t);
};

// A condition that holds pass after pass: since when it holds now, and in
// how many passes it held.
struct Streak {
  std::optional<std::int64_t> since;
  std::uint64_t passes = 0;
  void note(bool holds, std::int64_t t);
};

struct InfoValue {
  std::string first, latest;
  std::int64_t changedAt = 0;  // last time latest differed from the value before
  bool changed = false;
};

struct BlockStats {
  bool seen = false;
  std::int64_t lastSeen = 0;

  Extremes voltage;
  double deviationPercent = 0;  // at its latest pass
  double maxAbsDeviationPercent = 0;
  double stringMeanAtLatest = 0;
  Streak outsideBand;
  std::int64_t lastVoltagePass = -1;

  Extremes temperature;
  double aboveMeanC = 0;  // at its latest pass
  double maxAboveMeanC = 0;
  Streak hot;
  std::int64_t lastTemperaturePass = -1;

  Extremes impedance;
  double baselineSum = 0;
  int baselineCount = 0;
  std::deque<double> recentImpedance;  // the last impedanceReadings readings
  Streak impedanceRisen;

  std::array<InfoValue, 3> info;  // HW, SW, Modultyp
};

enum class InfoKind { Hardware, Software, ModuleType };

class StringAnalysis {
 public:
  explicit StringAnalysis(const ReportSettings& settings);

  // One value line of a file, module fields parsed as numbers (NaN where
  // empty). False and a reason when a field is not a number.
  bool addPass(LogKind kind, std::int64_t time, std::string_view name,
               const std::vector<std::string_view>& modules, std::string& reason);

  const BlockStats& block(int number) const {
    return blocks_[static_cast<std::size_t>(number - 1)];
  }
  int blocksFound() const;
  std::uint64_t passes(LogKind kind) const { return passes_[static_cast<std::size_t>(kind)]; }
  std::optional<std::int64_t> firstTime() const { return first_; }
  std::optional<std::int64_t> lastTime() const { return last_; }

  // Impedance baseline of a block: from the baseline file, else the mean of
  // its first readings (while it has fewer, of those it has).
  std::optional<double> impedanceBaseline(int number) const;
  std::optional<double> impedanceNow(int number) const;
  // The value most blocks have now, and how many have it.
  std::pair<std::string, int> commonInfo(InfoKind kind) const;

  const BinnedSeries& stringVoltage() const { return stringVoltage_; }  // series 0
  const BinnedSeries& deviation() const { return deviation_; }          // series block - 1
  const BinnedSeries& impedanceTrend() const { return impedance_; }     // series block - 1
  const ReportSettings& settings() const { return settings_; }

 private:
  bool numbers(const std::vector<std::string_view>& modules, std::string& reason);
  void seen(BlockStats& b, std::int64_t t);
  void addVoltages(std::int64_t t);
  void addTemperatures(std::int64_t t);
  void addImpedances(std::int64_t t);
  void addInfo(std::int64_t t, std::string_view name, const std::vector<std::string_view>& modules);

  const ReportSettings& settings_;
  std::array<BlockStats, kMaxBlocks> blocks_{};
  std::array<std::uint64_t, 4> passes_{};
  std::optional<std::int64_t> first_, last_;
  std::vector<double> values_;
  BinnedSeries stringVoltage_{1};
  BinnedSeries deviation_{kMaxBlocks};
  BinnedSeries impedance_{kMaxBlocks};
};

}  // namespace zelta::report
