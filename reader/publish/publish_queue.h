// Messages on their way to the broker, oldest first, at most `limit` of them
// counting those handed to the connection and not yet confirmed. A full
// queue drops its oldest message and counts it. A confirmed message leaves;
// when the connection is lost, the unconfirmed ones wait again, in their
// order, ahead of the rest.
#pragma once

#include <QByteArray>
#include <QString>
#include <deque>

namespace zelta {

struct MqttMessage {
  QString topic;
  QByteArray payload;
};

class PublishQueue {
 public:
  explicit PublishQueue(int limit) : limit_(limit) {}

  // Drops the oldest messages beyond the new limit.
  void setLimit(int limit);
  void push(MqttMessage message);
  void clear();

  // The oldest message not yet handed over; null when there is none.
  const MqttMessage* nextToSend() const;
  // nextToSend() went to the connection under this id.
  void handedOver(int id);
  void confirm(int id);
  void connectionLost() { handedOver_ = 0; }

  int size() const { return int(entries_.size()); }
  int inFlight() const { return int(handedOver_); }
  qint64 dropped() const { return dropped_; }

 private:
  struct Entry {
    MqttMessage message;
    int id = -1;
  };
  void dropOldest();

  int limit_;
  std::deque<Entry> entries_;  // the first handedOver_ are in flight
  std::size_t handedOver_ = 0;
  qint64 dropped_ = 0;
};

}  // namespace zelta
