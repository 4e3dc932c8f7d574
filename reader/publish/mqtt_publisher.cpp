#include "mqtt_publisher.h"

#include <QPointer>
#include <QRandomGenerator>

#include "platform/clock.h"
#include "reader/reading_events.h"

namespace zelta {

MqttPublisher::MqttPublisher(Clock& clock, ReadingEvents& readings,
                             PassTracker::ScanRange scanRange, ClientFactory makeClient,
                             QObject* parent)
    : QObject(parent),
      clock_(clock),
      passes_(std::move(scanRange)),
      makeClient_(std::move(makeClient)),
      retry_(new Timer(clock, QStringLiteral("PublishRetry"), kFirstRetryMs, this)),
      wallAnchorMs_(QDateTime::currentMSecsSinceEpoch() - clock.nowMs()),
      runId_(QRandomGenerator::global()->bounded(1000000)) {
  connect(&readings, &ReadingEvents::stored, this, &MqttPublisher::stored);
  connect(&readings, &ReadingEvents::scanStopped, this, &MqttPublisher::scanStopped);
  connect(retry_, &Timer::tick, this, [this] {
    retry_->stop();
    connectNow();
  });
}

// The client, destroyed after this, sends what it holds and leaves.
MqttPublisher::~MqttPublisher() {
  if (state_ == State::Connected) client_->publish(topics_.status(), "offline", true);
}

void MqttPublisher::apply(const PublishOptions& options) {
  const bool wasOn = options_.active;
  if (options == options_ && state_ != State::Off) return;
  options_ = options;
  topics_ = TopicTree(options.site, options.string);
  queue_.setLimit(options.queueLimit);
  retry_->stop();
  retryMs_ = kFirstRetryMs;
  if (options.active) {
    connectNow();
    return;
  }
  if (wasOn && client_) {
    if (state_ == State::Connected) client_->publish(topics_.status(), "offline", true);
    client_->disconnectFrom();
  }
  pending_.clear();
  queue_.clear();
  passes_.finish();
  setState(State::Off);
}

// Only notes the reading: a reply's handling, which the next request of the
// scan waits for, stays as short as without publishing.
void MqttPublisher::stored(const Reading& reading) {
  if (!options_.active) return;
  pending_.push_back(reading);
  if (pending_.size() == 1)
    clock_.callAfter(0, [self = QPointer(this)] {
      if (self) self->takePending();
    });
}

void MqttPublisher::takePending() {
  for (const Reading& r : std::exchange(pending_, {})) {
    if (auto ended = passes_.add(r)) pushSummary(*ended);
    queue_.push(
        {topics_.reading(r.address, r.kind), readingPayload(r.kind, r.value, wallTime(r.timeMs))});
  }
  pump();
}

void MqttPublisher::scanStopped() {
  if (!options_.active) return;
  takePending();
  if (auto ended = passes_.finish()) pushSummary(*ended);
  pump();
}

void MqttPublisher::pushSummary(const PassSummary& pass) {
  queue_.push({topics_.summary(), summaryPayload(pass, wallTime(pass.lastMs))});
}

void MqttPublisher::connectNow() {
  if (!client_) {
    client_ = makeClient_();
    connect(client_.get(), &MqttClient::connected, this, &MqttPublisher::connected);
    connect(client_.get(), &MqttClient::connectFailed, this, &MqttPublisher::failed);
    connect(client_.get(), &MqttClient::connectionLost, this,
            [this](const QString& detail) { failed(MqttFailure::Network, detail); });
    connect(client_.get(), &MqttClient::delivered, this, [this](int id) {
      queue_.confirm(id);
      pump();
    });
  }
  queue_.connectionLost();
  MqttConnection c;
  c.host = options_.host;
  c.port = options_.port;
  c.tls = options_.tls;
  c.caFile = options_.caFile;
  c.user = options_.user;
  c.password = options_.password;
  // Unique per run: two Readers given the same names must not push each
  // other off the broker in turn.
  c.clientId = QStringLiteral("zelta-%1-%2-%3")
                   .arg(TopicTree::level(options_.site), TopicTree::level(options_.string))
                   .arg(runId_);
  c.willTopic = topics_.status();
  c.willPayload = "offline";
  setState(State::Connecting);
  client_->connectTo(c);
}

void MqttPublisher::connected() {
  retryMs_ = kFirstRetryMs;
  problem_.clear();
  client_->publish(topics_.status(), "online", true);
  setState(State::Connected);
  pump();
}

void MqttPublisher::pump() {
  while (state_ == State::Connected && queue_.inFlight() < kInFlightWindow) {
    const MqttMessage* next = queue_.nextToSend();
    if (!next) break;
    const int id = client_->publish(next->topic, next->payload, true);
    if (id < 0) break;  // the connection is going; its loss will be told
    queue_.handedOver(id);
  }
}

void MqttPublisher::failed(MqttFailure failure, const QString& detail) {
  queue_.connectionLost();
  problem_ = detail;
  // A wrong password or certificate does not mend itself within seconds.
  persistentProblem_ = failure == MqttFailure::Credentials || failure == MqttFailure::Tls;
  const int delay = persistentProblem_ ? kLastRetryMs : retryMs_;
  retryMs_ = std::min(retryMs_ * 2, kLastRetryMs);
  retry_->setInterval(delay);
  retry_->start();
  setState(State::Retrying);
}

void MqttPublisher::setState(State state) {
  state_ = state;
  emit stateChanged();
}

QDateTime MqttPublisher::wallTime(qint64 clockMs) const {
  return QDateTime::fromMSecsSinceEpoch(wallAnchorMs_ + clockMs, Qt::UTC);
}

QString MqttPublisher::stateText() const {
  const QString broker =
      QStringLiteral("Publishing to %1:%2: ").arg(options_.host).arg(options_.port);
  QString text;
  switch (state_) {
    case State::Off:
      return {};
    case State::Connecting:
      text = broker + QStringLiteral("connecting");
      break;
    case State::Connected:
      text = broker + QStringLiteral("connected");
      break;
    case State::Retrying: {
      const int s = retry_->interval() / 1000;
      text = broker + (persistentProblem_
                           ? QStringLiteral("%1; next try in %2 s").arg(problem_).arg(s)
                           : QStringLiteral("reconnecting in %2 s (%1)").arg(problem_).arg(s));
      break;
    }
  }
  // While connected a few messages are always on their way; only a backlog
  // is worth a word.
  if (state_ != State::Connected || queue_.size() > kInFlightWindow)
    if (queue_.size() > 0) text += QStringLiteral(", %1 waiting").arg(queue_.size());
  if (queue_.dropped() > 0) text += QStringLiteral(", %1 dropped").arg(queue_.dropped());
  return text;
}

}  // namespace zelta
