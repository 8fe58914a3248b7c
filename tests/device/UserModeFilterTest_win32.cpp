// The built-in user-mode filter end to end: real X input from xdotool on the virtual
// display, through the low-level hook, the semaphore and the reader, to a probe window.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "device/DriverPort_win32.h"
#include "device/USBDriver_win32.h"
#include "device/UserModeFilter_win32.h"
#include "model/ButtonSlot.h"
#include "tests/support/LineRecorder.h"
#include "tests/support/MessageLog_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr DWORD kTimeoutMs = 5000;
constexpr RECT kProbeRect{200, 200, 500, 500};
constexpr WPARAM kBackButton = XBUTTON1;     // X button 8
constexpr WPARAM kForwardButton = XBUTTON2;  // X button 9
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
  return testkit::PumpUntil(
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
    ASSERT_TRUE(testkit::PumpUntil([&] { return log_.Count(WM_MOUSEMOVE) > 0; }, kTimeoutMs));
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
      const std::vector<WPARAM> ups = XButtons(WM_XBUTTONUP);
      return std::count(ups.begin(), ups.end(), kBackButton);
    };
    auto before = backReleases();
    ASSERT_TRUE(Xdotool(L"click 8"));
    ASSERT_TRUE(testkit::PumpUntil([&] { return backReleases() > before; }, kTimeoutMs));
  }
  bool WaitForEvents(size_t count) {
    return testkit::PumpUntil([&] { return log_.Count(UM_DEVICE_EVENT) >= count; }, kTimeoutMs);
  }
  // XBUTTON1 or XBUTTON2 of each press or release, in order.
  std::vector<WPARAM> XButtons(UINT message) const {
    std::vector<WPARAM> buttons = log_.WParams(message);
    for (WPARAM& b : buttons) b = GET_XBUTTON_WPARAM(b);
    return buttons;
  }
  std::vector<WPARAM> Events() const { return log_.WParams(UM_DEVICE_EVENT); }

  testkit::MessageLog log_{
      {UM_DEVICE_EVENT, WM_XBUTTONDOWN, WM_XBUTTONUP, WM_MOUSEWHEEL, WM_MOUSEHWHEEL, WM_MOUSEMOVE}};
  testkit::ProbeWindow probe_{&kProbeRect};
  testkit::LineRecorder trace_;
  testkit::LineRecorder debug_;
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
  EXPECT_THAT(Events(), ElementsAre(0x10u, 0u));
  EXPECT_THAT(XButtons(WM_XBUTTONDOWN), ElementsAre(kBackButton));
  EXPECT_EQ(filter_.Dropped(), 0u);
}

TEST_F(UserModeFilterTest, ClearBitLetsXButton9Pass) {
  ASSERT_EQ(usb_.SetMouseFilter(SlotFilterBit(SlotMiddle)), 1);
  ASSERT_TRUE(Xdotool(L"click 9"));
  Settle();
  EXPECT_THAT(XButtons(WM_XBUTTONDOWN), ElementsAre(kForwardButton, kBackButton));
  EXPECT_THAT(XButtons(WM_XBUTTONUP), ElementsAre(kForwardButton, kBackButton));
  EXPECT_THAT(Events(), IsEmpty());
}

TEST_F(UserModeFilterTest, InjectedXButton2Passes) {
  ASSERT_EQ(usb_.SetMouseFilter(kForwardBit), 1);
  InjectXButton2();
  ASSERT_TRUE(testkit::PumpUntil([&] { return log_.Count(WM_XBUTTONUP) > 0; }, kTimeoutMs));
  Settle();
  EXPECT_THAT(XButtons(WM_XBUTTONDOWN), ElementsAre(kForwardButton, kBackButton));
  EXPECT_THAT(Events(), IsEmpty());
}

TEST_F(UserModeFilterTest, WheelAndTiltGiveOneEventEach) {
  ASSERT_EQ(usb_.SetMouseFilter(SlotFilterBit(SlotWheelUp) | SlotFilterBit(SlotWheelDown) |
                                SlotFilterBit(SlotTiltLeft) | SlotFilterBit(SlotTiltRight)),
            1);
  ASSERT_TRUE(Xdotool(L"click 4 click 5 click 7 click 6"));
  ASSERT_TRUE(WaitForEvents(4));
  Settle();
  EXPECT_THAT(Events(),
              ElementsAre(kEventWheelUp, kEventWheelDown, kEventTiltRight, kEventTiltLeft));
  EXPECT_EQ(log_.Count(WM_MOUSEWHEEL) + log_.Count(WM_MOUSEHWHEEL), 0u);
}

// The hook's procedure body driven from a thread of its own, as the hook thread drives it,
// straight into the link: no X input, so bursts far faster than a mouse can make them.
class UserModeDeliveryTest : public ::testing::Test {
 protected:
  static constexpr int kEvents = 8000;  // press and release of forward, alternately
  static constexpr int kBurst = 500;

  void SetUp() override {
    ASSERT_EQ(usb_.StartReader(probe_->get()), 1);
    ASSERT_EQ(usb_.Open(), 1);
    ASSERT_EQ(usb_.SetMouseFilter(kForwardBit), 1);
  }
  void TearDown() override {
    usb_.Close();
    usb_.StopReader();
  }

  static void Push(UserModeFilter& filter, int from, int to) {
    MSLLHOOKSTRUCT info{};
    info.mouseData = MAKELONG(0, XBUTTON2);
    for (int i = from; i < to; ++i) filter.OnMouse(i % 2 ? WM_XBUTTONUP : WM_XBUTTONDOWN, info);
  }
  static DWORD WINAPI PushInBursts(void* self) {
    auto& filter = static_cast<UserModeDeliveryTest*>(self)->filter_;
    for (int from = 0; from < kEvents; from += kBurst) {
      Push(filter, from, from + kBurst);
      ::Sleep(1);  // lets the main thread in between bursts, or not: order must hold either way
    }
    return 0;
  }

  testkit::MessageLog log_{{UM_DEVICE_EVENT}};
  std::unique_ptr<testkit::ProbeWindow> probe_ = std::make_unique<testkit::ProbeWindow>();
  testkit::LineRecorder trace_;
  DeviceControlPort device_;  // absent under Wine
  UserModeFilter filter_;
  CUSBDriver usb_{trace_, trace_, device_, &filter_};
};

TEST_F(UserModeDeliveryTest, BurstsArriveInOrderAndEveryLossIsCounted) {
  UniqueHandle producer(::CreateThread(nullptr, 0, PushInBursts, this, 0, nullptr));
  ASSERT_TRUE(producer);
  ASSERT_TRUE(testkit::PumpUntil(
      [&] {
        return log_.Count(UM_DEVICE_EVENT) + filter_.Dropped() == static_cast<size_t>(kEvents);
      },
      4 * kTimeoutMs));
  const std::vector<WPARAM> events = log_.WParams(UM_DEVICE_EVENT);
  ASSERT_EQ(::WaitForSingleObject(producer.get(), kTimeoutMs), WAIT_OBJECT_0);
  // A release never comes before its press, even where something was lost.
  for (size_t i = 1; i < events.size(); ++i) {
    ASSERT_FALSE(events[i] == 0 && events[i - 1] == 0) << "two releases in a row at " << i;
  }
  if (filter_.Dropped() == 0) {
    for (size_t i = 0; i < events.size(); ++i) ASSERT_EQ(events[i], i % 2 ? 0u : 0x10u) << i;
  }
  for (const testkit::Message& m : log_.Messages()) EXPECT_EQ(m.lParam, 0);
  // Each event is traced as the reader traces it.
  auto lines = trace_.Lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"USBDriver:IOCTL_WT_READ 16\r\n"),
            static_cast<long>((events.size() + 1) / 2));
}

// Events that cannot be posted (the window is gone) are lost and counted, not reported as
// delivered; the hook still swallows the input.
TEST_F(UserModeDeliveryTest, EventsForAVanishedWindowAreCountedAsLost) {
  probe_.reset();
  Push(filter_, 0, 4);
  EXPECT_EQ(filter_.Dropped(), 4u);
}

// Without a target the events are consumed and dropped, as the reader drops them: no loss.
TEST_F(UserModeDeliveryTest, StoppedReaderPostsNothingAndLosesNothing) {
  usb_.StopReader();
  Push(filter_, 0, 4);
  testkit::PumpFor(50);  // nothing may arrive
  EXPECT_EQ(log_.Count(UM_DEVICE_EVENT), 0u);
  EXPECT_EQ(filter_.Dropped(), 0u);
}

// The program's own composition: without the driver it opens the built-in filter.
TEST(UserModeFilterProductionTest, ProductionLinkOpensWithoutTheDriver) {
  testkit::LineRecorder trace;
  CUSBDriver usb{trace};
  ASSERT_EQ(usb.StartReader(nullptr), 1);
  EXPECT_EQ(usb.Open(), 1);
  EXPECT_EQ(usb.SetMouseFilter(kForwardBit), 1);
  EXPECT_EQ(usb.Close(), 1);
  EXPECT_EQ(usb.SetMouseFilter(kForwardBit), 0);
  EXPECT_EQ(usb.StopReader(), 1);
}

// The hook thread performs what it can itself; the notes of what it performed wait until the
// input is done, but never behind an event left to the main thread: the main thread hears
// presses and releases in the order they came. The procedure body is driven straight, as the
// hook thread drives it, so that the notes are certainly still waiting when the middle button
// comes.
class PerformingDeliveryTest : public ::testing::Test {
 protected:
  // Performs everything but the middle button's press on receipt.
  class SplitPerformer : public IReceiptPerformer {
   public:
    uint32_t Perform(DeviceEvent event, uint32_t) override {
      return (event & (1u << kButtonBitMiddle)) ? 1u << SlotMiddle : 0u;
    }
    uint32_t Continue(uint32_t) override { return kNothingDue; }
  };
  void SetUp() override {
    usb_.PerformOnReceipt(&performer_);  // before the hook thread starts
    ASSERT_EQ(usb_.StartReader(probe_.get()), 1);
    ASSERT_EQ(usb_.Open(), 1);
    ASSERT_EQ(usb_.SetMouseFilter(kForwardBit | SlotFilterBit(SlotMiddle)), 1);
  }
  void TearDown() override {
    usb_.Close();
    usb_.StopReader();
  }

  SplitPerformer performer_;
  testkit::MessageLog log_{{UM_DEVICE_EVENT}};
  testkit::ProbeWindow probe_;
  testkit::LineRecorder trace_;
  DeviceControlPort device_;  // absent under Wine
  UserModeFilter filter_;
  CUSBDriver usb_{trace_, trace_, device_, &filter_};
};

TEST_F(PerformingDeliveryTest, NotesOfPerformedEventsGoBeforeTheEventLeftToTheMainThread) {
  MSLLHOOKSTRUCT forward{};
  forward.mouseData = MAKELONG(0, XBUTTON2);
  const MSLLHOOKSTRUCT middle{};
  EXPECT_TRUE(filter_.OnMouse(WM_XBUTTONDOWN, forward));
  EXPECT_TRUE(filter_.OnMouse(WM_XBUTTONUP, forward));
  EXPECT_TRUE(filter_.OnMouse(WM_MBUTTONDOWN, middle));
  ASSERT_TRUE(testkit::PumpUntil([&] { return log_.Count(UM_DEVICE_EVENT) >= 3; }, kTimeoutMs));
  const auto performed = static_cast<LPARAM>(kPerformedOnReceipt);
  std::vector<std::pair<WPARAM, LPARAM>> seen;
  for (const testkit::Message& m : log_.Messages()) seen.emplace_back(m.wParam, m.lParam);
  EXPECT_THAT(seen, ElementsAre(std::pair<WPARAM, LPARAM>{0x10, performed},
                                std::pair<WPARAM, LPARAM>{0, performed},
                                std::pair<WPARAM, LPARAM>{0x04, performed | (1 << SlotMiddle)}));
}

}  // namespace
}  // namespace norvi
