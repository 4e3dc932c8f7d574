#include "test_broker.h"

#include <arpa/inet.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>

namespace zelta::testing {
namespace {

// With port 0: a free port (bound and let go); else `port` if it accepts
// connections, 0 if not.
int loopback(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(std::uint16_t(port));
  socklen_t len = sizeof a;
  auto* address = reinterpret_cast<sockaddr*>(&a);
  const bool ok = port ? ::connect(s, address, len) == 0
                       : ::bind(s, address, len) == 0 && ::getsockname(s, address, &len) == 0;
  ::close(s);
  return ok ? ntohs(a.sin_port) : 0;
}

}  // namespace

QString TestBroker::executable() {
  return QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/usr/local/sbin", "/usr/bin"});
}

TestBroker::TestBroker() {
  port = loopback(0);
  tlsPort = loopback(0);
  caFile = dir_.filePath("ca.crt");
  otherCaFile = dir_.filePath("other-ca.crt");
  QProcess make;
  make.setWorkingDirectory(dir_.path());
  make.setProcessChannelMode(QProcess::MergedChannels);
  make.start("sh", {"-ec", R"(
    ec="-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
    openssl req -x509 $ec -days 2 -keyout ca.key -out ca.crt -subj "/CN=ZELTA test CA"
    openssl req -x509 $ec -days 2 -keyout other-ca.key -out other-ca.crt -subj "/CN=Another CA"
    openssl req $ec -keyout server.key -out server.csr -subj /CN=localhost
    echo "subjectAltName=DNS:localhost,IP:127.0.0.1" >san.cnf
    openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 \
      -extfile san.cnf -out server.crt
    mosquitto_passwd -b -c passwd reader secret)"});
  if (!make.waitForFinished(60000) || make.exitCode() != 0) {
    problem = "cannot make the certificates and password file: " + make.readAll();
    return;
  }
  QFile conf(dir_.filePath("mosquitto.conf"));
  conf.open(QIODevice::WriteOnly);
  conf.write(QStringLiteral("per_listener_settings false\n"
                            "allow_anonymous false\n"
                            "password_file %1/passwd\n"
                            "log_dest file %1/broker.log\n"
                            "persistence true\n"
                            "persistence_location %1/\n"
                            "listener %2 127.0.0.1\n"
                            "listener %3 127.0.0.1\n"
                            "cafile %1/ca.crt\n"
                            "certfile %1/server.crt\n"
                            "keyfile %1/server.key\n")
                 .arg(dir_.path(), QString::number(port), QString::number(tlsPort))
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
           return process_.state() != QProcess::Running || (loopback(port) && loopback(tlsPort));
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
  // A lasting session on a broker that keeps its state over a restart: what
  // the broker took before it stopped still reaches this subscriber, in order.
  handle_ = mosquitto_new("zelta-test-subscriber", false, this);
  mosquitto_username_pw_set(handle_, "reader", "secret");
  mosquitto_connect_with_flags_callback_set(handle_, [](mosquitto* m, void* s, int rc, int flags) {
    if (rc == 0 && (flags & 1))  // the session was kept, with its subscription
      ++static_cast<TestSubscriber*>(s)->subscriptions_;
    else if (rc == 0)
      mosquitto_subscribe(m, nullptr, "zelta/#", 1);
  });
  mosquitto_subscribe_callback_set(handle_, [](mosquitto*, void* self, int, int, const int*) {
    ++static_cast<TestSubscriber*>(self)->subscriptions_;
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

}  // namespace zelta::testing
