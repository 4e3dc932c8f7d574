#include <gmock/gmock.h>

#include "protocol/commands.h"
#include "protocol/decoders.h"
#include "tests/sim/bus_fixture.h"

namespace zelta::test {
namespace {

using ::testing::ElementsAreArray;
using ModuleAddressing = BusFixture;

TEST_F(ModuleAddressing, ButtonPressAfterAutomaticRequestTakesTheAddressAndConfirms) {
  bus.addModules(3, 0);
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

TEST_F(ModuleAddressing, PressWithNothingArmedDoesNothing) {
  bus.addModules(1, 0);
  bus.pressButton(0);
  clock.advance(100);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(bus.module(0).address, 0);
}

struct AddressChange {
  const char* name;
  std::uint16_t from;
  std::uint16_t to;
};

class AddressChanges : public BusFixture, public ::testing::WithParamInterface<AddressChange> {};

TEST_P(AddressChanges, ModuleConfirmsFromItsNewAddress) {
  const auto [name, from, to] = GetParam();
  bus.addModules(2, from);
  exchange(to == 0 ? request::resetAddress(from) : request::setAddress(from, to));
  ASSERT_EQ(frames.size(), 1u);
  const Frame& r = frames[0].frame;
  EXPECT_EQ(frameAddress(r), to);
  EXPECT_EQ(frameCommand(r), cmd::Address);
  EXPECT_EQ(r[4], 1);
  EXPECT_EQ(decode::addressInData(r), to);
  EXPECT_EQ(bus.module(0).address, to);
  EXPECT_EQ(bus.module(1).address, from + 1) << "the other module keeps its address";
}

INSTANTIATE_TEST_SUITE_P(SetAndReset, AddressChanges,
                         ::testing::Values(AddressChange{"Set5To9", 5, 9}, AddressChange{"Set1To300", 1, 300},
                                           AddressChange{"Reset12", 12, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModuleAddressing, LoneModuleTellsItsAddress) {
  bus.addModules(1, 260);
  exchange(request::addressQuery());
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_THAT(frames[0].frame, ElementsAreArray(frameOf({1, 4, 0xFD, 0, 1, 4})));
}

TEST_F(ModuleAddressing, AnswersOfTwoModulesToTheAddressQueryCollide) {
  bus.addModules(2, 5);
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
  EXPECT_EQ(bus.module(1).led, LedState::Green);
  EXPECT_EQ(bus.module(2).led, LedState::Off);
  exchange(request::setLed(LedState::Red));
  EXPECT_EQ(bus.module(1).led, LedState::Red);
  exchange(request::setLed(LedState::Off));
  EXPECT_EQ(bus.module(0).led, LedState::Off);
  EXPECT_TRUE(bytes.empty());
}

class ModuleSearch : public BusFixture {
 protected:
  void SetUp() override {
    bus.addModules(3, 6);
    exchange(request::moduleSearch(7, SearchAction::StartFlashing));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_THAT(frames[0].frame, ElementsAreArray(frameOf({0, 7, 0xFC, 1})));
    frames.clear();
  }
};

TEST_F(ModuleSearch, FlashingModuleAlternatesItsLedAndAnswersNothingElse) {
  ASSERT_TRUE(bus.module(1).flashing);
  const LedState first = bus.module(1).led;
  clock.advance(500);
  EXPECT_NE(bus.module(1).led, first);
  EXPECT_NE(bus.module(1).led, LedState::Off);
  exchange(request::programmerTemperature(7));
  exchange(request::moduleSearch(7, SearchAction::StartFlashing));
  EXPECT_TRUE(frames.empty());
  exchange(request::programmerTemperature(8));
  EXPECT_EQ(frames.size(), 1u) << "the other modules go on answering";
}

TEST_F(ModuleSearch, ButtonPressEndsFlashingAndThePollIsAnsweredAgain) {
  bus.pressButton(1);
  EXPECT_FALSE(bus.module(1).flashing);
  EXPECT_EQ(bus.module(1).address, 7) << "a press while flashing does not address";
  exchange(request::programmerTemperature(7));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frameCommand(frames[0].frame), cmd::Temperature);
}

TEST_F(ModuleSearch, StopRequestEndsFlashingAndIsAnswered) {
  exchange(request::moduleSearch(7, SearchAction::StopFlashing));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_THAT(frames[0].frame, ElementsAreArray(frameOf({0, 7, 0xFC, 2})));
  EXPECT_FALSE(bus.module(1).flashing);
  EXPECT_EQ(bus.module(1).led, LedState::Off);
  clock.advance(2000);
  EXPECT_EQ(bus.module(1).led, LedState::Off) << "the alternation has stopped";
}

}  // namespace
}  // namespace zelta::test
