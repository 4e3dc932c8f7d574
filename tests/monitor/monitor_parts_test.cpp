// The frame monitor's parts without windows: the bounded ring, the frames in
// words, the filter and the export lines.
#include <gtest/gtest.h>

#include "monitor/event_filter.h"
#include "monitor/event_text.h"
#include "monitor/frame_export.h"
#include "monitor/frame_ring.h"
#include "protocol/requests.h"
#include "tests/support/module_reply.h"

namespace zelta::monitor {
namespace {

using testing::reply;

CapturedEvent frameEvent(BusEvent::Kind kind, const Frame& f, std::int64_t at = 0) {
  return {{.kind = kind, .timeMs = at, .frame = f}, f[3]};
}

TEST(FrameRing, KeepsTheNewestEventsWithinItsCapacity) {
  FrameRing ring(100);
  for (int i = 0; i < 350; ++i) ring.push({{.timeMs = i}});
  EXPECT_EQ(ring.size(), 100u);
  EXPECT_LE(ring.storageSlots(), 100u);
  EXPECT_EQ(ring.first(), 250u);
  EXPECT_EQ(ring.at(250).event.timeMs, 250);
  EXPECT_EQ(ring.at(349).event.timeMs, 349);

  ring.setCapacity(30);  // the newest 30 stay, in order
  EXPECT_EQ(ring.first(), 320u);
  ring.push({{.timeMs = 350}});
  EXPECT_EQ(ring.at(321).event.timeMs, 321);
  EXPECT_EQ(ring.at(350).event.timeMs, 350);
  EXPECT_EQ(ring.size(), 30u);

  ring.clear();  // numbering goes on, so a view can tell the old rows from new ones
  ring.push({{.timeMs = 7}});
  EXPECT_EQ(ring.first(), 351u);
  EXPECT_EQ(ring.at(351).event.timeMs, 7);
}

TEST(EventText, RequestsRepliesAndBadInputInWords) {
  using K = BusEvent::Kind;
  struct Case {
    CapturedEvent event;
    std::vector<QString> columns;  // direction, bytes, address, command, meaning, check
  };
  Frame corrupt = reply(7, 0x12, 0x33, 0x90);
  corrupt[10] ^= 0x01;
  const Case cases[] = {
      {frameEvent(K::Sent, request::readerVoltage(7)),
       {"TX", "23 00 07 12 01 00 00 00 00 00 B5", "7", "0x12 voltage", "voltage request", "ok"}},
      {frameEvent(K::Sent, request::setAddress(7, 8)),
       {"TX", "", "7", "0xFD address", "set address 7 → 8", "ok"}},
      {frameEvent(K::Received, reply(340, 0x11, 124)),
       {"RX", "", "340", "0x11 temperature", "temperature reply, 23 °C", "ok"}},
      {frameEvent(K::Received, reply(2, 0x22, 2)),
       {"RX", "", "2", "0x22 module type", "module type reply, code 2 (no name)", "ok"}},
      {frameEvent(K::Received, buildFrame({0, 5, 0x14, 124, 0x33, 0x90, 0, 0x10, 0})),
       {"RX", "", "5", "0x14 collective", "collective reply, 23 °C, 13.200 V, status 0x10, error 0",
        "ok"}},
      {frameEvent(K::CrcError, corrupt),
       {"RX", "", "7", "0x12 voltage", "frame with a wrong check byte, not used",
        "wrong (0x80, expected 0x81)"}},
      {{{.kind = K::Dropped, .byte = 0x5A, .asked = 7}, 0x12},
       {"RX", "5A", "", "", "byte dropped (no frame start)", ""}},
      {{{.kind = K::Missing, .asked = 9}, 0x13},
       {"", "", "9", "0x13 impedance", "no answer from 9", ""}},
  };
  for (const Case& c : cases) {
    const EventText t = describe(c.event);
    const QString bytes = c.columns[1].isEmpty() ? "" : t.bytes;  // empty: not compared
    EXPECT_EQ((std::vector{t.direction, bytes, t.address, t.command, t.meaning, t.check}),
              c.columns);
  }
}

TEST(EventFilter, AddressesAndCommandJudgeDroppedBytesByTheRequestAsked) {
  const std::pair<QString, std::optional<EventFilter::Ranges>> texts[] = {
      {"", EventFilter::Ranges{}},   {" 7 ", EventFilter::Ranges{{7, 7}}},
      {"1-24, 30", EventFilter::Ranges{{1, 24}, {30, 30}}},
      {"24-1", std::nullopt},        {"x", std::nullopt},
      {"1-2-3", std::nullopt},       {"65536", std::nullopt},
  };
  for (const auto& [text, ranges] : texts)
    EXPECT_EQ(EventFilter::parseAddresses(text), ranges) << text.toStdString();

  EventFilter filter;
  filter.setAddresses({{7, 7}});
  filter.setCommand(0x12);
  EXPECT_TRUE(filter.matches(frameEvent(BusEvent::Kind::Received, reply(7, 0x12))));
  EXPECT_FALSE(filter.matches(frameEvent(BusEvent::Kind::Received, reply(8, 0x12))));
  EXPECT_FALSE(filter.matches(frameEvent(BusEvent::Kind::Received, reply(7, 0x11))));
  EXPECT_TRUE(filter.matches({{.kind = BusEvent::Kind::Dropped, .asked = 7}, 0x12}));
  EXPECT_FALSE(filter.matches({{.kind = BusEvent::Kind::Missing, .asked = 8}, 0x12}));
  EXPECT_FALSE(filter.matches({{.kind = BusEvent::Kind::Missing, .asked = 7}, 0x11}));
}

TEST(FrameExport, TextColumnsAndQuotedCsv) {
  EventText t = describe(frameEvent(BusEvent::Kind::Received, reply(7, 0x12, 0x33, 0x90), 1234));
  EXPECT_EQ(exportLine(t, ExportFormat::Csv),
            "1234;RX;23 00 07 12 33 90 00 00 00 00 81;7;0x12 voltage;voltage reply, 13.200 V;ok");
  EXPECT_EQ(exportHeader(ExportFormat::Csv), "Time (ms);Dir;Bytes;Address;Command;Meaning;Check");
  t.meaning = "a; \"b\"";
  EXPECT_TRUE(exportLine(t, ExportFormat::Csv).contains(";\"a; \"\"b\"\"\";ok"));
  const QString text = exportLine(t, ExportFormat::Text);
  EXPECT_TRUE(text.startsWith("      1234 RX  23 00 07 12")) << text.toStdString();
  EXPECT_TRUE(text.endsWith(" ok"));
}

}  // namespace
}  // namespace zelta::monitor
