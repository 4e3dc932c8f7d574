// The views that follow the string beside the document's windows: the
// string overview and the trend plot, opened from the "&View" menu, and the
// outlier colours of the grid windows. What they show is gathered all the
// time, cheaply and in bounded memory (per-module counts, the trend's
// history, the colours); the two windows exist only while open, refresh a
// few times a second while shown, and cost nothing once closed. The scan and
// the document's windows know nothing of them: they listen to the bus and to
// the values filed, and to the scan's buttons by their names.
#pragma once

#include <QDateTime>
#include <QObject>
#include <memory>
#include <vector>

#include "module_tally.h"
#include "outlier_bands.h"
#include "pass_trend.h"
#include "window_slot.h"

class QMainWindow;

namespace zelta {

struct Platform;
struct ReaderState;
class BusEvents;
class GridWindows;
class OutlierColours;
class ReadingEvents;
class StringOverviewWindow;
class TrendWindow;
class ValueStore;

class StringViews : public QObject {
  Q_OBJECT
 public:
  struct Sources {
    Platform& platform;
    BusEvents& bus;
    ReadingEvents& readings;
    GridWindows& grids;
    const ReaderState& state;
    const ValueStore& store;
  };
  StringViews(QMainWindow& form1, const Sources& sources);
  ~StringViews() override;

  // "String_Overview" or "Trend_Plot" while loaded; null otherwise.
  QWidget* find(const QString& name) const;
  void openOverview();
  void openTrend();
  // Picks the modules for the trend and opens it.
  void showInTrend(const std::vector<int>& addresses);
  void unload();

  // For the windows.
  Platform& platform() const { return platform_; }
  BusEvents& bus() const { return bus_; }
  const ValueStore& store() const { return store_; }
  const ModuleTally& tally() const { return tally_; }
  PassTrend& trend() { return trend_; }
  const OutlierBands& bands() const { return bands_; }
  void setBands(const OutlierBands& bands);
  // The scan range (start to end address).
  std::pair<int, int> range() const;
  // Goes up with every value filed or cleared and every change of bands.
  std::uint64_t valuesVersion() const { return valuesVersion_; }
  // A clock time as a time of day.
  QString timeText(qint64 clockMs) const;

 private:
  void connectScanControls(QMainWindow& form1);

  Platform& platform_;
  BusEvents& bus_;
  const ReaderState& state_;
  const ValueStore& store_;
  ModuleTally tally_;
  PassTrend trend_;
  OutlierBands bands_;
  OutlierColours* colours_;
  std::uint64_t valuesVersion_ = 0;
  QDateTime startedAt_;
  qint64 startedAtMs_;
  WindowSlot<StringOverviewWindow> overview_;
  WindowSlot<TrendWindow> trendWindow_;
};

}  // namespace zelta
