#pragma once
// What one device event from the reader thread performs: which slots, in which order, with
// which trace line. No allocation per event: the plan is fixed-size, the traces constants.

#include <array>
#include <cstdint>
#include <string_view>

#include "device/DriverProtocol.h"
#include "model/ButtonSlot.h"
#include "model/TraceSink.h"

namespace norvi {

// Events from here on are wheel steps and tilts, not button bytes.
constexpr DeviceEvent kFirstNonButtonEvent = 256;

struct DispatchStep {
  int slot;
  std::u16string_view trace;
};

// At most four steps: the four button bits that map to slots.
struct DispatchPlan {
  std::array<DispatchStep, 4> steps{};
  int count = 0;
};

// Performs the function of one slot (the action executor).
class ISlotPerformer {
 public:
  virtual ~ISlotPerformer() = default;
  virtual void PerformSlot(int slot) = 0;
  // The slot's button is up: what its press holds down (a key combination) goes up.
  virtual void ReleaseSlot(int) {}
};

// One bit per slot whose applied code differs from its native one.
uint32_t RemappedSlots(const SlotTable& slots);

DispatchPlan PlanDeviceEvent(DeviceEvent event, uint32_t remappedSlots);
inline DispatchPlan PlanDeviceEvent(DeviceEvent event, const SlotTable& slots) {
  return PlanDeviceEvent(event, RemappedSlots(slots));
}

// A button byte is the state of the buttons: every button whose bit is clear is up, and the
// performer hears that first (nothing is traced); then each step of the plan is traced and
// performed in order, except those whose slot bit is in `performedSlots` (performed already,
// on the thread that received the event). Wheel steps and tilts release nothing.
void DispatchDeviceEvent(DeviceEvent event, const SlotTable& slots, ITraceSink& trace,
                         ISlotPerformer& performer, uint32_t performedSlots = 0);

}  // namespace norvi
