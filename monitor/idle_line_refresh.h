// Paces a window's redraw to the bus: at most once per interval, and at a
// moment the line leaves the program idle. Once the timer has ticked, the
// redraw runs right after the next request goes out, so it is drawn while
// the request and its answer are on the wire rather than while an answer
// waits to be handled; when no request goes out until the following tick, it
// runs at that tick.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "protocol/bus_events.h"

namespace zelta {

class Clock;
class Timer;

class IdleLineRefresh final : public QObject, private BusListener {
  Q_OBJECT
 public:
  // Subscribes to events (after the listeners subscribed before it); the
  // timer, named timerName, runs from start() to stop().
  IdleLineRefresh(BusEvents& events, Clock& clock, const QString& timerName, int intervalMs,
                  std::function<void()> redraw, QObject* parent);
  ~IdleLineRefresh() override;

  void start();
  void stop();
  // Redraws at the next request sent or tick, without waiting for a tick first.
  void soon();

 private:
  void busEvent(const BusEvent& event) override;
  void tick();
  void run();

  BusEvents& events_;
  std::function<void()> redraw_;
  Timer* timer_;
  bool due_ = false;
};

}  // namespace zelta
