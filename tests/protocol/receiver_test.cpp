#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/commands.h"
#include "protocol/dispatch.h"
#include "protocol/receiver.h"

namespace zelta {
namespace {

using Outcome = FrameReceiver::Outcome;

Frame reply(std::uint16_t address, std::uint8_t type, std::initializer_list<std::uint8_t> data = {}) {
  Payload p{static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), type};
  std::size_t i = 3;
  for (std::uint8_t d : data) p[i++] = d;
  return buildFrame(p);
}

// Feeds bytes and collects what the receiver makes of them.
struct Feed {
  FrameReceiver receiver;
  std::vector<Frame> complete;
  std::vector<Frame> crcErrors;
  int dropped = 0;

  void bytes(std::initializer_list<std::uint8_t> bs) {
    for (std::uint8_t b : bs) byte(b);
  }
  void frame(const Frame& f) {
    for (std::uint8_t b : f) byte(b);
  }
  void byte(std::uint8_t b) {
    switch (receiver.push(b)) {
      case Outcome::Complete: complete.push_back(receiver.frame()); break;
      case Outcome::CrcError: crcErrors.push_back(receiver.frame()); break;
      case Outcome::Dropped: ++dropped; break;
      case Outcome::Pending: break;
    }
  }
};

// Noise before a start byte is dropped; a stray start byte (alone or inside
// the damaged bytes) costs one check error and the receiver finds the real
// frames after it.
TEST(FrameReceiver, ResynchronisesAfterNoiseAndFalseStarts) {
  const Frame f = reply(0x0023, cmd::HardwareRevision, {3, 1});
  Feed feed;
  feed.bytes({0x00, 0xFF, 0x55, 0x24});
  feed.frame(f);
  EXPECT_EQ(feed.dropped, 4);
  EXPECT_TRUE(feed.crcErrors.empty());
  feed.bytes({kStartByte, 0x11, kStartByte});
  feed.frame(f);
  feed.frame(f);
  EXPECT_GE(feed.crcErrors.size(), 1u);
  EXPECT_EQ(feed.complete, (std::vector<Frame>{f, f, f}));
  EXPECT_EQ(feed.receiver.pending(), 0u);
}

TEST(FrameReceiver, AddressHighByte0x23DoesNotRestartTheFrame) {
  const Frame f = reply(0x2323, cmd::Temperature, {0x23});
  FrameReceiver r;
  for (std::size_t i = 0; i < 10; ++i) ASSERT_EQ(r.push(f[i]), Outcome::Pending);
  EXPECT_EQ(r.push(f[10]), Outcome::Complete);
  EXPECT_EQ(r.frame(), f);
}

// A corrupted frame is not kept and re-checked with the bytes that follow: a
// later byte that happens to equal the check byte of the damaged bytes must
// not turn them into a valid frame.
TEST(FrameReceiver, DamagedFrameIsNotRevivedByTheNextByte) {
  Frame damaged = reply(12, cmd::Voltage, {0x0C, 0x80});
  damaged[5] ^= 0x40;
  const std::uint8_t wouldMatch = calc_crc(std::span<const std::uint8_t>(damaged.data(), 10));
  ASSERT_NE(wouldMatch, kStartByte);
  Feed feed;
  feed.frame(damaged);
  ASSERT_EQ(feed.crcErrors.size(), 1u);
  feed.bytes({wouldMatch, 0x00, 0x01});
  EXPECT_TRUE(feed.complete.empty());
  const Frame next = reply(12, cmd::Voltage, {0x0C, 0x81});
  feed.frame(next);
  EXPECT_EQ(feed.complete, std::vector<Frame>{next});
}

// Each handler notes its name and the value it was given.
struct Log {
  std::vector<std::string> calls;
  template <typename T>
  void add(const char* name, const T& value) {
    calls.push_back(std::string(name) + " " + value);
  }
};

struct ReaderLog final : ReaderReplies, Log {
  void up_t_auswert(const Frame&, double c) override { add("t", std::to_string(c)); }
  void up_u_auswert(const Frame&, double v) override { add("u", std::to_string(v)); }
  void up_z_auswert(const Frame&, double z) override { add("z", std::to_string(z)); }
  void up_sammel_auswert(const Frame&, const decode::CollectiveReading& r) override {
    add("sammel", std::to_string(r.address));
  }
  void up_hw(const Frame&, const std::string& rev) override { add("hw", rev); }
  void up_sw(const Frame&, const std::string& rev) override { add("sw", rev); }
  void up_modul(const Frame&, const std::optional<std::string>& name) override { add("modul", name.value_or("-")); }
};

struct ProgrammerLog final : ProgrammerReplies, Log {
  void up_z_auswert(const Frame&, double z) override { add("z", std::to_string(z)); }
  void up_sammel_auswert(const Frame&, const decode::CollectiveReading& r) override {
    add("sammel", std::to_string(r.address));
  }
  void up_modul_search(const Frame& f) override { add("search", std::to_string(f[4])); }
  void up_address_search(const Frame&, std::uint16_t a) override { add("address_search", std::to_string(a)); }
  void up_set_address(const Frame&) override { calls.push_back("set_address"); }
  void up_set_address1(const Frame&, std::uint16_t n) override { add("set_address1", std::to_string(n)); }
  void up_set_auto(const Frame&, std::uint16_t from) override { add("set_auto", std::to_string(from)); }
  void up_rec_check(const Frame&, std::uint16_t n) override { add("rec_check", std::to_string(n)); }
  void temperatureReply(const Frame&) override { calls.push_back("temperature"); }
};

struct DispatchCase {
  Frame frame;
  const char* expected;  // the one call, or "" when the frame is ignored
};

// Each reply makes exactly the one call expected, or none when ignored.
template <typename Log, std::size_t N, typename Dispatch>
void checkTable(const DispatchCase (&cases)[N], Dispatch dispatch) {
  for (const auto& c : cases) {
    Log log;
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(dispatch(c.frame, log), *c.expected != '\0');
    EXPECT_EQ(log.calls, *c.expected ? std::vector<std::string>{c.expected} : std::vector<std::string>{});
  }
}

TEST(Dispatch, ReaderTable) {
  const DispatchCase cases[] = {
      {reply(1, cmd::Temperature, {120}), "t 21.000000"},
      {reply(1, cmd::Voltage, {0x0C, 0x80}), "u 3.200000"},
      {reply(1, cmd::Impedance, {0x01, 0x2C}), "z 3.000000"},
      {reply(0x8101, cmd::Collective), "sammel 33025"},
      {reply(1, cmd::HardwareRevision, {3, 1}), "hw 3.1"},
      {reply(1, cmd::SoftwareRevision, {2, 10, 3}), "sw 2.10.3"},
      {reply(1, cmd::ModuleType, {21}), "modul S12"},
      {reply(1, cmd::ModuleType, {2}), "modul -"},
      {reply(1, 0x15), ""},
      {reply(1, cmd::Address, {0, 0, 5}), ""},
      {reply(1, cmd::Ping, {0, 1}), ""},
  };
  checkTable<ReaderLog>(cases, [](const Frame& f, ReaderLog& log) { return dispatchReaderReply(f, log); });
}

TEST(Dispatch, ProgrammerTable) {
  const DispatchCase cases[] = {
      {reply(4, cmd::Impedance, {0x00, 0x7B}), "z 1.230000"},
      {reply(0xFFFE, cmd::Collective), "sammel 65534"},
      {reply(4, cmd::ModuleSearch, {1}), "search 1"},
      {reply(0, cmd::Address, {0, 0x01, 0x2C}), "address_search 300"},
      {reply(0, cmd::Address, {1, 0, 0}), "set_address"},
      {reply(5, cmd::Address, {1, 0, 9}), "set_address1 9"},
      {reply(0xC805, cmd::AutoAddress), "set_auto 51205"},
      {reply(2, cmd::Ping, {0x03, 0xE8}), "rec_check 1000"},
      {reply(2, cmd::Temperature, {100}), "temperature"},
      {reply(2, cmd::Address, {2}), ""},
      {reply(2, cmd::Voltage, {1, 2}), ""},
      {reply(2, 0x15), ""},
  };
  checkTable<ProgrammerLog>(cases, [](const Frame& f, ProgrammerLog& log) { return dispatchProgrammerReply(f, log); });
}

}  // namespace
}  // namespace zelta
