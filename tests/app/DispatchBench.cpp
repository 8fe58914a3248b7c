// Cost of one device event through dispatch (plan, trace, perform with a null executor).
#include <benchmark/benchmark.h>

#include "app/DeviceDispatch.h"
#include "app/DiscardingTraceSink.h"

namespace norvi {
namespace {

struct NullPerformer : ISlotPerformer {
  void PerformSlot(int slot) override { benchmark::DoNotOptimize(slot); }
};

void Dispatch(benchmark::State& state, DeviceEvent event) {
  SlotTable slots = FactorySlots();
  for (ButtonSlot& slot : slots) slot.FunID = 2;
  DiscardingTraceSink trace;
  NullPerformer performer;
  for (auto _ : state) DispatchDeviceEvent(event, slots, trace, performer);
}

BENCHMARK_CAPTURE(Dispatch, forward_button, DeviceEvent{0x10});
BENCHMARK_CAPTURE(Dispatch, four_buttons, DeviceEvent{0x1E});
BENCHMARK_CAPTURE(Dispatch, wheel_up, kEventWheelUp);
BENCHMARK_CAPTURE(Dispatch, ignored_event, DeviceEvent{300});

}  // namespace
}  // namespace norvi

BENCHMARK_MAIN();
