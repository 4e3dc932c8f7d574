// Keeps the outlier colours of the voltage, temperature and impedance grid
// windows in step with the values: some time after values change (at most
// four times a second however fast they come) it works out each kind's band
// around the string mean and hands the marks to the grid windows, which keep
// them for windows loaded later. Between changes it does nothing.
#pragma once

#include <QObject>
#include <functional>
#include <utility>

namespace zelta {

class Clock;
class GridWindows;
class Timer;
class ValueStore;
struct OutlierBands;

class OutlierColours : public QObject {
  Q_OBJECT
 public:
  static constexpr int kDelayMs = 250;

  OutlierColours(Clock& clock, const ValueStore& store, GridWindows& grids,
                 const OutlierBands& bands, std::function<std::pair<int, int>()> range,
                 QObject* parent = nullptr);

  // Something changed: values, the range or the bands.
  void refreshSoon();

 private:
  void refresh();

  const ValueStore& store_;
  GridWindows& grids_;
  const OutlierBands& bands_;
  std::function<std::pair<int, int>()> range_;
  Timer* timer_;
};

}  // namespace zelta
