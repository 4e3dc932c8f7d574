#include "mosquitto_client.h"

#include <mosquitto.h>

#include <QFile>
#include <QMetaObject>
#include <cerrno>
#include <cstring>
#include <utility>

namespace zelta {
namespace {

constexpr int kKeepAliveS = 30;
constexpr int kLoopTimeoutMs = 50;
// Real time: how long a broker may take to answer a connection attempt.
constexpr auto kAnswerTimeout = std::chrono::seconds(10);
constexpr auto kLeaveTimeout = std::chrono::seconds(1);

void initialiseLibraryOnce() {
  struct Library {
    Library() { mosquitto_lib_init(); }
    ~Library() { mosquitto_lib_cleanup(); }
  };
  static Library library;
}

QByteArray utf8(const QString& s) { return s.toUtf8(); }

}  // namespace

MosquittoClient::MosquittoClient(QObject* parent) : MqttClient(parent) {
  initialiseLibraryOnce();
  worker_ = std::thread([this] { run(); });
}

MosquittoClient::~MosquittoClient() {
  {
    std::lock_guard lock(commandMutex_);
    quit_ = true;
  }
  wake_.notify_one();
  worker_.join();
}

void MosquittoClient::connectTo(const MqttConnection& connection) {
  {
    std::lock_guard lock(commandMutex_);
    connectRequest_ = ConnectRequest{connection, ++generation_};
  }
  wake_.notify_one();
}

void MosquittoClient::disconnectFrom() {
  {
    std::lock_guard lock(commandMutex_);
    ++generation_;
    connectRequest_.reset();
    disconnectRequest_ = true;
  }
  wake_.notify_one();
}

int MosquittoClient::publish(const QString& topic, const QByteArray& payload, bool retain) {
  std::lock_guard lock(handleMutex_);
  if (!handle_ || !up_) return -1;
  int id = 0;
  const int rc = mosquitto_publish(handle_, &id, utf8(topic).constData(), int(payload.size()),
                                   payload.constData(), 1, retain);
  return rc == MOSQ_ERR_SUCCESS ? id : -1;
}

void MosquittoClient::report(std::function<void(MosquittoClient&)> fn) {
  const std::uint64_t generation = linkGeneration_;
  QMetaObject::invokeMethod(
      this,
      [this, generation, fn = std::move(fn)] {
        if (generation == generation_) fn(*this);
      },
      Qt::QueuedConnection);
}

void MosquittoClient::run() {
  for (;;) {
    std::optional<ConnectRequest> request;
    bool disconnect = false;
    {
      std::unique_lock lock(commandMutex_);
      if (link_ == Link::Down)
        wake_.wait(lock, [this] { return quit_ || connectRequest_ || disconnectRequest_; });
      if (quit_) break;
      request.swap(connectRequest_);
      disconnect = std::exchange(disconnectRequest_, false);
    }
    if (disconnect) leave();
    if (request) start(*request);
    if (link_ != Link::Down) step();
  }
  leave();
}

void MosquittoClient::start(const ConnectRequest& request) {
  closeHandle();
  linkGeneration_ = request.generation;
  lastTlsError_.clear();
  const MqttConnection& c = request.connection;
  mosquitto* m =
      mosquitto_new(c.clientId.isEmpty() ? nullptr : utf8(c.clientId).constData(), true, this);
  if (!m) return fail(MqttFailure::Refused, QStringLiteral("the MQTT client could not be created"));
  {
    std::lock_guard lock(handleMutex_);
    handle_ = m;
  }
  mosquitto_threaded_set(m, true);
  mosquitto_int_option(m, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
  mosquitto_connect_callback_set(m, &MosquittoClient::onConnect);
  mosquitto_publish_callback_set(m, &MosquittoClient::onPublish);
  mosquitto_log_callback_set(m, &MosquittoClient::onLog);
  if (!c.user.isEmpty())
    mosquitto_username_pw_set(m, utf8(c.user).constData(), utf8(c.password).constData());
  if (!c.willTopic.isEmpty())
    mosquitto_will_set(m, utf8(c.willTopic).constData(), int(c.willPayload.size()),
                       c.willPayload.constData(), 1, true);
  if (c.tls) {
    int rc = MOSQ_ERR_SUCCESS;
    if (c.caFile.isEmpty())
      rc = mosquitto_int_option(m, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
    else
      rc = mosquitto_tls_set(m, QFile::encodeName(c.caFile).constData(), nullptr, nullptr, nullptr,
                             nullptr);
    if (rc != MOSQ_ERR_SUCCESS) {
      closeHandle();
      return fail(MqttFailure::Tls,
                  QStringLiteral("TLS failure: the CA file %1 cannot be read").arg(c.caFile));
    }
  }
  const int rc = mosquitto_connect_async(m, utf8(c.host).constData(), c.port, kKeepAliveS);
  if (rc != MOSQ_ERR_SUCCESS) {
    const QString detail = describe(rc);
    closeHandle();
    return fail(rc == MOSQ_ERR_TLS ? MqttFailure::Tls : MqttFailure::Network, detail);
  }
  link_ = Link::AwaitingAnswer;
  answerDeadline_ = std::chrono::steady_clock::now() + kAnswerTimeout;
}

void MosquittoClient::step() {
  const int rc = mosquitto_loop(handle_, kLoopTimeoutMs, 1);
  if (link_ == Link::Down) {  // the broker refused the connection
    closeHandle();
    return;
  }
  if (rc != MOSQ_ERR_SUCCESS) {
    const QString detail = describe(rc);
    const bool wasUp = link_ == Link::Up;
    closeHandle();
    if (wasUp)
      report([detail](MosquittoClient& c) { emit c.connectionLost(detail); });
    else
      fail(rc == MOSQ_ERR_TLS ? MqttFailure::Tls : MqttFailure::Network, detail);
    return;
  }
  if (link_ == Link::AwaitingAnswer && std::chrono::steady_clock::now() > answerDeadline_) {
    closeHandle();
    fail(MqttFailure::Network, QStringLiteral("the broker did not answer within 10 s"));
  }
}

void MosquittoClient::leave() {
  if (link_ == Link::Up && handle_) {
    up_ = false;
    mosquitto_disconnect(handle_);
    // What was published before goes out ahead of the goodbye.
    const auto until = std::chrono::steady_clock::now() + kLeaveTimeout;
    while (mosquitto_socket(handle_) >= 0 && std::chrono::steady_clock::now() < until)
      if (mosquitto_loop(handle_, kLoopTimeoutMs, 1) != MOSQ_ERR_SUCCESS) break;
  }
  closeHandle();
}

void MosquittoClient::closeHandle() {
  up_ = false;
  link_ = Link::Down;
  std::lock_guard lock(handleMutex_);
  if (handle_) mosquitto_destroy(handle_);
  handle_ = nullptr;
}

void MosquittoClient::fail(MqttFailure failure, const QString& detail) {
  report([failure, detail](MosquittoClient& c) { emit c.connectFailed(failure, detail); });
}

QString MosquittoClient::describe(int rc) const {
  if (rc == MOSQ_ERR_TLS) {
    QString why = QString::fromStdString(lastTlsError_);
    const int cut = why.lastIndexOf(QLatin1String("::"));
    if (cut >= 0) why = why.mid(cut + 2);
    return why.isEmpty() ? QStringLiteral("TLS failure") : QStringLiteral("TLS failure: ") + why;
  }
  if (rc == MOSQ_ERR_ERRNO) return QString::fromLocal8Bit(std::strerror(errno));
  if (rc == MOSQ_ERR_CONN_LOST || rc == MOSQ_ERR_NO_CONN)
    return QStringLiteral("the connection was lost");
  return QString::fromUtf8(mosquitto_strerror(rc));
}

void MosquittoClient::onConnect(mosquitto*, void* self, int rc) {
  auto* c = static_cast<MosquittoClient*>(self);
  if (rc == 0) {
    c->link_ = Link::Up;
    c->up_ = true;
    c->report([](MosquittoClient& client) { emit client.connected(); });
    return;
  }
  c->link_ = Link::Down;
  // MQTT 3.1.1 CONNACK codes 4 (bad user name or password) and 5 (not
  // authorised) are both what a wrong password looks like.
  const bool credentials = rc == 4 || rc == 5;
  c->fail(credentials ? MqttFailure::Credentials : MqttFailure::Refused,
          credentials ? QStringLiteral("the broker refused the user name or password")
                      : QString::fromUtf8(mosquitto_connack_string(rc)));
}

void MosquittoClient::onPublish(mosquitto*, void* self, int mid) {
  static_cast<MosquittoClient*>(self)->report([mid](MosquittoClient& c) { emit c.delivered(mid); });
}

void MosquittoClient::onLog(mosquitto*, void* self, int level, const char* text) {
  if (level == MOSQ_LOG_ERR && text && std::strstr(text, "OpenSSL"))
    static_cast<MosquittoClient*>(self)->lastTlsError_ = text;
}

}  // namespace zelta
