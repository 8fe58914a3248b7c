// The reader thread of the device link with the simulated driver: what reaches the window.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/device/SimulatedDriver.h"
#include "device/USBDriver_win32.h"
#include "model/ButtonSlot.h"
#include "tests/support/LineRecorder.h"
#include "tests/support/MessageLog_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi {
namespace {

using ::testing::Contains;
using ::testing::Not;
using testkit::Expected;

constexpr DWORD kTimeoutMs = 5000;
constexpr uint32_t kAllSlots = 0x1FE;

void ReleaseByValue(uint32_t value) {
  ::ReleaseSemaphore(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)), 1, nullptr);
}

class ReaderTest : public ::testing::Test {
 protected:
  SimulatedDriver driver_{ReleaseByValue};
  testkit::LineRecorder trace_;
  testkit::LineRecorder debug_;
  CUSBDriver usb_{trace_, debug_, driver_, nullptr};
  testkit::MessageLog log_{{UM_DEVICE_EVENT}};
  testkit::ProbeWindow probe_;
};

TEST_F(ReaderTest, EventsReachTheWindowInTheDriversOrder) {
  ASSERT_EQ(usb_.StartReader(probe_.get()), 1);
  ASSERT_EQ(usb_.Open(), 1);
  ASSERT_NE(driver_.HookedSemaphore(), 0u);
  ASSERT_EQ(usb_.SetMouseFilter(kAllSlots), 1);
  const std::vector<std::pair<int, DeviceEvent>> inputs{{SlotForward, 0x10},
                                                        {SlotForward, 0},
                                                        {SlotWheelUp, kEventWheelUp},
                                                        {SlotWheelDown, kEventWheelDown},
                                                        {SlotTiltRight, kEventTiltRight},
                                                        {SlotTiltLeft, kEventTiltLeft},
                                                        {SlotMiddle, 0x04},
                                                        {SlotMiddle, 0}};
  for (const auto& [slot, event] : inputs) ASSERT_TRUE(driver_.Report(SlotFilterBit(slot), event));

  ASSERT_TRUE(
      testkit::PumpUntil([&] { return log_.Count(UM_DEVICE_EVENT) >= inputs.size(); }, kTimeoutMs));
  std::vector<Expected> expected;
  for (const auto& [slot, event] : inputs)
    expected.push_back({UM_DEVICE_EVENT, event, 0, probe_.get(), testkit::kPosted});
  // Posted, never sent: a send would hold the reader until the window's thread answers.
  EXPECT_TRUE(testkit::Matches(log_.Messages(), expected, "eight reports in a row"));
  EXPECT_THAT(trace_.Lines(), Contains(u"USBDriver:IOCTL_WT_READ 767\r\n"));
  EXPECT_EQ(usb_.Close(), 1);
  EXPECT_EQ(usb_.StopReader(), 1);
}

TEST_F(ReaderTest, WithoutATargetReadsAreConsumedAndDropped) {
  ASSERT_EQ(usb_.StartReader(nullptr), 1);
  ASSERT_EQ(usb_.Open(), 1);
  usb_.SetMouseFilter(kAllSlots);
  for (int i = 0; i < 3; ++i) driver_.Report(SlotFilterBit(SlotBack), 0x08);
  EXPECT_TRUE(
      testkit::PumpUntil([&] { return driver_.CallCount(IOCTL_WT_READ) == 3; }, kTimeoutMs));
  EXPECT_EQ(driver_.Pending(), 0u);
  EXPECT_THAT(trace_.Lines(), Not(Contains(u"USBDriver:IOCTL_WT_READ 8\r\n")));
  usb_.Close();
  usb_.StopReader();
}

TEST_F(ReaderTest, StopAfterCloseEndsTheReaderWithoutARead) {
  ASSERT_EQ(usb_.StartReader(probe_.get()), 1);
  ASSERT_EQ(usb_.Open(), 1);
  ASSERT_EQ(usb_.Close(), 1);
  EXPECT_EQ(usb_.StopReader(), 1);
  EXPECT_EQ(driver_.CallCount(IOCTL_WT_READ), 0u);
}

// The reader's last pass is over before StopReader closes its handles: with the link still
// open it wakes, reads (nothing is queued, and the driver is slow to say so) and ends, all
// before StopReader returns.
TEST_F(ReaderTest, StopReaderWaitsForTheReadersLastPass) {
  ASSERT_EQ(usb_.StartReader(probe_.get()), 1);
  ASSERT_EQ(usb_.Open(), 1);
  driver_.SetReadDelay(std::chrono::milliseconds(100));
  EXPECT_EQ(usb_.StopReader(), 1);
  EXPECT_EQ(driver_.CallCount(IOCTL_WT_READ), 1u);
  EXPECT_THAT(trace_.Lines(), Contains(u"USBDriver:IOCTL_WT_READ FAIL\r\n"));
  usb_.Close();
}

TEST_F(ReaderTest, LinkWindowIsHiddenAndLivesWithTheReader) {
  ASSERT_EQ(usb_.StartReader(probe_.get()), 1);
  HWND link = usb_.LinkWindow();
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(::FindWindowW(nullptr, L"Zarqo24gms"), link);
  EXPECT_FALSE(::IsWindowVisible(link));
  EXPECT_EQ(::GetWindowLongW(link, GWL_STYLE) & ~WS_CLIPSIBLINGS, static_cast<LONG>(WS_POPUP));
  EXPECT_EQ(::GetClassLongW(link, GCL_STYLE), 0u);
  RECT rect;
  ::GetWindowRect(link, &rect);
  EXPECT_EQ(rect.left, 1);
  EXPECT_EQ(rect.top, 1);
  EXPECT_EQ(rect.right - rect.left, 1);
  EXPECT_EQ(rect.bottom - rect.top, 1);
  usb_.StopReader();
  EXPECT_FALSE(::IsWindow(link));
}

// Without a reader nobody would perform what the driver swallows: the link stays closed.
TEST_F(ReaderTest, OpenRefusesWithoutARunningReader) {
  EXPECT_EQ(usb_.Open(), 0);
  EXPECT_EQ(usb_.SetMouseFilter(kAllSlots), 0);
  ASSERT_EQ(usb_.StartReader(probe_.get()), 1);
  EXPECT_EQ(usb_.StopReader(), 1);
  EXPECT_EQ(usb_.Open(), 0);
}

}  // namespace
}  // namespace norvi
