// The control calls the device link sends, recorded by the simulated driver.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/DriverLink.h"
#include "tests/device/SimulatedDriver.h"
#include "model/ButtonSlot.h"
#include "tests/support/LineRecorder.h"

namespace norvi {
namespace {

using Call = SimulatedDriver::Call;
using ::testing::ElementsAre;
using Lines = std::vector<std::u16string>;

constexpr uint32_t kSemaphoreValue = 0x1234;

class DriverLinkTest : public ::testing::Test {
 protected:
  std::vector<uint32_t> released_;
  SimulatedDriver driver_{[this](uint32_t value) { released_.push_back(value); }};
  testkit::LineRecorder trace_;
  testkit::LineRecorder debug_;
  DriverLink link_{trace_, debug_, driver_, nullptr};

  void OpenLink() {
    ASSERT_EQ(link_.Open(kSemaphoreValue), 1);
    trace_.Clear();
  }
};

TEST_F(DriverLinkTest, OpenHooksTheSemaphoreValue) {
  EXPECT_EQ(link_.Open(kSemaphoreValue), 1);
  EXPECT_THAT(driver_.Calls(), ElementsAre(Call{IOCTL_WT_HOOK, 4, kSemaphoreValue}));
  EXPECT_THAT(trace_.Lines(), ElementsAre(u"USBDriver:IOCTL_WT_HOOK OK\r\n"));
  EXPECT_TRUE(debug_.Lines().empty());
}

TEST_F(DriverLinkTest, AbsentDriverLeavesEveryCallWithoutIo) {
  driver_.SetPresent(false);
  EXPECT_EQ(link_.Open(kSemaphoreValue), 0);
  EXPECT_EQ(link_.SetMouseFilter(0x10), 0);
  EXPECT_EQ(link_.SetKeyboardFilter(0), 0);
  EXPECT_EQ(link_.SetComboFilter(0), 0);
  EXPECT_EQ(link_.SetComboFilter(1), 0);
  EXPECT_EQ(link_.SetDebug(0), 0);
  EXPECT_EQ(link_.Close(), 1);
  DeviceEvent cell = 0;
  EXPECT_FALSE(link_.ReadEvent(cell));
  EXPECT_EQ(driver_.TotalCalls(), 0u);
  EXPECT_THAT(debug_.Lines(), ElementsAre(u"Qn Wireless Drv: Open driver failed."));
  EXPECT_TRUE(trace_.Lines().empty());
}

TEST_F(DriverLinkTest, AbsentDriverFallsBackToTheBuiltInFilter) {
  SimulatedDriver builtIn{[](uint32_t) {}};
  DriverLink link{trace_, debug_, driver_, &builtIn};
  driver_.SetPresent(false);
  EXPECT_EQ(link.Open(kSemaphoreValue), 1);
  EXPECT_EQ(link.SetMouseFilter(0x10), 1);
  EXPECT_THAT(debug_.Lines(), ElementsAre(u"Qn Wireless Drv: Open driver failed."));
  EXPECT_EQ(builtIn.HookedSemaphore(), kSemaphoreValue);
  EXPECT_EQ(builtIn.Mask(), 0x10u);
  EXPECT_EQ(driver_.TotalCalls(), 0u);
}

TEST_F(DriverLinkTest, FailedHookClosesTheDevice) {
  driver_.FailCode(IOCTL_WT_HOOK, 31);
  EXPECT_EQ(link_.Open(kSemaphoreValue), 0);
  EXPECT_THAT(trace_.Lines(), ElementsAre(u"USBDriver:IOCTL_WT_HOOK FAIL\r\n"));
  EXPECT_FALSE(driver_.IsOpen());
  EXPECT_EQ(link_.SetMouseFilter(4), 0);
  EXPECT_EQ(driver_.TotalCalls(), 1u);
}

TEST_F(DriverLinkTest, CloseTurnsEverythingOffInOrder) {
  OpenLink();
  EXPECT_EQ(link_.Close(), 1);
  EXPECT_THAT(driver_.Calls(),
              ElementsAre(Call{IOCTL_WT_HOOK, 4, kSemaphoreValue}, Call{IOCTL_SET_MSFILTER, 4, 0},
                          Call{IOCTL_SET_KBFILTER, 4, 0}, Call{IOCTL_WT_UNHOOK, 0, 0},
                          Call{IOCTL_SET_DEBUG, 4, 0}));
  EXPECT_THAT(debug_.Lines(), ElementsAre(u"QN: SetDebug, dwDebug=0\n"));
  EXPECT_FALSE(driver_.IsOpen());
  EXPECT_EQ(link_.Close(), 1);
  EXPECT_EQ(driver_.Calls().size(), 5u);
}

TEST_F(DriverLinkTest, FilterCallsTraceAndReportFailures) {
  OpenLink();
  EXPECT_EQ(link_.SetMouseFilter(0x1FE), 1);
  EXPECT_EQ(driver_.Mask(), 0x1FEu);
  driver_.FailCode(IOCTL_SET_MSFILTER, 5);
  EXPECT_EQ(link_.SetMouseFilter(0x10), 0);
  EXPECT_THAT(trace_.Lines(), ElementsAre(u"USBDriver:IOCTL_SET_MSFILTER\uFF1A510 OK\r\n",
                                          u"USBDriver:IOCTL_SET_MSFILTER FAIL\r\n"));
  driver_.FailCode(IOCTL_SET_KBFILTER, 0xABCDEF01);
  EXPECT_EQ(link_.SetKeyboardFilter(0), 0);
  driver_.FailCode(IOCTL_SET_DEBUG, 2);
  EXPECT_EQ(link_.SetDebug(0x2A), 0);
  EXPECT_THAT(debug_.Lines(), ElementsAre(u"ERROR: IOCTL_SET_KBFILTER failed, error=abcdef01\n",
                                          u"QN: SetDebug, dwDebug=2a\n",
                                          u"ERROR: IOCTL_SET_DEBUG failed, error=2\n"));
}

TEST_F(DriverLinkTest, ComboZeroSendsTheFourByteClear) {
  OpenLink();
  driver_.SetCombo(ComboTable{0x3A00});
  EXPECT_EQ(link_.SetComboFilter(0), 1);
  EXPECT_EQ(driver_.Calls().back(), (Call{IOCTL_SET_COMBOFILTER, 4, 0}));
  EXPECT_EQ(driver_.Combo(), ComboTable{});
}

TEST_F(DriverLinkTest, ComboAddsEachMissingEntryInTheFirstFreePlace) {
  OpenLink();
  ComboTable table{};
  table[0] = 0x3B00;
  table[2] = 0x9999;
  driver_.SetCombo(table);
  // Bits 1 (0x3B00, present), 0 (0x3A00) and 13 (0x5608).
  EXPECT_EQ(link_.SetComboFilter(0x2003), 1);
  EXPECT_THAT(
      driver_.Calls(),
      ElementsAre(Call{IOCTL_WT_HOOK, 4, kSemaphoreValue}, Call{IOCTL_GET_COMBOFILTER, 160, 0},
                  Call{IOCTL_SET_COMBOFILTER, 160, 0x3B00}, Call{IOCTL_GET_COMBOFILTER, 160, 0},
                  Call{IOCTL_GET_COMBOFILTER, 160, 0}, Call{IOCTL_SET_COMBOFILTER, 160, 0x3B00}));
  EXPECT_EQ(driver_.Combo()[1], 0x3A00u);
  EXPECT_EQ(driver_.Combo()[3], 0x5608u);
  EXPECT_EQ(driver_.Combo()[2], 0x9999u);
}

TEST_F(DriverLinkTest, ComboOnAFullTableWritesNothing) {
  OpenLink();
  ComboTable full;
  full.fill(0x1111);
  driver_.SetCombo(full);
  EXPECT_EQ(link_.SetComboFilter(1 << 12), 0);
  EXPECT_EQ(driver_.CallCount(IOCTL_SET_COMBOFILTER), 0u);
  EXPECT_EQ(driver_.CallCount(IOCTL_GET_COMBOFILTER), 1u);
  driver_.FailCode(IOCTL_GET_COMBOFILTER, 0x57);
  EXPECT_EQ(link_.SetComboFilter(1), 0);
  EXPECT_THAT(debug_.Lines(), ElementsAre(u"ERROR: IOCTL_GET_COMBOFILTER failed, error=57\n"));
}

TEST_F(DriverLinkTest, ReadPassesTheCellAndTracesFailures) {
  OpenLink();
  link_.SetMouseFilter(SlotFilterBit(SlotForward));
  ASSERT_TRUE(driver_.Report(SlotFilterBit(SlotForward), 0x10));
  EXPECT_FALSE(driver_.Report(SlotFilterBit(SlotBack), 0x08));
  EXPECT_THAT(released_, ElementsAre(kSemaphoreValue));
  DeviceEvent cell = 0;
  EXPECT_TRUE(link_.ReadEvent(cell));
  EXPECT_EQ(cell, 0x10u);
  trace_.Clear();
  EXPECT_FALSE(link_.ReadEvent(cell));
  link_.TraceEvent(kEventWheelDown);
  EXPECT_THAT(trace_.Lines(),
              ElementsAre(u"USBDriver:IOCTL_WT_READ FAIL\r\n", u"USBDriver:IOCTL_WT_READ 511\r\n"));
}

}  // namespace
}  // namespace norvi
