// The built-in user-mode filter end to end: real X input from xdotool on the virtual
// display, through the low-level hook, the semaphore and the reader, to a probe window.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "device/DriverPort_win32.h"
#include "device/USBDriver_win32.h"
#include "device/UserModeFilter_win32.h"
#include "model/ButtonSlot.h"
#include "tests/device/ProbeWindow_win32.h"
#include "tests/device/Recorders.h"

namespace norvi {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr DWORD kTimeoutMs = 5000;
constexpr RECT kProbeRect{200, 200, 500, 500};
const uint32_t kForwardBit = SlotFilterBit(SlotForward);

// Runs xdotool (a Unix program) through Wine's start.exe and waits for it, pumping.
bool Xdotool(const std::wstring& arguments) {
  std::wstring command = L"start.exe /wait /unix /usr/bin/xdotool " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return false;
  }
  UniqueHandle processHandle(process.hProcess);
  UniqueHandle threadHandle(process.hThread);
  return test::PumpUntil(
      [&] { return ::WaitForSingleObject(processHandle.get(), 0) == WAIT_OBJECT_0; }, kTimeoutMs);
}

void InjectXButton2() {
  INPUT inputs[2]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.mouseData = XBUTTON2;
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_XDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_XUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

class UserModeFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Xdotool(L"mousemove 340 340 mousemove 350 350"));
    ASSERT_TRUE(test::PumpUntil([&] { return probe_.moves > 0; }, kTimeoutMs));
    ASSERT_EQ(usb_.StartReader(probe_.get()), 1);
    ASSERT_EQ(usb_.Open(), 1);
  }
  void TearDown() override {
    usb_.Close();
    usb_.StopReader();
  }

  // X button 8 (back) is never in these tests' masks: once it reached the probe, everything
  // the X server had before it was decided on.
  void Settle() {
    auto backReleases = [&] {
      return std::count(probe_.xUps.begin(), probe_.xUps.end(), XBUTTON1);
    };
    auto before = backReleases();
    ASSERT_TRUE(Xdotool(L"click 8"));
    ASSERT_TRUE(test::PumpUntil([&] { return backReleases() > before; }, kTimeoutMs));
  }
  bool WaitForEvents(size_t count) {
    return test::PumpUntil([&] { return probe_.events.size() >= count; }, kTimeoutMs);
  }

  test::ProbeWindow probe_{&kProbeRect};
  test::LineRecorder trace_;
  test::LineRecorder debug_;
  DeviceControlPort device_;  // absent under Wine
  UserModeFilter filter_;
  CUSBDriver usb_{trace_, debug_, device_, &filter_};
};

TEST_F(UserModeFilterTest, ForwardBitSwallowsXButton9AndReportsPressThenRelease) {
  EXPECT_THAT(debug_.Lines(), ElementsAre(u"Qn Wireless Drv: Open driver failed."));
  ASSERT_EQ(usb_.SetMouseFilter(kForwardBit), 1);
  ASSERT_TRUE(Xdotool(L"click 9"));
  ASSERT_TRUE(WaitForEvents(2));
  Settle();
  EXPECT_THAT(probe_.events, ElementsAre(0x10u, 0u));
  EXPECT_THAT(probe_.xDowns, ElementsAre(XBUTTON1));
  EXPECT_EQ(filter_.Dropped(), 0u);
}

TEST_F(UserModeFilterTest, ClearBitLetsXButton9Pass) {
  ASSERT_EQ(usb_.SetMouseFilter(SlotFilterBit(SlotMiddle)), 1);
  ASSERT_TRUE(Xdotool(L"click 9"));
  Settle();
  EXPECT_THAT(probe_.xDowns, ElementsAre(XBUTTON2, XBUTTON1));
  EXPECT_THAT(probe_.xUps, ElementsAre(XBUTTON2, XBUTTON1));
  EXPECT_THAT(probe_.events, IsEmpty());
}

TEST_F(UserModeFilterTest, InjectedXButton2Passes) {
  ASSERT_EQ(usb_.SetMouseFilter(kForwardBit), 1);
  InjectXButton2();
  ASSERT_TRUE(test::PumpUntil([&] { return !probe_.xUps.empty(); }, kTimeoutMs));
  Settle();
  EXPECT_THAT(probe_.xDowns, ElementsAre(XBUTTON2, XBUTTON1));
  EXPECT_THAT(probe_.events, IsEmpty());
}

TEST_F(UserModeFilterTest, WheelAndTiltGiveOneEventEach) {
  ASSERT_EQ(usb_.SetMouseFilter(SlotFilterBit(SlotWheelUp) | SlotFilterBit(SlotWheelDown) |
                                SlotFilterBit(SlotTiltLeft) | SlotFilterBit(SlotTiltRight)),
            1);
  ASSERT_TRUE(Xdotool(L"click 4 click 5 click 7 click 6"));
  ASSERT_TRUE(WaitForEvents(4));
  Settle();
  EXPECT_THAT(probe_.events,
              ElementsAre(kEventWheelUp, kEventWheelDown, kEventTiltRight, kEventTiltLeft));
  EXPECT_EQ(probe_.wheels, 0);
}

// The program's own composition: without the driver it opens the built-in filter.
TEST(UserModeFilterProductionTest, ProductionLinkOpensWithoutTheDriver) {
  test::LineRecorder trace;
  CUSBDriver usb{trace};
  ASSERT_EQ(usb.StartReader(nullptr), 1);
  EXPECT_EQ(usb.Open(), 1);
  EXPECT_EQ(usb.SetMouseFilter(kForwardBit), 1);
  EXPECT_EQ(usb.Close(), 1);
  EXPECT_EQ(usb.SetMouseFilter(kForwardBit), 0);
  EXPECT_EQ(usb.StopReader(), 1);
}

}  // namespace
}  // namespace norvi
