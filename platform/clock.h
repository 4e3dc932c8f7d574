// Time for the programs: named timers in the style the programs are written
// in, and the clock that runs them. Production uses RealClock on the Qt event
// loop; tests use VirtualClock and advance time on request.
//
// Timer semantics: a timer ticks every interval while enabled (a handler makes
// it one-shot by disabling it in its tick); enabling it, or setting its
// interval while enabled, starts the count afresh. A tick may hold its own
// timer (while a message box it opened is on screen): that timer does not
// tick meanwhile and its next tick comes one full interval after the hold
// ends. Every other timer goes on.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

namespace zelta {

class Timer;

class Clock {
 public:
  virtual ~Clock() = default;

  virtual qint64 nowMs() const = 0;
  // The local date and time, for the texts that carry one (log timestamps).
  virtual QDateTime localDateTime() const = 0;

  // Runs fn once, delayMs from now. Not held by message boxes: used for events
  // of the outside world (bytes on the line), which do not wait for the user.
  virtual void callAfter(qint64 delayMs, std::function<void()> fn) = 0;

  // Holds the timer whose tick is running now, if any, until the hold is
  // destroyed. Whatever runs while the hold lasts (other timers' ticks,
  // received bytes) counts as no tick of that timer.
  class TickHold {
   public:
    explicit TickHold(Clock& clock);
    ~TickHold();
    TickHold(const TickHold&) = delete;
    TickHold& operator=(const TickHold&) = delete;

   private:
    Clock& clock_;
    QPointer<Timer> held_;
  };

 protected:
  friend class Timer;
  // Called by Timer: (re)arm t to fall due at dueMs, or disarm it.
  virtual void arm(Timer& t, qint64 dueMs) = 0;
  virtual void disarm(Timer& t) = 0;
  // Called when t is destroyed.
  virtual void drop(Timer& t) { disarm(t); }
  // For clocks: the due tick of t has come (handles holding and rescheduling).
  void fire(Timer& t);

 private:
  QPointer<Timer> ticking_;  // whose tick runs now; none under a hold
};

class Timer : public QObject {
  Q_OBJECT
 public:
  Timer(Clock& clock, const QString& name, int intervalMs, QObject* parent = nullptr);
  ~Timer() override;

  void setInterval(int ms);
  int interval() const { return interval_; }
  void setEnabled(bool on);
  bool isEnabled() const { return enabled_; }
  void start() { setEnabled(true); }
  void stop() { setEnabled(false); }

  // Time of the next tick while enabled (clock time in ms).
  qint64 dueMs() const { return due_; }
  bool isHeld() const { return holds_ > 0; }

 signals:
  void tick();

 private:
  friend class Clock;
  friend class Clock::TickHold;
  void restartCount();

  Clock& clock_;
  int interval_;
  bool enabled_ = false;
  int holds_ = 0;
  qint64 due_ = 0;
};

}  // namespace zelta
