// Dispatching a device event allocates nothing, traces included: global operator new is
// counted around each event.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <new>

#include "app/DeviceDispatch.h"

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace norvi {
namespace {

// Keeps the last line in storage of its own, so recording allocates nothing either.
struct LastLineRecorder : ITraceSink {
  std::array<char16_t, 512> units{};
  size_t size = 0;
  void Trace(std::u16string_view line) override {
    size = line.copy(units.data(), units.size());
  }
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
  const long before = g_allocations;
  for (DeviceEvent e : {DeviceEvent{0x1E}, kEventWheelUp, kEventWheelDown, kEventTiltLeft,
                        kEventTiltRight, DeviceEvent{0}, DeviceEvent{300}})
    DispatchDeviceEvent(e, slots, trace, performer);
  EXPECT_EQ(g_allocations - before, 0);
  EXPECT_EQ(performer.performed, 1 + 4 + 4);
  EXPECT_EQ(trace.LastLine(), u"DeviceMessageEvent:滚轮右滚\r\n");
}

}  // namespace
}  // namespace norvi
