// A connection to an MQTT broker as the publisher needs it: connect with a
// last will, publish at QoS 1, and learn of deliveries and failures. Every
// signal arrives on the thread the client was created on (the UI thread),
// never from inside a call; network work happens elsewhere.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace zelta {

struct MqttConnection {
  QString host;
  int port = 1883;
  bool tls = false;
  QString caFile;  // with tls: the certificate authority the broker is checked against
  QString user;    // empty: no user name
  QString password;
  QString clientId;
  QString willTopic;  // retained at QoS 1 by the broker when the link dies
  QByteArray willPayload;
};

enum class MqttFailure {
  Network,      // broker unreachable, refused the connection or did not answer
  Credentials,  // the broker refused the user name or password
  Tls,          // the TLS handshake failed (certificate, CA file, protocol)
  Refused,      // any other refusal by the broker
};

class MqttClient : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~MqttClient() override = default;

  // Drops any earlier connection and its undelivered messages, then connects.
  // Ends in connected() or connectFailed().
  virtual void connectTo(const MqttConnection& connection) = 0;
  // Sends what was published so far, then leaves without the last will.
  virtual void disconnectFrom() = 0;
  // Hands a QoS 1 message to the connection; its id comes back in
  // delivered() once the broker has it. -1 when not connected.
  virtual int publish(const QString& topic, const QByteArray& payload, bool retain) = 0;

 signals:
  void connected();
  void connectFailed(zelta::MqttFailure failure, const QString& detail);
  void connectionLost(const QString& detail);
  void delivered(int messageId);
};

}  // namespace zelta
