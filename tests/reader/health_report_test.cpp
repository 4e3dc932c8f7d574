// "Health Report..." beside "Logging Options...": the report of the logs a
// scan wrote, made while the scan goes on, and opened.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QTemporaryDir>

#include "reader_fixture.h"

namespace zelta::testing {
namespace {

TEST_F(ReaderFixture, HealthReportOfTheLogDirectoryFlagsTheWeakBlockAndOpensThePdf) {
  RecordingDocumentOpener viewer;
  platform.documents = &viewer;
  QTemporaryDir dir;
  for (std::uint16_t a = 1; a <= 6; ++a)
    bus.addModule({.address = a, .millivolts = std::uint16_t(a == 4 ? 12500 : 13200)});

  menu("Health_Report");  // no log directory yet
  ASSERT_EQ(boxes.asked().size(), 1u);
  EXPECT_EQ(boxes.asked()[0].text, "No log directory yet: choose one under Logging Options...");

  environment.home = dir.path();  // the log directory at first
  menu("Logging_Options");
  tick("Check1", true, window("Log_Options"));
  click("B_Apply", window("Log_Options"));
  prepareScan("Fast", 1, 6);
  click("Command16");
  clock.advance(20000);

  auto* entry = find<QAction>("Health_Report");
  EXPECT_EQ(find<QMenu>("CxSubScreens")->actions().last(2),
            (QList<QAction*>{find<QAction>("Logging_Options"), entry}));
  EXPECT_EQ(entry->text(), "Health &Report...");
  entry->trigger();
  EXPECT_FALSE(entry->isEnabled());
  const std::size_t sent = frames().size();
  ASSERT_TRUE(clock.advanceUntil([&] { return !viewer.opened.empty(); }, 5000));
  EXPECT_TRUE(entry->isEnabled());
  EXPECT_EQ(viewer.opened, std::vector<QString>{dir.filePath("ZELTA_Health_Report.pdf")});
  clock.advance(1000);
  EXPECT_GT(frames().size(), sent + 10);  // the scan went on

  QFile summary(dir.filePath("ZELTA_Health_Report.json"));
  ASSERT_TRUE(summary.open(QIODevice::ReadOnly));
  const QJsonObject json = QJsonDocument::fromJson(summary.readAll()).object();
  EXPECT_EQ(json["blocks_found"].toInt(), 6);
  const QJsonArray flags = json["flags"].toArray();
  ASSERT_EQ(flags.size(), 1) << QJsonDocument(flags).toJson().toStdString();
  EXPECT_EQ(flags[0].toObject()["block"].toInt(), 4);
  EXPECT_EQ(flags[0].toObject()["kind"].toString(), "voltage");
  EXPECT_EQ(boxes.asked().size(), 1u);
}

}  // namespace
}  // namespace zelta::testing
