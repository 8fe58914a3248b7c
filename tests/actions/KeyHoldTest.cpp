// The "Keys..." performer: what a button's press, hold and release inject, in order, with
// which flags and marks; what wheel steps inject; and that nothing stays down.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ActionsTestSupport.h"
#include "model/FunctionCodes.h"

namespace norvi::testkit {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr uint32_t kMark = 0x4E4F5256;  // "NORV"

// A key event of a combination, written out: extended only where the key is.
InputEvent ComboDown(uint8_t vk, bool extended = false) {
  InputEvent e{InputKind::Key, vk, extended ? 0x0001u : 0u};
  e.extraInfo = kMark;
  return e;
}
InputEvent ComboUp(uint8_t vk, bool extended = false) {
  InputEvent e = ComboDown(vk, extended);
  e.flags |= 0x0002;
  return e;
}

struct KeysRig : ActionRig {
  KeysRig() {
    // Keyboard delay 2 (750 ms), speed 31 (30 a second: 33 ms).
    system.parametersAnswer = [](uint32_t action, uint32_t, void* value) {
      if (action == 0x0016) *static_cast<uint32_t*>(value) = 2;
      if (action == 0x000A) *static_cast<uint32_t*>(value) = 31;
    };
  }
  void Assign(int slot, std::u16string_view text) {
    slots[slot].FunID = fn::Keys;
    SetPath(slots[slot], text);
  }
  void RunTimersTo(uint64_t ms) {
    timer.AdvanceTo(ms, [this](uint32_t id) {
      if (id == 6) actions.OnKeyRepeatTimer();
    });
  }
};

TEST(KeysFunction, PressPutsModifiersThenKeyDownAndReleaseTakesThemUpInReverse) {
  KeysRig rig;
  rig.Assign(SlotForward, u"keys:1:ctrl+shift+T");
  rig.actions.PerformSlot(SlotForward);
  EXPECT_THAT(rig.input.events, ElementsAre(ComboDown(0x11), ComboDown(0x10), ComboDown('T')));
  EXPECT_THAT(rig.input.batchSizes, ElementsAre(3u));  // one batch: nothing slips in between
  rig.actions.ReleaseSlot(SlotForward);
  EXPECT_THAT(rig.input.events, ElementsAre(ComboDown(0x11), ComboDown(0x10), ComboDown('T'),
                                            ComboUp('T'), ComboUp(0x10), ComboUp(0x11)));
  EXPECT_FALSE(rig.actions.Keys().Holds(SlotForward));
  rig.actions.ReleaseSlot(SlotForward);  // a second release has nothing left to take up
  EXPECT_EQ(rig.input.events.size(), 6u);
}

TEST(KeysFunction, HoldingTheButtonRepeatsTheKeyAtTheKeyboardsDelayAndRate) {
  KeysRig rig;
  rig.Assign(SlotBack, u"keys:1:alt+vk25");  // Alt + left arrow, an extended key
  rig.actions.PerformSlot(SlotBack);
  EXPECT_THAT(rig.timer.calls, ElementsAre("start 6 750 @0"));
  rig.RunTimersTo(749);
  EXPECT_EQ(rig.input.events.size(), 2u);
  rig.RunTimersTo(750 + 33 * 2);
  EXPECT_THAT(rig.input.events,
              ElementsAre(ComboDown(0x12), ComboDown(0x25, true), ComboDown(0x25, true),
                          ComboDown(0x25, true), ComboDown(0x25, true)));
  EXPECT_THAT(rig.input.times, ElementsAre(0u, 0u, 750u, 783u, 816u));
  // A held button reported again (the state byte of a driver) presses nothing more.
  rig.actions.PerformSlot(SlotBack);
  EXPECT_EQ(rig.input.events.size(), 5u);
  rig.actions.ReleaseSlot(SlotBack);
  EXPECT_FALSE(rig.timer.Running(6));
  EXPECT_THAT(std::vector<InputEvent>(rig.input.events.end() - 2, rig.input.events.end()),
              ElementsAre(ComboUp(0x25, true), ComboUp(0x12)));
  rig.RunTimersTo(5000);
  EXPECT_EQ(rig.input.events.size(), 7u);
}

TEST(KeysFunction, ModifiersAloneStayDownWithTheButtonAndDoNotRepeat) {
  KeysRig rig;
  rig.Assign(SlotRight, u"keys:1:ctrl+win");
  rig.actions.PerformSlot(SlotRight);
  rig.RunTimersTo(3000);
  EXPECT_THAT(rig.input.events, ElementsAre(ComboDown(0x11), ComboDown(0x5B, true)));
  EXPECT_THAT(rig.timer.calls, IsEmpty());
  rig.actions.ReleaseSlot(SlotRight);
  EXPECT_THAT(rig.input.events, ElementsAre(ComboDown(0x11), ComboDown(0x5B, true),
                                            ComboUp(0x5B, true), ComboUp(0x11)));
}

TEST(KeysFunction, KeysTwoHeldButtonsShareGoDownOnceAndUpWithTheLast) {
  KeysRig rig;
  rig.Assign(SlotForward, u"keys:1:ctrl+C");
  rig.Assign(SlotBack, u"keys:1:ctrl+shift+V");
  rig.actions.PerformSlot(SlotForward);
  rig.actions.PerformSlot(SlotBack);
  rig.actions.ReleaseSlot(SlotForward);
  rig.actions.ReleaseSlot(SlotBack);
  EXPECT_THAT(rig.input.events,
              ElementsAre(ComboDown(0x11), ComboDown('C'), ComboDown(0x10), ComboDown('V'),
                          ComboUp('C'), ComboUp('V'), ComboUp(0x10), ComboUp(0x11)));
}

TEST(KeysFunction, WheelStepsAndTiltsTapTheCombinationAtOnce) {
  KeysRig rig;
  rig.Assign(SlotWheelUp, u"keys:1:ctrl+vk6B");  // Ctrl + numeric-pad plus
  rig.Assign(SlotTiltLeft, u"keys:1:F5");
  rig.actions.PerformSlot(SlotWheelUp);
  rig.actions.PerformSlot(SlotTiltLeft);
  EXPECT_THAT(rig.input.events, ElementsAre(ComboDown(0x11), ComboDown(0x6B), ComboUp(0x6B),
                                            ComboUp(0x11), ComboDown(0x74), ComboUp(0x74)));
  EXPECT_FALSE(rig.actions.Keys().Holds(SlotWheelUp));
  EXPECT_THAT(rig.timer.calls, IsEmpty());
}

TEST(KeysFunction, NothingStaysDownWhenTheProgramEndsOrTheAssignmentsChange) {
  KeysRig rig;
  rig.Assign(SlotMiddle, u"keys:1:shift+vk2E");  // Shift + Delete
  rig.Assign(SlotRight, u"keys:1:alt");
  rig.actions.PerformSlot(SlotMiddle);
  rig.actions.PerformSlot(SlotRight);
  // What was pressed is what goes up, whatever the slots hold by now.
  rig.slots = FactorySlots();
  rig.actions.ReleaseHeldKeys();
  EXPECT_THAT(rig.input.events, ElementsAre(ComboDown(0x10), ComboDown(0x2E, true), ComboDown(0x12),
                                            ComboUp(0x2E, true), ComboUp(0x10), ComboUp(0x12)));
  EXPECT_FALSE(rig.timer.Running(6));

  KeysRig ending;
  ending.Assign(SlotForward, u"keys:1:shift+win+S");
  ending.actions.PerformSlot(SlotForward);
  ending.actions.Shutdown();
  EXPECT_THAT(ending.input.events,
              ElementsAre(ComboDown(0x10), ComboDown(0x5B, true), ComboDown('S'), ComboUp('S'),
                          ComboUp(0x5B, true), ComboUp(0x10)));
}

TEST(KeysFunction, ADamagedFieldPressesNothing) {
  for (std::u16string_view text : {u"", u"keys:1:ctrl+", u"keys:1:shift+ctrl+T", u"ctrl+T"}) {
    KeysRig rig;
    rig.Assign(SlotForward, text);
    rig.actions.PerformSlot(SlotForward);
    rig.actions.ReleaseSlot(SlotForward);
    EXPECT_THAT(rig.input.events, IsEmpty());
    EXPECT_THAT(rig.timer.calls, IsEmpty());
  }
}

TEST(KeysFunction, RepeatFollowsTheKeyboardSettingsWithinTheirRanges) {
  EXPECT_EQ(RepeatDelayMs(0), 250u);
  EXPECT_EQ(RepeatDelayMs(3), 1000u);
  EXPECT_EQ(RepeatDelayMs(7), 1000u);
  EXPECT_EQ(RepeatDelayMs(-1), 250u);
  EXPECT_EQ(RepeatPeriodMs(0), 400u);  // 2.5 a second
  EXPECT_EQ(RepeatPeriodMs(31), 33u);  // 30 a second
  EXPECT_EQ(RepeatPeriodMs(99), 33u);

  KeysRig failing;  // settings that cannot be read: one second's delay, the fastest rate
  failing.system.parametersResult = 0;
  failing.Assign(SlotForward, u"keys:1:A");
  failing.actions.PerformSlot(SlotForward);
  failing.RunTimersTo(500);
  EXPECT_THAT(failing.timer.calls, ElementsAre("start 6 500 @0", "start 6 33 @500"));
}

}  // namespace
}  // namespace norvi::testkit
