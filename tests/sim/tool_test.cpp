#include <gmock/gmock.h>

#include "platform/virtual_clock.h"
#include "protocol/commands.h"
#include "sim/frame_text.h"
#include "sim/sim_console.h"
#include "sim/sim_options.h"
#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

using ::testing::HasSubstr;

TEST(FrameText, DescribesRequestsAndReplies) {
  const std::tuple<Frame, bool, const char*> cases[] = {  // frame, from the host, text
      {request::readerVoltage(1), true, "voltage request to 1"},
      {request::setAddress(5, 9), true, "change address 5 to 9"},
      {request::ping(0, 0), true, "line-check ping to 0, count 0"},
      {reply(1, 0x12, 0x0C, 0x80), false, "voltage 3.200 V from 1"},
      {reply(3, 0x14, 120, 0x33, 0x90, 0, 0x10), false,
       "collective from 3: 21 C, 13.200 V, status 0x10, error 0"},
      {reply(260, 0xFD, 0, 1, 4), false, "address 260 reported from 260"},
      {reply(0, 0xE6, 1, 0x2C), false, "line-check message 300 from 0"},
  };
  for (const auto& [frame, fromHost, text] : cases) EXPECT_EQ(describeFrame(frame, fromHost), text);
  Frame bad = request::readerVoltage(1);
  bad[10] ^= 0x40;
  EXPECT_EQ(describeFrame(bad, true), "check byte wrong");
}

TEST(SimOptionsParsing, DefaultsAndEveryOption) {
  EXPECT_EQ(parseSimOptions({}).options->modules, 24);
  EXPECT_EQ(parseSimOptions({"--unaddressed"}).options->firstAddress, 0);
  const auto p = parseSimOptions({"--modules", "5", "--first-address", "300", "--seed", "9", "--missing", "0.1",
                                  "--corrupt", "0.01", "--noise", "0.2", "--stray", "0.3", "--late", "0.4",
                                  "--late-by", "250", "--silent", "2-4", "--turnaround", "5.5", "--pace", "40",
                                  "--chunk", "8",
                                  "--drift", "--trace", "--link", "/tmp/bus"});
  ASSERT_TRUE(p.options) << p.error;
  const SimOptions& o = *p.options;
  const FaultRates& f = o.faults;
  EXPECT_EQ(std::make_tuple(o.modules, o.firstAddress, o.seed, o.turnaroundMs, o.lineCheckPaceMs, o.link),
            std::make_tuple(5, 300, 9u, 5.5, 40.0, std::string("/tmp/bus")));
  EXPECT_EQ(std::make_tuple(f.missingReply, f.corruptByte, f.noiseByte, f.strayStart, f.lateReply, f.lateByMs),
            std::make_tuple(0.1, 0.01, 0.2, 0.3, 0.4, 250));
  EXPECT_EQ(o.silent, std::make_pair(std::uint16_t{2}, std::uint16_t{4}));
  EXPECT_TRUE(o.drift && o.trace && o.replyChunkBytes == 8);
}

TEST(SimOptionsParsing, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> refused = {
      {"--modules"}, {"--modules", "x"}, {"--modules", "2.5"}, {"--missing", "1.5"}, {"--noise", "-0.1"},
      {"--first-address", "65536"}, {"--first-address", "65535", "--modules", "2"}, {"--silent", "9-3"},
      {"--pace", "5"}, {"--chunk", "0"}, {"--bogus"}};
  for (const auto& args : refused) EXPECT_FALSE(parseSimOptions(args).options) << args[0];
}

class SimConsoleTest : public BusFixture {
 protected:
  SimConsoleTest() { bus.addModules(3, 0); }
  SimConsole console{bus};
};

// Values are set in their units; bad modules and values are refused and
// change nothing.
TEST_F(SimConsoleTest, SetsValuesInTheirUnitsAndRefusesBadOnes) {
  for (const char* line : {"set 2 volt 12.85", "set 2 temp -4.5", "set 2 imp 4.25", "set 2 status 0x31",
                           "set 2 error 7", "set 2 address 40", "set 2 missing 0.5", "set 2 corrupt 0.25"})
    console.execute(line);
  const ModuleState& m = bus.module(1);
  const ModuleFaults f = bus.moduleFaults(1);
  EXPECT_EQ(std::tuple(m.millivolts, m.temperatureByte, m.impedance, m.status, m.error, m.address),
            std::tuple(12850, 69, 425, 0x31, 7, 40));
  EXPECT_EQ(std::pair(f.missingReply, f.corruptReply), std::pair(0.5, 0.25));
  const ModuleState before = bus.module(0);
  for (const char* line : {"set 0 volt 12", "set 4 volt 12", "set 1 volt 70", "set 1 temp 90", "set 1 status 256",
                           "set 1 missing 2", "set 1 volt twelve", "set 1 colour 3", "press", "press x", "powerup 9", "dance"})
    EXPECT_FALSE(console.execute(line).empty()) << line;
  EXPECT_EQ(bus.module(0).millivolts, before.millivolts);
  EXPECT_EQ(bus.module(0).status, before.status);
  EXPECT_FALSE(console.quitRequested());
}

TEST_F(SimConsoleTest, PressAndPowerUpActOnTheModuleAtThatPosition) {
  exchange(request::autoAddress(17));
  console.execute("press 3");
  clock.advance(50);
  EXPECT_EQ(bus.module(2).address, 17);
  console.execute("powerup 2");
  clock.advance(7000);
  EXPECT_EQ(frames.size(), 1u + 301u);
  EXPECT_THAT(console.listing(), HasSubstr("     17 "));
  console.execute("quit");
  EXPECT_TRUE(console.quitRequested());
}

}  // namespace
}  // namespace zelta::test
