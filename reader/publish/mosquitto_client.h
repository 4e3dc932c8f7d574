// The broker connection over libmosquitto. A worker thread of its own
// resolves, connects, shakes hands and runs the network loop, and reports
// back through queued calls, so that a slow name lookup, a TLS handshake or a
// dead broker never holds the UI thread. publish() only queues the message.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "mqtt_client.h"

struct mosquitto;

namespace zelta {

class MosquittoClient final : public MqttClient {
  Q_OBJECT
 public:
  explicit MosquittoClient(QObject* parent = nullptr);
  ~MosquittoClient() override;

  void connectTo(const MqttConnection& connection) override;
  void disconnectFrom() override;
  int publish(const QString& topic, const QByteArray& payload, bool retain) override;

 private:
  struct ConnectRequest {
    MqttConnection connection;
    std::uint64_t generation = 0;
  };
  enum class Link { Down, AwaitingAnswer, Up };

  // Worker thread.
  void run();
  void start(const ConnectRequest& request);
  void step();
  void leave();
  void closeHandle();
  void fail(MqttFailure failure, const QString& detail);
  QString describe(int rc) const;
  // Runs fn on the UI thread, unless a later connectTo()/disconnectFrom()
  // has made this link's news stale.
  void report(std::function<void(MosquittoClient&)> fn);

  static void onConnect(mosquitto*, void* self, int rc);
  static void onPublish(mosquitto*, void* self, int mid);
  static void onLog(mosquitto*, void* self, int level, const char* text);

  std::thread worker_;
  std::mutex commandMutex_;
  std::condition_variable wake_;
  std::optional<ConnectRequest> connectRequest_;
  bool disconnectRequest_ = false;
  bool quit_ = false;
  std::atomic<std::uint64_t> generation_{0};

  // Guards handle_ between publish() and the worker replacing it.
  std::mutex handleMutex_;
  mosquitto* handle_ = nullptr;
  std::atomic<bool> up_{false};

  // Worker thread only.
  Link link_ = Link::Down;
  std::uint64_t linkGeneration_ = 0;
  std::chrono::steady_clock::time_point answerDeadline_;
  std::string lastTlsError_;
};

}  // namespace zelta
