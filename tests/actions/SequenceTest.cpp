#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ActionsTestSupport.h"
#include "actions/Sequences.h"

namespace norvi::testkit {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Expected {
  int32_t code;
  std::vector<InputEvent> events;
};

std::vector<InputEvent> Combo(uint8_t modifier, uint8_t key) {
  return {Down(modifier), Down(key), Up(key), Up(modifier)};
}
std::vector<InputEvent> Single(uint8_t key) {
  return {Down(key), Up(key)};
}

TEST(InputSequences, EveryFixedCodeInjectsItsExactEventList) {
  const std::vector<Expected> table = {
      {1, Combo(0x11, 0x58)},
      {2, Combo(0x11, 0x43)},
      {3, Combo(0x11, 0x56)},
      {4, Combo(0x11, 0x41)},
      {5, Combo(0x11, 0x46)},
      {6, Combo(0x11, 0x4E)},
      {7, Combo(0x11, 0x50)},
      {8, Combo(0x11, 0x53)},
      {34, Combo(0xA4, 0x73)},
      {36, Combo(0x5B, 0x45)},
      {37, Combo(0x5B, 0x52)},
      {38, Combo(0x5B, 0x44)},
      {39, Single(0x5B)},
      {49, Single(0xB5)},
      {50, Single(0xB3)},
      {51, Single(0xB2)},
      {52, Single(0xB1)},
      {53, Single(0xB0)},
      {54, Single(0xAF)},
      {55, Single(0xAE)},
      {56, Single(0xAD)},
      {65, {Mouse(0x0002), Wait(100), Mouse(0x0004)}},
      {66, {Mouse(0x0008), Wait(100), Mouse(0x0010)}},
      {67, {Mouse(0x0020), Wait(100), Mouse(0x0040)}},
      {68, {Mouse(0x0080, 2), Wait(100), Mouse(0x0100, 2)}},
      {69, {Mouse(0x0080, 1), Wait(100), Mouse(0x0100, 1)}},
      {70, {Mouse(0x0800, 120)}},
      {71, {Mouse(0x0800, -120)}},
  };
  for (const Expected& e : table) {
    ActionRig rig;
    rig.Perform(e.code);
    EXPECT_EQ(rig.input.events, e.events) << "code " << e.code;
    EXPECT_THAT(rig.windows.messages, IsEmpty()) << e.code;
    EXPECT_THAT(rig.system.calls, IsEmpty()) << e.code;
  }
}

TEST(InputSequences, CombinationIsOneBatchAndClickTwoCallsAroundThePause) {
  ActionRig rig;
  rig.Perform(2);
  EXPECT_THAT(rig.input.batchSizes, ElementsAre(4u));

  ActionRig click;
  click.Perform(68);
  EXPECT_THAT(click.input.batchSizes, ElementsAre(1u, 1u));
  EXPECT_THAT(click.input.times, ElementsAre(0u, 0u, 100u));
}

TEST(InputSequences, SearchAndCharmsNeedVersionClassSeven) {
  struct Case {
    OsVersionInfo version;
    bool performed;
  };
  const Case cases[] = {
      {{2, 6, 1}, false},                       // class 6
      {{2, 6, 2}, true},                        // class 7
      {{2, 6, 3}, false},                       // later than the table: class 0
      {{2, 10, 0}, false}, {{0, 0, 0}, false},  // failed query
  };
  for (const Case& c : cases) {
    ActionRig find;
    find.system.version = c.version;
    find.Perform(40);
    ActionRig charms;
    charms.system.version = c.version;
    charms.Perform(41);
    if (c.performed) {
      EXPECT_EQ(find.input.events, Combo(0x5B, 0x51));
      EXPECT_EQ(charms.input.events, Combo(0x5B, 0x43));
    } else {
      EXPECT_THAT(find.input.events, IsEmpty()) << c.version.major << "." << c.version.minor;
      EXPECT_THAT(charms.input.events, IsEmpty());
    }
  }
}

TEST(OsVersionClass, FollowsThePlatformTable) {
  EXPECT_EQ(OsVersionClass({1, 4, 0}), 1);
  EXPECT_EQ(OsVersionClass({1, 4, 89}), 1);
  EXPECT_EQ(OsVersionClass({1, 4, 90}), 2);
  EXPECT_EQ(OsVersionClass({1, 5, 0}), 0);
  EXPECT_EQ(OsVersionClass({2, 5, 0}), 3);
  EXPECT_EQ(OsVersionClass({2, 5, 1}), 4);
  EXPECT_EQ(OsVersionClass({2, 5, 2}), 4);
  EXPECT_EQ(OsVersionClass({2, 6, 0}), 5);
  EXPECT_EQ(OsVersionClass({2, 6, 1}), 6);
  EXPECT_EQ(OsVersionClass({2, 6, 2}), 7);
  EXPECT_EQ(OsVersionClass({2, 6, 3}), 0);
  EXPECT_EQ(OsVersionClass({2, 4, 0}), 0);
  EXPECT_EQ(OsVersionClass({3, 6, 1}), 0);
}

TEST(Zoom, KeysForTheThreeViewsAndCtrlWheelElsewhere) {
  for (const char16_t* cls : {u"MozillaWindowClass", u"AVL_AVView", u"PSViewC"}) {
    ActionRig in;
    in.windows.pointed = in.windows.Add(cls, {0, 0, 100, 100});
    in.Perform(42);
    EXPECT_EQ(in.input.events, Combo(0x11, 0xBB));
    ActionRig out;
    out.windows.pointed = out.windows.Add(cls, {0, 0, 100, 100});
    out.Perform(43);
    EXPECT_EQ(out.input.events, Combo(0x11, 0xBD));
  }
  for (const char16_t* cls : {u"PSViewC2", u"psviewc", u"Notepad", u""}) {
    ActionRig in;
    in.windows.pointed = in.windows.Add(cls, {0, 0, 100, 100});
    in.Perform(42);
    EXPECT_EQ(in.input.events, (std::vector{Down(0x11), Mouse(0x0800, 120), Up(0x11)}));
    EXPECT_THAT(in.input.batchSizes, ElementsAre(3u));
    ActionRig out;
    out.Perform(43);  // no window under the cursor at all
    EXPECT_EQ(out.input.events, (std::vector{Down(0x11), Mouse(0x0800, -120), Up(0x11)}));
  }
}

TEST(Play, GroupsEventsBetweenPausesIntoBatches) {
  fakes::FakeClock clock;
  fakes::InputRecorder input(clock);
  const InputEvent events[] = {Wait(5), Down(1), Up(1), Wait(7), Wait(9), Down(2)};
  Play(input, events);
  EXPECT_THAT(input.batchSizes, ElementsAre(2u, 1u));
  EXPECT_EQ(input.events, std::vector<InputEvent>(std::begin(events), std::end(events)));
  EXPECT_EQ(clock.nowMs, 21u);
}

}  // namespace
}  // namespace norvi::testkit
