// Dispatching a device event allocates nothing, traces included: global operator new is
// counted around each event.
#include <gtest/gtest.h>

#include <array>

#include "app/DeviceDispatch.h"
#include "tests/support/CountingNew.h"

namespace norvi {
namespace {

// Keeps the last line in storage of its own, so recording allocates nothing either.
struct LastLineRecorder : ITraceSink {
  std::array<char16_t, 512> units{};
  size_t size = 0;
  void Trace(std::u16string_view line) override { size = line.copy(units.data(), units.size()); }
  std::u16string_view LastLine() const { return {units.data(), size}; }
};

struct CountingPerformer : ISlotPerformer {
  int performed = 0;
  void PerformSlot(int) override { ++performed; }
};

TEST(DispatchAllocation, NoEventKindAllocates) {
  SlotTable slots = FactorySlots();
  for (ButtonSlot& slot : slots) slot.FunID = 2;
  LastLineRecorder trace;
  CountingPerformer performer;
  DispatchDeviceEvent(kEventWheelUp, slots, trace, performer);  // builds the trace texts once
  const long before = testkit::Allocations();
  for (DeviceEvent e : {DeviceEvent{0x1E}, kEventWheelUp, kEventWheelDown, kEventTiltLeft,
                        kEventTiltRight, DeviceEvent{0}, DeviceEvent{300}})
    DispatchDeviceEvent(e, slots, trace, performer);
  EXPECT_EQ(testkit::Allocations() - before, 0);
  EXPECT_EQ(performer.performed, 1 + 4 + 4);
  EXPECT_EQ(trace.LastLine(), u"DeviceMessageEvent:滚轮右滚\r\n");
}

}  // namespace
}  // namespace norvi
