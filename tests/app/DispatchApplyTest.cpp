#include <gtest/gtest.h>

#include "app/ApplyModel.h"
#include "app/DeviceDispatch.h"
#include "model/ProfileImage.h"
#include "tests/app/Recorders.h"

namespace norvi {
namespace {

using Log = std::vector<std::string>;

class Dispatch : public testing::Test {
 protected:
  Dispatch() { slots = FactorySlots(); }
  void Assign(int slot, int32_t code) { slots[slot].FunID = code; }
  Log Run(uint32_t event) {
    testkit::DispatchRecorder r;
    DispatchDeviceEvent(event, slots, r, r);
    return r.log;
  }
  SlotTable slots;
};

TEST_F(Dispatch, ButtonBitsPerformRightMiddleBackForwardInThatOrder) {
  for (int s : {SlotMiddle, SlotRight, SlotBack, SlotForward}) Assign(s, 2);
  EXPECT_EQ(Run(0x06), (Log{"DeviceMessageEvent:右键\r\n", "perform 1",
                            "DeviceMessageEvent:中键\r\n", "perform 0"}));
  EXPECT_EQ(Run(0x1F),
            (Log{"DeviceMessageEvent:右键\r\n", "perform 1", "DeviceMessageEvent:中键\r\n",
                 "perform 0", "DeviceMessageEvent:后退键\r\n", "perform 5",
                 "DeviceMessageEvent:前进键\r\n", "perform 4"}));
  // The same byte twice acts twice: there is no edge detection.
  EXPECT_EQ(Run(0x10).size(), 2u);
  EXPECT_EQ(Run(0x10).size(), 2u);
}

TEST_F(Dispatch, ButtonsHoldingTheirNativeCodeAndUnmappedBitsDoNothing) {
  Assign(SlotForward, 2);
  EXPECT_EQ(Run(0x06), Log{});  // right and middle are native
  EXPECT_EQ(Run(0x01), Log{});  // left button
  EXPECT_EQ(Run(0xE1), Log{});  // bits 0, 5, 6, 7
  EXPECT_EQ(Run(0x00), Log{});
  EXPECT_EQ(Run(0xF0), (Log{"DeviceMessageEvent:前进键\r\n", "perform 4"}));
}

TEST_F(Dispatch, WheelStepsActOnlyWhenRemappedTiltsAlways) {
  EXPECT_EQ(Run(kEventWheelUp), Log{});
  EXPECT_EQ(Run(kEventWheelDown), Log{});
  EXPECT_EQ(Run(kEventTiltRight), (Log{"DeviceMessageEvent:滚轮右滚\r\n", "perform 7"}));
  EXPECT_EQ(Run(kEventTiltLeft), (Log{"DeviceMessageEvent:滚轮左滚\r\n", "perform 6"}));
  Assign(SlotWheelUp, 5);
  Assign(SlotWheelDown, 6);
  EXPECT_EQ(Run(kEventWheelUp), (Log{"DeviceMessageEvent:滚轮上滚\r\n", "perform 2"}));
  EXPECT_EQ(Run(kEventWheelDown), (Log{"DeviceMessageEvent:滚轮下滚\r\n", "perform 3"}));
}

TEST_F(Dispatch, OtherEventsFrom256OnAreIgnoredEvenWithButtonBits) {
  for (int s = 0; s < kSlotCount; ++s) Assign(s, 1);
  for (uint32_t e : {256u, 258u, 300u, 512u, 766u, 768u, 0x1006u, 0xFFFFFFFFu})
    EXPECT_EQ(Run(e), Log{}) << e;
}

// Hears releases too: a held key combination goes up when its button's bit is clear.
struct HoldRecorder : testkit::DispatchRecorder {
  void ReleaseSlot(int slot) override { log.push_back(testkit::Line("release ", slot)); }
};

TEST_F(Dispatch, AButtonByteReleasesEveryButtonWhoseBitIsClearBeforeItPerforms) {
  Assign(SlotForward, 85);
  Assign(SlotBack, 85);
  const auto run = [this](uint32_t event) {
    HoldRecorder r;
    DispatchDeviceEvent(event, slots, r, r);
    return r.log;
  };
  EXPECT_EQ(run(0x10), (Log{"release 1", "release 0", "release 5", "DeviceMessageEvent:前进键\r\n",
                            "perform 4"}));
  EXPECT_EQ(run(0x18), (Log{"release 1", "release 0", "DeviceMessageEvent:后退键\r\n", "perform 5",
                            "DeviceMessageEvent:前进键\r\n", "perform 4"}));
  // All buttons up: the built-in filter's release and the driver's empty state byte.
  EXPECT_EQ(run(0x00), (Log{"release 1", "release 0", "release 5", "release 4"}));
  EXPECT_EQ(run(0x01), (Log{"release 1", "release 0", "release 5", "release 4"}));
  // Wheel steps and tilts say nothing about the buttons.
  EXPECT_EQ(run(0x0101), Log{});
  EXPECT_EQ(run(0x02FF), (Log{"DeviceMessageEvent:滚轮左滚\r\n", "perform 6"}));
}

TEST(Apply, PendingChoicesBecomeAppliedWithFlagsRecomputedAndTraced) {
  ProfileImage profile = DefaultProfile();
  profile.Slots[SlotForward].TempID = 2;
  profile.Slots[SlotMiddle].FunID = 5;  // applied earlier, now picked back to native
  profile.Remapped[SlotMiddle] = 1;
  profile.Slots[SlotTiltLeft].TempID = 96;
  testkit::TraceRecorder trace;
  ApplyPendingChoices(profile, trace);
  EXPECT_EQ(profile.Slots[SlotForward].FunID, 2);
  EXPECT_EQ(profile.Slots[SlotMiddle].FunID, 67);
  EXPECT_EQ(profile.Remapped, (std::array<int32_t, 8>{0, 0, 0, 0, 1, 0, 1, 0}));
  EXPECT_EQ(trace.lines,
            (std::vector<std::string>{"ApplySetting:应用4按键.InitID:68,TempID:2,FunID:2\r\n",
                                      "ApplySetting:应用6按键.InitID:72,TempID:96,FunID:96\r\n"}));
}

TEST(Apply, FilterIsClearedThenTheMaskWithTiltsForcedIsSent) {
  ProfileImage profile = DefaultProfile();
  profile.Remapped[SlotRight] = 1;
  profile.Remapped[SlotForward] = 1;
  testkit::FilterRecorder link;
  testkit::TraceRecorder trace;
  link.result = 0;
  EXPECT_EQ(ApplyFilerToDevice(profile, link, trace), 0);  // the final call's result
  EXPECT_EQ(link.calls,
            (std::vector<std::string>{"mouse 0", "keyboard 0", "combo 0",
                                      testkit::Line("mouse ", 0x002 | 0x010 | 0x080 | 0x100)}));
  EXPECT_EQ(profile.Remapped[SlotTiltLeft], 1);
  EXPECT_EQ(profile.Remapped[SlotTiltRight], 1);
  EXPECT_EQ(trace.lines,
            (std::vector<std::string>{"ApplyFilerToDevice:0\r\n", "ApplyFilerToDevice:1",
                                      "ApplyFilerToDevice:4", "ApplyFilerToDevice:6",
                                      "ApplyFilerToDevice:7"}));
}

}  // namespace
}  // namespace norvi
