#include "test_broker.h"

#include <arpa/inet.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <chrono>

namespace zelta::testing {
namespace {

int freeLoopbackPort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  ::close(s);
  return port;
}

bool accepts(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(std::uint16_t(port));
  const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(s);
  return ok;
}

}  // namespace

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  }
  return true;
}

QString TestBroker::executable() {
  return QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/usr/local/sbin", "/usr/bin"});
}

bool TestBroker::run(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.setWorkingDirectory(dir_.path());
  p.start(program, arguments);
  if (!p.waitForFinished(30000) || p.exitCode() != 0) {
    problem_ = program + " " + arguments.join(' ') + ": " + p.readAllStandardError();
    return false;
  }
  return true;
}

TestBroker::TestBroker() {
  port = freeLoopbackPort();
  tlsPort = freeLoopbackPort();
  caFile = dir_.filePath("ca.crt");
  otherCaFile = dir_.filePath("other-ca.crt");
  QFile san(dir_.filePath("san.cnf"));
  if (!san.open(QIODevice::WriteOnly)) problem_ = "cannot write in " + dir_.path();
  san.write("subjectAltName=DNS:localhost,IP:127.0.0.1\n");
  san.close();
  const QStringList ecKey = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
  const bool made =
      problem_.isEmpty() &&
      run("openssl", QStringList{"req", "-x509"} + ecKey +
                         QStringList{"-keyout", "ca.key", "-out", "ca.crt", "-days", "2", "-subj",
                                     "/CN=ZELTA test CA"}) &&
      run("openssl", QStringList{"req", "-x509"} + ecKey +
                         QStringList{"-keyout", "other-ca.key", "-out", "other-ca.crt", "-days",
                                     "2", "-subj", "/CN=Another CA"}) &&
      run("openssl", QStringList{"req"} + ecKey +
                         QStringList{"-keyout", "server.key", "-out", "server.csr", "-subj",
                                     "/CN=localhost"}) &&
      run("openssl",
          {"x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key",
           "-CAcreateserial", "-out", "server.crt", "-days", "2", "-extfile", "san.cnf"}) &&
      run("mosquitto_passwd", {"-b", "-c", "passwd", "reader", "secret"});
  if (!made) return;
  QFile conf(dir_.filePath("mosquitto.conf"));
  conf.open(QIODevice::WriteOnly);
  conf.write(QStringLiteral("per_listener_settings false\n"
                            "allow_anonymous false\n"
                            "password_file %1/passwd\n"
                            "log_dest file %1/broker.log\n"
                            "listener %2 127.0.0.1\n"
                            "listener %3 127.0.0.1\n"
                            "cafile %1/ca.crt\n"
                            "certfile %1/server.crt\n"
                            "keyfile %1/server.key\n")
                 .arg(dir_.path())
                 .arg(port)
                 .arg(tlsPort)
                 .toUtf8());
  // Started as root, mosquitto would change to its own user, which cannot
  // read this folder.
  if (::geteuid() == 0) conf.write("user root\n");
}

TestBroker::~TestBroker() { stop(); }

bool TestBroker::start() {
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(executable(), {"-c", dir_.filePath("mosquitto.conf")});
  if (!process_.waitForStarted(10000)) return false;
  return waitFor([this] {
           return process_.state() != QProcess::Running || (accepts(port) && accepts(tlsPort));
         }) &&
         process_.state() == QProcess::Running;
}

void TestBroker::stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(10000)) process_.kill();
  process_.waitForFinished(10000);
}

TestSubscriber::TestSubscriber(int port) {
  mosquitto_lib_init();
  handle_ = mosquitto_new(nullptr, true, this);
  mosquitto_username_pw_set(handle_, "reader", "secret");
  mosquitto_connect_callback_set(handle_, [](mosquitto* m, void*, int rc) {
    if (rc == 0) mosquitto_subscribe(m, nullptr, "zelta/#", 1);
  });
  mosquitto_subscribe_callback_set(handle_, [](mosquitto*, void* self, int, int, const int*) {
    auto* s = static_cast<TestSubscriber*>(self);
    std::lock_guard lock(s->mutex_);
    ++s->subscriptions_;
  });
  mosquitto_message_callback_set(handle_, [](mosquitto*, void* self, const mosquitto_message* m) {
    auto* s = static_cast<TestSubscriber*>(self);
    std::lock_guard lock(s->mutex_);
    s->messages_.push_back(
        {m->topic, std::string(static_cast<const char*>(m->payload), std::size_t(m->payloadlen))});
  });
  mosquitto_connect_async(handle_, "127.0.0.1", port, 30);
  mosquitto_loop_start(handle_);
}

TestSubscriber::~TestSubscriber() {
  mosquitto_disconnect(handle_);
  mosquitto_loop_stop(handle_, false);
  mosquitto_destroy(handle_);
}

std::vector<TestSubscriber::Message> TestSubscriber::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

int TestSubscriber::subscriptions() const {
  std::lock_guard lock(mutex_);
  return subscriptions_;
}

}  // namespace zelta::testing
