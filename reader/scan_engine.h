// Scan Mode: sweeps the address range one request at a time, kind after kind
// (module type, hardware, software once; then voltage and temperature over
// and over, with an impedance sweep whenever the countdown has run out). Each
// kind has a phase timer; at the Fast rate the next request follows a reply
// (or a missing answer) 10 ms later instead. There are no retries: a module
// that does not answer in time counts as a missing answer. A stopped scan
// stays stopped; its pass ends once the last request has settled.
#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "flash_lamp.h"
#include "reader_link.h"

class QWidget;

namespace zelta {

class Clock;
class Timer;
struct ReaderControls;
struct ReaderState;

class ScanEngine final : public QObject, public ReplyFollowUp {
  Q_OBJECT
 public:
  struct Hooks {
    std::function<void()> clearOldValues;  // "Clear old values at start"
    // After Stop, Close or Manual Mode, once the request still on its way has
    // been answered or has timed out, so that its reply joins the pass.
    std::function<void()> scanEnded;
  };

  ScanEngine(Clock& clock, ReaderState& state, const ReaderControls& controls, ReaderLink& link,
             QWidget& form1, Hooks hooks);

  void start();
  void stop();
  void pollFast();
  void pollMedium();
  void pollSlow();

  // Every scan timer off and the answer-driven stepping disarmed (Stop,
  // Manual Mode, Close); the scan has ended. The answer timer and the fast
  // step are left alone.
  void haltScanTimers();

  // The answer timer, shared with the manual requests.
  Timer& answerTimer() const { return *timer8_; }

  void answerReceived() override;
  void replyHandled() override;

 private:
  enum Phase { ModuleType = 1, Hardware, Software, Voltage, Temperature, Impedance };

  Timer* makeTimer(const char* name, int ms);
  Timer* phaseTimer(int phase) const;
  void step(int phase);
  void endOfSweep(int phase);
  void fastStepTick();
  void missingAnswerTick();
  void endOfPauseTick();
  void minuteTick();
  void armFastStepIfDue();
  void requestSettled();
  void setPhaseInterval(int ms);
  int answerIntervalForRate() const;

  void startAddressChanged();
  void endAddressChanged();
  void countdownChanged();

  Clock& clock_;
  ReaderState& state_;
  const ReaderControls& c_;
  ReaderLink& link_;
  QWidget& form1_;
  Hooks hooks_;

  Timer* timer3_;   // minute countdown
  Timer* timer5_;   // module type
  Timer* timer11_;  // hardware
  Timer* timer13_;  // software
  Timer* timer15_;  // voltage
  Timer* timer17_;  // temperature
  Timer* timer9_;   // impedance
  Timer* timer12_;  // fast step
  Timer* timer8_;   // answer
  Timer* timer10_;  // pause after impedance
  FlashLamp ma_;
  bool running_ = false;     // from Start until Stop, Close or Manual Mode
  bool endPassDue_ = false;  // the scan ended with a request on its way
};

}  // namespace zelta
