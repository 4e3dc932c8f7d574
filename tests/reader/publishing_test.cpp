// Publishing on the virtual clock to a client that records what it is handed:
// topics and payloads, the queue bound, resending, the back-off and the state
// line, the options kept between runs; and the sample Telegraf configuration.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>

#include "reader/publish/mqtt_client.h"
#include "reader/publish/mqtt_topics.h"
#include "reader/publish/publish_state_line.h"
#include "reader/publish/reader_publishing.h"
#include "reader_fixture.h"

namespace zelta::testing {
namespace {

class RecordingMqttClient final : public MqttClient {
 public:
  struct Sent {
    QString topic;
    QByteArray payload;
    bool retain;
    int id;
  };
  void connectTo(const MqttConnection& c) override {
    attempts.push_back(c);
    up = false;
  }
  void disconnectFrom() override { up = false; }
  int publish(const QString& topic, const QByteArray& payload, bool retain) override {
    if (!up) return -1;
    sent.push_back({topic, payload, retain, nextId});
    return nextId++;
  }
  // The broker's side.
  void accept() {
    up = true;
    sent.clear();
    emit connected();
  }
  void confirmAll() {  // what was sent so far; the publisher may send more meanwhile
    for (std::size_t i = 0, n = sent.size(); i < n; ++i) emit delivered(sent[i].id);
  }
  // Topics after "online", one a line.
  std::string topics() const {
    QStringList t;
    for (std::size_t i = 1; i < sent.size(); ++i) t << sent[i].topic;
    return t.join('\n').toStdString();
  }

  std::vector<MqttConnection> attempts;
  std::vector<Sent> sent;
  bool up = false;
  int nextId = 1;
};

// A client factory that leaves the newest client in `into`.
auto recordingInto(RecordingMqttClient*& into) {
  return [&into] {
    auto c = std::make_unique<RecordingMqttClient>();
    into = c.get();
    return c;
  };
}

class PublishingTest : public ReaderFixture {
 protected:
  PublishingTest() { recordClients(); }
  // The window's next client is the one in `client`.
  void recordClients() {
    client = nullptr;
    form1->publishing().publisher().setClientFactory(recordingInto(client));
  }
  void publishTo(const QString& port = "1884", int queueLimit = 10000) {
    menu("Publishing_Options");
    QWidget* w = window("Publish_Options");
    find<QCheckBox>("PublishActive", w)->setChecked(true);
    type("T_Host", "broker.local", w);
    type("T_Port", port, w);
    type("T_Site", "dc/1", w);
    type("T_String", " A+# ", w);
    type("T_QueueLimit", QString::number(queueLimit), w);
    click("B_Apply", w);
  }
  QString stateLine() { return text("PublishStatus"); }
  // Runs the scan of modules 1 to 3 until `readings` values are filed, then
  // stops it and lets the last request settle.
  void scanAndStop(int readings) {
    int filed = 0;
    auto counter = QObject::connect(&form1->readings(), &ReadingEvents::stored, [&] { ++filed; });
    prepareScan("Fast", 1, 3);
    click("Command16");
    ASSERT_TRUE(clock.advanceUntil([&] { return filed >= readings; }, 60000));
    QObject::disconnect(counter);
    click("Command17");
    clock.advance(1000);
  }

  RecordingMqttClient* client = nullptr;
};

QJsonObject json(const QByteArray& payload) { return QJsonDocument::fromJson(payload).object(); }

TEST_F(PublishingTest, ScanReadingsAndPassSummariesGoOutRetainedUnderTheStringsTopics) {
  bus.addModules(3, 1);
  bus.module(2).millivolts = 12800;
  bus.setSilentRange(2, 2);
  publishTo();
  ASSERT_NE(client, nullptr);
  ASSERT_EQ(client->attempts.size(), 1u);
  const MqttConnection& c = client->attempts[0];
  EXPECT_EQ(c.host, "broker.local");
  EXPECT_EQ(c.port, 1884);
  EXPECT_EQ(c.willTopic, "zelta/dc_1/A__/status");
  EXPECT_EQ(c.willPayload, "offline");
  client->accept();
  EXPECT_EQ(stateLine(), "Publishing to broker.local:1884: connected");

  scanAndStop(9);  // type, hw, sw, voltage and temperature of modules 1 and 3, then Stop
  ASSERT_FALSE(client->sent.empty());
  EXPECT_EQ(client->sent[0].topic, "zelta/dc_1/A__/status");
  EXPECT_EQ(client->sent[0].payload, "online");
  const QString base = "zelta/dc_1/A__/";
  QStringList expected;
  for (const char* kind : {"type", "hw", "sw", "voltage"})
    expected << base + "1/" + kind << base + "3/" + kind << base + "summary";
  // The temperature pass: module 1, then Stop ends it.
  expected << base + "1/temperature" << base + "summary";
  EXPECT_EQ(client->topics(), expected.join('\n').toStdString());
  for (const auto& s : client->sent) EXPECT_TRUE(s.retain) << s.topic.toStdString();

  // The values as filed and shown in the grid windows.
  const double v1 = std::get<double>(form1->store().at(ValueKind::Voltage, 0));
  const double v3 = std::get<double>(form1->store().at(ValueKind::Voltage, 2));
  ASSERT_NE(v1, v3);
  const QJsonObject volt = json(client->sent[1 + 9].payload);
  EXPECT_EQ(volt["value"].toDouble(), v1);
  EXPECT_EQ(volt["unit"].toString(), "V");
  EXPECT_TRUE(volt["time"].toString().endsWith('Z'));
  EXPECT_TRUE(QDateTime::fromString(volt["time"].toString(), Qt::ISODateWithMs).isValid());
  EXPECT_EQ(json(client->sent[1 + 0].payload)["value"].toString(), "Q12");
  const QJsonObject pass = json(client->sent[1 + 11].payload);
  EXPECT_EQ(pass["kind"].toString(), "voltage");
  EXPECT_EQ(pass["min"].toDouble(), std::min(v1, v3));
  EXPECT_EQ(pass["max"].toDouble(), std::max(v1, v3));
  EXPECT_DOUBLE_EQ(pass["mean"].toDouble(), (v1 + v3) / 2);
  EXPECT_DOUBLE_EQ(pass["spread"].toDouble(), std::abs(v1 - v3));
  EXPECT_EQ(pass["answered"].toInt(), 2);
  EXPECT_EQ(pass["missing"].toInt(), 1);
  EXPECT_FALSE(json(client->sent[1 + 2].payload).contains("mean"));  // module types
}

TEST_F(PublishingTest, AFullQueueDropsTheOldestAndWhatWaitsGoesOutInOrderAfterALostConnection) {
  bus.addModules(3, 1);
  // A second publisher on a broker that confirms everything at once shows
  // every message the queue had to hold.
  RecordingMqttClient* reference = nullptr;
  const auto range = [] { return std::pair{1, 3}; };
  MqttPublisher everything(clock, form1->readings(), range, recordingInto(reference));
  PublishOptions all;
  all.active = true;
  all.site = "dc/1";
  all.string = " A+# ";
  everything.apply(all);
  reference->accept();
  QObject::connect(&form1->readings(), &ReadingEvents::stored, [&] { reference->confirmAll(); });
  constexpr int kLimit = MqttPublisher::kInFlightWindow + 50;
  publishTo("1884", kLimit);
  scanAndStop(180);
  const QStringList sentAll = QString::fromStdString(reference->topics()).split('\n');
  ASSERT_GT(sentAll.size(), kLimit);
  const auto newest = [&](int n) {
    return sentAll.mid(sentAll.size() - kLimit, n).join('\n').toStdString();
  };
  const int dropped = int(sentAll.size()) - kLimit;
  EXPECT_EQ(stateLine(), QStringLiteral("Publishing to broker.local:1884: connecting, %1 waiting, "
                                        "%2 dropped")
                             .arg(kLimit)
                             .arg(dropped));

  client->accept();
  EXPECT_EQ(client->topics(), newest(MqttPublisher::kInFlightWindow));
  emit client->connectionLost("the connection was lost");
  clock.advance(999);
  EXPECT_EQ(client->attempts.size(), 1u);
  clock.advance(1);
  ASSERT_EQ(client->attempts.size(), 2u);
  client->accept();
  // Unconfirmed ones again, ahead of the rest, in their order.
  EXPECT_EQ(client->topics(), newest(MqttPublisher::kInFlightWindow));
  client->confirmAll();
  EXPECT_EQ(client->topics(), newest(kLimit));
  client->confirmAll();
  clock.advance(PublishStateLine::kRedrawMs);
  EXPECT_EQ(stateLine(),
            QStringLiteral("Publishing to broker.local:1884: connected, %1 dropped").arg(dropped));
}

TEST_F(PublishingTest, ReconnectsWithBackOffWaitsLongAfterARefusedPasswordOrTlsKeepsOptions) {
  const std::tuple<MqttFailure, QString, std::vector<int>> cases[] = {
      {MqttFailure::Network, "Connection refused", {1, 2, 4, 8, 16, 32, 60, 60}},
      {MqttFailure::Credentials, "the broker refused the user name or password", {60, 60}},
      {MqttFailure::Tls, "TLS failure: certificate verify failed", {60, 60}},
  };
  for (const auto& [failure, detail, delaysS] : cases) {
    SCOPED_TRACE(detail.toStdString());
    publishTo(QString::number(2000 + int(failure)));  // new options: a fresh start
    const QString line = delaysS[0] == 1 ? "reconnecting in 1 s (" + detail + ")"
                                           : detail + "; next try in 60 s";
    for (std::size_t i = 0; i < delaysS.size(); ++i) {
      const std::size_t tries = client->attempts.size();
      emit client->connectFailed(failure, detail);
      if (i == 0) {
        EXPECT_TRUE(stateLine().endsWith(line)) << stateLine().toStdString();
      }
      const qint64 t0 = clock.nowMs();
      ASSERT_TRUE(clock.advanceUntil([&] { return client->attempts.size() > tries; }, 120000));
      EXPECT_EQ(clock.nowMs() - t0, delaysS[i] * 1000) << "attempt " << i;
    }
    // Once connected, the next loss starts again at 1 s.
    client->accept();
    emit client->connectionLost("the connection was lost");
    EXPECT_TRUE(stateLine().endsWith("reconnecting in 1 s (the connection was lost)"));
  }
  // Options are corrected, remembered, and take effect at the next start.
  publishTo("70000", 0);
  EXPECT_EQ(text("T_Port", window("Publish_Options")), "65535");
  EXPECT_EQ(text("T_QueueLimit", window("Publish_Options")), "1");
  restart();
  recordClients();
  clock.advance(0);
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(client->attempts.back().port, 65535);
  EXPECT_EQ(client->attempts.back().willTopic, "zelta/dc_1/A__/status");
  menu("Publishing_Options");
  EXPECT_EQ(text("T_Host", window("Publish_Options")), "broker.local");
  EXPECT_TRUE(find<QCheckBox>("PublishActive", window("Publish_Options"))->isChecked());

  // Switched off right after a start, before publishing began: it stays off.
  restart();
  recordClients();
  menu("Publishing_Options");
  tick("PublishActive", false, window("Publish_Options"));
  click("B_Apply", window("Publish_Options"));
  clock.advance(1000);
  EXPECT_EQ(client, nullptr);
}

// The sample Telegraf configuration in docs/ subscribes to every topic the
// Reader publishes and reads only JSON keys that its payloads have.
TEST(TelegrafSample, TakesEveryTopicAndReadsOnlyKeysThePayloadsHave) {
  QFile file(ZELTA_SOURCE_DIR "/docs/telegraf-zelta.conf");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
  QStringList filters, paths;  // of `topics = [...]`, and of `path` / `timestamp_path`
  const QRegularExpression keyValue(R"(^\s*(\w+)\s*=\s*(.*)$)"), quoted(R"re("([^"]*)")re");
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
    const auto m = keyValue.match(line);
    for (auto it = quoted.globalMatch(m.captured(2)); it.hasNext();) {
      const QString value = it.next().captured(1);
      if (m.captured(1) == "topics") filters << value;
      if (m.captured(1).endsWith("path")) paths << value;
    }
  }
  const TopicTree tree("site", "s1");
  const QDateTime now = QDateTime::currentDateTimeUtc();
  PassSummary pass;
  pass.numbers = 1;
  QStringList topics = {tree.summary(), tree.status()};
  QJsonObject keys = json(summaryPayload(pass, now));
  for (ValueKind kind : kAllKinds) {
    topics << tree.reading(7, kind);
    const QJsonObject reading = json(readingPayload(kind, StoredValue(1.5), now));
    for (auto it = reading.begin(); it != reading.end(); ++it) keys.insert(it.key(), it.value());
  }
  for (const QString& topic : topics) {
    const bool taken = std::any_of(filters.begin(), filters.end(), [&](QString filter) {
      return QRegularExpression('^' + filter.replace('+', "[^/]+") + '$').match(topic).hasMatch();
    });
    EXPECT_TRUE(taken) << topic.toStdString();
  }
  for (const QString& path : paths) EXPECT_TRUE(keys.contains(path)) << path.toStdString();
}

}  // namespace
}  // namespace zelta::testing
