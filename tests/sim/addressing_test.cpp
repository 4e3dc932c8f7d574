#include <gmock/gmock.h>

#include "protocol/commands.h"
#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

using ::testing::ElementsAreArray;
using ModuleAddressing = BusFixture;

TEST_F(ModuleAddressing, ButtonPressAfterAutomaticRequestTakesTheAddressAndConfirms) {
  bus.addModules(3, 0);
  bus.pressButton(0);
  clock.advance(100);
  EXPECT_TRUE(bytes.empty()) << "a press with nothing armed does nothing";
  exchange(request::autoAddress(260));
  EXPECT_TRUE(bytes.empty()) << "arming is not answered";
  bus.pressButton(1);
  clock.advance(50);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_THAT(frames[0].frame, ElementsAreArray(frameOf({1, 4, 0xFF, 1, 4})));
  EXPECT_EQ(bus.module(1).address, 260);
  EXPECT_EQ(bus.module(0).address, 0);

  exchange(request::stopAutoAddressing());
  bus.pressButton(2);
  clock.advance(50);
  EXPECT_EQ(frames.size(), 1u) << "after the stop broadcast a press does nothing";
  EXPECT_EQ(bus.module(2).address, 0);
  EXPECT_FALSE(bus.armedAddress(0).has_value());
}

TEST_F(ModuleAddressing, ModuleConfirmsAChangeFromItsNewAddress) {
  bus.addModules(2, 5);
  const std::pair<Frame, std::uint16_t> changes[] = {
      {request::setAddress(5, 9), 9}, {request::setAddress(9, 300), 300}, {request::resetAddress(300), 0}};
  for (const auto& [request, to] : changes) {
    frames.clear();
    exchange(request);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_THAT(frames[0].frame, ElementsAreArray(frameOf({std::uint8_t(to >> 8), std::uint8_t(to), 0xFD, 1,
                                                           std::uint8_t(to >> 8), std::uint8_t(to)})));
    EXPECT_EQ(bus.module(0).address, to);
  }
  EXPECT_EQ(bus.module(1).address, 6) << "the other module keeps its address";
}

TEST_F(ModuleAddressing, AddressQueryIsAnsweredByALoneModuleAndCollidesWithTwo) {
  bus.addModules(1, 260);
  exchange(request::addressQuery());
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_THAT(frames[0].frame, ElementsAreArray(frameOf({1, 4, 0xFD, 0, 1, 4})));
  // A second module's answer collides with the first on the line.
  bus.addModules(1, 5);
  frames.clear();
  bytes.clear();
  exchange(request::addressQuery());
  EXPECT_EQ(bytes.size(), 11u) << "both answers on the line at the same time";
  EXPECT_TRUE(frames.empty());
  EXPECT_EQ(crcErrors, 1);
}

TEST_F(ModuleAddressing, SetLedReachesOnlyUnaddressedModules) {
  bus.addModules(2, 0);
  bus.addModules(1, 8);
  exchange(request::setLed(LedState::Green));
  EXPECT_EQ(bus.module(0).led, LedState::Green);
  EXPECT_EQ(bus.module(2).led, LedState::Off) << "an addressed module ignores it";
  exchange(request::setLed(LedState::Off));
  EXPECT_EQ(bus.module(0).led, LedState::Off);
  EXPECT_TRUE(bytes.empty());
}

// A flashing module alternates its LED and answers nothing but the stop
// request; a button press also ends the flashing without addressing.
TEST_F(ModuleAddressing, ModuleSearchFlashesUntilStoppedOrPressed) {
  bus.addModules(3, 6);
  exchange(request::moduleSearch(7, SearchAction::StartFlashing));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_THAT(frames[0].frame, ElementsAreArray(frameOf({0, 7, 0xFC, 1})));
  const LedState first = bus.module(1).led;
  clock.advance(500);
  EXPECT_NE(bus.module(1).led, first);
  EXPECT_NE(bus.module(1).led, LedState::Off);
  exchange(request::programmerTemperature(7));
  EXPECT_EQ(frames.size(), 1u);
  exchange(request::programmerTemperature(8));
  EXPECT_EQ(frames.size(), 2u) << "the other modules go on answering";

  exchange(request::moduleSearch(7, SearchAction::StopFlashing));
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_THAT(frames[2].frame, ElementsAreArray(frameOf({0, 7, 0xFC, 2})));
  EXPECT_EQ(bus.module(1).led, LedState::Off);
  clock.advance(2000);
  EXPECT_EQ(bus.module(1).led, LedState::Off) << "the alternation has stopped";

  exchange(request::moduleSearch(7, SearchAction::StartFlashing));
  bus.pressButton(1);
  EXPECT_FALSE(bus.module(1).flashing);
  EXPECT_EQ(bus.module(1).address, 7) << "a press while flashing does not address";
  exchange(request::programmerTemperature(7));
  ASSERT_EQ(frames.size(), 5u);
  EXPECT_EQ(frameCommand(frames[4].frame), cmd::Temperature);
}

}  // namespace
}  // namespace zelta::test
