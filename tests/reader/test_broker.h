// A real Mosquitto broker on free loopback ports, plain and TLS (a CA made with
// openssl), wanting user "reader" with password "secret", restartable on the
// same ports; and a subscriber to zelta/# that subscribes again on reconnect.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/real_time.h"

struct mosquitto;

namespace zelta::testing {

class TestBroker {
 public:
  // Empty when mosquitto is not installed.
  static QString executable();

  TestBroker();
  ~TestBroker();

  bool start();  // waits until the broker accepts connections
  void stop();   // as an operator stops it: SIGTERM, then waits for its end

  int port = 0;
  int tlsPort = 0;
  QString caFile;       // signed the broker's certificate
  QString otherCaFile;  // signed nothing the broker shows
  QString problem;      // empty once set up

 private:
  QTemporaryDir dir_;
  QProcess process_;
};

class TestSubscriber {
 public:
  struct Message {
    std::string topic;
    std::string payload;
  };
  explicit TestSubscriber(int port);
  ~TestSubscriber();
  std::vector<Message> messages() const;
  int subscriptions() const { return subscriptions_; }  // acknowledged so far

 private:
  mosquitto* handle_;
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
  std::atomic<int> subscriptions_ = 0;
};

// Runs Qt's events until done() holds or 20 s of real time have passed.
inline bool waitFor(const std::function<bool()>& done) { return runUntil(done, 20000); }

}  // namespace zelta::testing
