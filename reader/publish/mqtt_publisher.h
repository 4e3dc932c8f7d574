// Publishes every reading the Reader files in Scan Mode, and a summary of each
// scan pass, to an MQTT broker, retained at QoS 1. It follows the reading
// events on its own; the scan never waits for it. While the broker is out of
// reach the messages wait in a bounded queue and go out in their order once
// it is back. Reconnecting backs off from 1 s to 60 s on the program's clock;
// a refused password or a TLS failure waits the full 60 s every time.
#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "mqtt_client.h"
#include "mqtt_topics.h"
#include "pass_summary.h"
#include "publish_options.h"
#include "publish_queue.h"

namespace zelta {

class Clock;
class ReadingEvents;
class Timer;

class MqttPublisher : public QObject {
  Q_OBJECT
 public:
  enum class State { Off, Connecting, Connected, Retrying };
  using ClientFactory = std::function<std::unique_ptr<MqttClient>()>;

  static constexpr int kFirstRetryMs = 1000;
  static constexpr int kLastRetryMs = 60000;
  // Messages handed to the connection before the broker confirms any.
  static constexpr int kInFlightWindow = 100;

  MqttPublisher(Clock& clock, ReadingEvents& readings, PassTracker::ScanRange scanRange,
                ClientFactory makeClient, QObject* parent = nullptr);
  ~MqttPublisher() override;

  // Takes effect at once: connects, reconnects with new settings, or says
  // "offline" and leaves, dropping what still waits.
  void apply(const PublishOptions& options);
  const PublishOptions& options() const { return options_; }
  // Where connections come from (made when publishing first connects).
  void setClientFactory(ClientFactory makeClient) { makeClient_ = std::move(makeClient); }

  State state() const { return state_; }
  // The line for the main window; empty while publishing is off.
  QString stateText() const;
  int waiting() const { return queue_.size(); }
  qint64 dropped() const { return queue_.dropped(); }

 signals:
  void stateChanged();

 private:
  void stored(const Reading& reading);
  void takePending();
  void scanStopped();
  void pushSummary(const PassSummary& pass);
  void connectNow();
  void pump();
  void connected();
  void failed(MqttFailure failure, const QString& detail);
  void setState(State state);
  QDateTime wallTime(qint64 clockMs) const;

  Clock& clock_;
  PassTracker passes_;
  ClientFactory makeClient_;
  std::unique_ptr<MqttClient> client_;
  PublishOptions options_;
  TopicTree topics_{options_.site, options_.string};
  std::vector<Reading> pending_;  // noted, not yet queued
  PublishQueue queue_{options_.queueLimit};
  Timer* retry_;
  int retryMs_ = kFirstRetryMs;
  State state_ = State::Off;
  QString problem_;
  bool persistentProblem_ = false;
  qint64 wallAnchorMs_;  // wall time at clock time 0
  int runId_;            // makes the client id unique
};

}  // namespace zelta
