#include "string_analysis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>

#include "number_field.h"

namespace zelta::report {
namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

std::optional<InfoKind> infoKindOf(std::string_view name) {
  if (name == "HW") return InfoKind::Hardware;
  if (name == "SW") return InfoKind::Software;
  if (name == "Modultyp") return InfoKind::ModuleType;
  return std::nullopt;
}

}  // namespace

void Extremes::add(double v, std::int64_t t) {
  if (count == 0) {
    min = max = v;
  } else {
    min = std::min(min, v);
    max = std::max(max, v);
  }
  ++count;
  latest = v;
  latestTime = t;
}

void Streak::note(bool holds, std::int64_t t) {
  if (!holds) {
    since.reset();
    return;
  }
  ++passes;
  if (!since) since = t;
}

StringAnalysis::StringAnalysis(const ReportSettings& settings) : settings_(settings) {}

int StringAnalysis::blocksFound() const {
  return static_cast<int>(
      std::count_if(blocks_.begin(), blocks_.end(), [](const BlockStats& b) { return b.seen; }));
}

bool StringAnalysis::numbers(const std::vector<std::string_view>& modules, std::string& reason) {
  values_.assign(modules.size(), kMissing);
  for (std::size_t i = 0; i < modules.size(); ++i) {
    if (modules[i].empty() || parsePlainDecimal(modules[i], values_[i])) continue;
    const auto v = parseNumberField(modules[i]);
    if (!v) {
      reason = "Module(" + std::to_string(i + 1) + ") \"" + std::string(modules[i].substr(0, 20)) +
               "\" is not a number";
      return false;
    }
    values_[i] = *v;
  }
  return true;
}

void StringAnalysis::seen(BlockStats& b, std::int64_t t) {
  b.seen = true;
  b.lastSeen = std::max(b.lastSeen, t);
}

bool StringAnalysis::addPass(LogKind kind, std::int64_t t, std::string_view name,
                             const std::vector<std::string_view>& modules, std::string& reason) {
  if (modules.size() > static_cast<std::size_t>(kMaxBlocks)) {
    reason =
        std::to_string(modules.size()) + " module fields, more than " + std::to_string(kMaxBlocks);
    return false;
  }
  if (kind == LogKind::Info) {
    if (!infoKindOf(name)) {
      reason = "unknown name of values \"" + std::string(name.substr(0, 20)) + "\"";
      return false;
    }
  } else if (!numbers(modules, reason)) {
    return false;
  }
  first_ = first_ ? std::min(*first_, t) : t;
  last_ = last_ ? std::max(*last_, t) : t;
  switch (kind) {
    case LogKind::Voltages:
      addVoltages(t);
      break;
    case LogKind::Temperatures:
      addTemperatures(t);
      break;
    case LogKind::Impedances:
      addImpedances(t);
      break;
    case LogKind::Info:
      addInfo(t, name, modules);
      break;
  }
  ++passes_[static_cast<std::size_t>(kind)];
  return true;
}

namespace {

double meanOf(const std::vector<double>& values) {
  double sum = 0;
  int n = 0;
  for (double v : values)
    if (!std::isnan(v)) {
      sum += v;
      ++n;
    }
  return n ? sum / n : kMissing;
}

}  // namespace

void StringAnalysis::addVoltages(std::int64_t t) {
  const double mean = meanOf(values_);
  const auto pass = static_cast<std::int64_t>(passes_[0]);
  const double percentOfMean = mean != 0 ? 100.0 / mean : 0;
  const int stringBin = stringVoltage_.binOf(t);
  const int deviationBin = deviation_.binOf(t);
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const double v = values_[i];
    if (std::isnan(v)) continue;
    BlockStats& b = blocks_[i];
    seen(b, t);
    b.voltage.add(v, t);
    b.lastVoltagePass = pass;
    b.stringMeanAtLatest = mean;
    b.deviationPercent = (v - mean) * percentOfMean;
    b.maxAbsDeviationPercent = std::max(b.maxAbsDeviationPercent, std::abs(b.deviationPercent));
    b.outsideBand.note(std::abs(b.deviationPercent) > settings_.voltageBandPercent, t);
    stringVoltage_.addToBin(0, stringBin, v);
    deviation_.addToBin(static_cast<int>(i), deviationBin, b.deviationPercent);
  }
}

void StringAnalysis::addTemperatures(std::int64_t t) {
  const double mean = meanOf(values_);
  const auto pass = static_cast<std::int64_t>(passes_[1]);
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const double v = values_[i];
    if (std::isnan(v)) continue;
    BlockStats& b = blocks_[i];
    seen(b, t);
    b.temperature.add(v, t);
    b.lastTemperaturePass = pass;
    b.aboveMeanC = v - mean;
    b.maxAboveMeanC = std::max(b.maxAboveMeanC, b.aboveMeanC);
    b.hot.note(b.aboveMeanC > settings_.temperatureMarginC, t);
  }
}

void StringAnalysis::addImpedances(std::int64_t t) {
  const auto readings = static_cast<std::size_t>(std::max(1, settings_.impedanceReadings));
  const int bin = impedance_.binOf(t);
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const double v = values_[i];
    if (std::isnan(v)) continue;
    BlockStats& b = blocks_[i];
    seen(b, t);
    b.impedance.add(v, t);
    if (b.baselineCount < static_cast<int>(readings)) {
      b.baselineSum += v;
      ++b.baselineCount;
    }
    b.recentImpedance.push_back(v);
    if (b.recentImpedance.size() > readings) b.recentImpedance.pop_front();
    impedance_.addToBin(static_cast<int>(i), bin, v);
    const int number = static_cast<int>(i) + 1;
    const auto base = impedanceBaseline(number);
    const auto now = impedanceNow(number);
    // Judged once "now" no longer shares its readings with the baseline.
    const bool judged =
        base && now &&
        (settings_.impedanceBaseline.count(number) || b.impedance.count >= 2 * readings);
    b.impedanceRisen.note(
        judged && *base > 0 && (*now / *base - 1) * 100.0 > settings_.impedanceRisePercent, t);
  }
}

void StringAnalysis::addInfo(std::int64_t t, std::string_view name,
                             const std::vector<std::string_view>& modules) {
  const auto kind = static_cast<std::size_t>(*infoKindOf(name));
  for (std::size_t i = 0; i < modules.size(); ++i) {
    if (modules[i].empty()) continue;
    BlockStats& b = blocks_[i];
    seen(b, t);
    InfoValue& v = b.info[kind];
    if (v.first.empty()) {
      v.first = v.latest = std::string(modules[i]);
    } else if (v.latest != modules[i]) {
      v.latest = std::string(modules[i]);
      v.changed = true;
      v.changedAt = t;
    }
  }
}

std::optional<double> StringAnalysis::impedanceBaseline(int number) const {
  const auto given = settings_.impedanceBaseline.find(number);
  if (given != settings_.impedanceBaseline.end()) return given->second;
  const BlockStats& b = block(number);
  if (b.baselineCount == 0) return std::nullopt;
  return b.baselineSum / b.baselineCount;
}

std::optional<double> StringAnalysis::impedanceNow(int number) const {
  const BlockStats& b = block(number);
  if (b.recentImpedance.empty()) return std::nullopt;
  return std::accumulate(b.recentImpedance.begin(), b.recentImpedance.end(), 0.0) /
         static_cast<double>(b.recentImpedance.size());
}

std::pair<std::string, int> StringAnalysis::commonInfo(InfoKind kind) const {
  std::map<std::string, int> counts;
  for (const BlockStats& b : blocks_) {
    const std::string& v = b.info[static_cast<std::size_t>(kind)].latest;
    if (!v.empty()) ++counts[v];
  }
  std::pair<std::string, int> best;
  for (const auto& [value, n] : counts)
    if (n > best.second) best = {value, n};
  return best;
}

}  // namespace zelta::report
