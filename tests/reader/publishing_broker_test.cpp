// Publishing to a real Mosquitto broker: a broker restart mid-scan loses and
// reorders nothing; a wrong password and TLS failures show on the state line.
// The scan runs on the virtual clock, the network in real time.
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <map>

#include "reader/publish/mqtt_publisher.h"
#include "reader/publish/mqtt_topics.h"
#include "reader/publish/reader_publishing.h"
#include "reader_fixture.h"
#include "test_broker.h"

namespace zelta::testing {
namespace {

class BrokerTest : public ReaderFixture {
 protected:
  void SetUp() override {
    if (TestBroker::executable().isEmpty()) GTEST_SKIP() << "mosquitto is not installed";
    broker = std::make_unique<TestBroker>();
    ASSERT_EQ(broker->problem.toStdString(), "");
    ASSERT_TRUE(broker->start());
  }
  // Over TLS when a CA file is given.
  void publishTo(const QString& caFile, const QString& password) {
    const bool tls = !caFile.isEmpty();
    menu("Publishing_Options");
    QWidget* w = window("Publish_Options");
    find<QCheckBox>("PublishActive", w)->setChecked(true);
    type("T_Host", "127.0.0.1", w);
    type("T_Port", QString::number(tls ? broker->tlsPort : broker->port), w);
    find<QCheckBox>("Check_Tls", w)->setChecked(tls);
    if (tls) type("T_CaFile", caFile, w);  // the field is open only with TLS
    type("T_User", "reader", w);
    type("T_Password", password, w);
    click("B_Apply", w);
  }
  QString stateLine() { return text("PublishStatus"); }
  MqttPublisher& publisher() { return form1->publishing().publisher(); }
  // The scan goes on in virtual time while the network answers in real time.
  void scanFor(qint64 ms) {
    for (qint64 t = 0; t < ms; t += 20) {
      clock.advance(20);
      QCoreApplication::processEvents();
    }
  }

  std::unique_ptr<TestBroker> broker;
};

TEST_F(BrokerTest, ABrokerRestartMidScanLosesNothingWithinTheBoundAndKeepsEachTopicInOrder) {
  bus.addModules(5, 1);
  TestSubscriber subscriber(broker->port);
  ASSERT_TRUE(waitFor([&] { return subscriber.subscriptions() == 1; }));
  publishTo("", "secret");
  ASSERT_TRUE(waitFor([&] { return publisher().state() == MqttPublisher::State::Connected; }));
  std::map<std::string, int> filed;  // readings per topic
  QObject::connect(&form1->readings(), &ReadingEvents::stored, [&](const Reading& r) {
    ++filed[TopicTree("site", "string1").reading(r.address, r.kind).toStdString()];
  });
  prepareScan("Fast", 1, 5);
  click("Command16");
  scanFor(2000);
  ASSERT_TRUE(waitFor([&] { return subscriber.messages().size() > 20; }));

  broker->stop();
  ASSERT_TRUE(waitFor([&] { return stateLine().contains("reconnecting in"); }));
  const std::size_t before = frames().size();
  scanFor(5000);
  EXPECT_GT(frames().size(), before + 100) << "the scan went on";
  EXPECT_EQ(text("Label7"), "0") << "and got its answers";
  EXPECT_TRUE(stateLine().contains(" waiting")) << stateLine().toStdString();
  ASSERT_TRUE(waitFor([&] { return publisher().state() == MqttPublisher::State::Retrying; }));

  ASSERT_TRUE(broker->start());
  ASSERT_TRUE(waitFor([&] { return subscriber.subscriptions() == 2; }));
  ASSERT_TRUE(waitFor([&] {
    scanFor(100);
    return publisher().state() == MqttPublisher::State::Connected;
  }));
  click("Command17");
  scanFor(1000);
  ASSERT_TRUE(waitFor([&] { return publisher().waiting() == 0; }));
  form1.reset();  // says "offline" as it leaves
  ASSERT_TRUE(waitFor([&] {
    const auto m = subscriber.messages();
    return !m.empty() && m.back().payload == "offline";
  }));

  // Payload times per topic in order of first arrival: what was on its way when
  // the broker went may come again later, after newer readings.
  std::map<std::string, std::vector<QString>> times;
  int duplicates = 0;
  for (const auto& m : subscriber.messages()) {
    if (!filed.count(m.topic)) continue;
    const QString time = QJsonDocument::fromJson(QByteArray::fromStdString(m.payload))
                             .object()["time"]
                             .toString();
    auto& t = times[m.topic];
    if (std::find(t.begin(), t.end(), time) != t.end())
      ++duplicates;
    else
      t.push_back(time);
  }
  for (const auto& [topic, n] : filed) {
    EXPECT_TRUE(std::is_sorted(times[topic].begin(), times[topic].end())) << topic;
    EXPECT_EQ(int(times[topic].size()), n) << topic << ": every reading arrived";
  }
  EXPECT_LE(duplicates, MqttPublisher::kInFlightWindow);
}

TEST_F(BrokerTest, AWrongPasswordAndTlsFailuresShowOnTheStateLine) {
  const std::tuple<QString, QString, QString> cases[] = {  // CA file, password, line
      {"", "guess", "the broker refused the user name or password; next try in 60 s"},
      {broker->otherCaFile, "secret", "TLS failure: certificate verify failed; next try in 60 s"},
      {broker->caFile + ".gone", "secret",
       "TLS failure: the CA file " + broker->caFile + ".gone cannot be read; next try in 60 s"},
      {broker->caFile, "secret", "connected"},
      {"", "secret", "connected"},
  };
  for (const auto& [caFile, password, line] : cases) {
    SCOPED_TRACE(line.toStdString());
    publishTo(caFile, password);
    EXPECT_TRUE(waitFor([&] { return stateLine().endsWith(line); })) << stateLine().toStdString();
  }
}

}  // namespace
}  // namespace zelta::testing
