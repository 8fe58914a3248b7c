#include "app/DeviceDispatch.h"

#include <string>

namespace norvi {
namespace {

// "DeviceMessageEvent:" and the slot's word, built once so dispatch never allocates.
const std::array<std::u16string, kSlotCount>& Traces() {
  static const std::array<std::u16string, kSlotCount> traces = [] {
    std::array<std::u16string, kSlotCount> lines;
    for (int i = 0; i < kSlotCount; ++i)
      lines[i] =
          std::u16string(u"DeviceMessageEvent:") + std::u16string(kSlotInfo[i].traceWord) + u"\r\n";
    return lines;
  }();
  return traces;
}

// Button byte bits 1 to 4, in the order they are examined.
constexpr std::array<std::pair<int, int>, 4> kButtonBits{{{kButtonBitRight, SlotRight},
                                                          {kButtonBitMiddle, SlotMiddle},
                                                          {kButtonBitBack, SlotBack},
                                                          {kButtonBitForward, SlotForward}}};

void Add(DispatchPlan& plan, int slot) {
  plan.steps[plan.count++] = {slot, Traces()[slot]};
}

}  // namespace

uint32_t RemappedSlots(const SlotTable& slots) {
  uint32_t remapped = 0;
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (slots[slot].FunID != slots[slot].InitID) remapped |= 1u << slot;
  return remapped;
}

DispatchPlan PlanDeviceEvent(DeviceEvent event, uint32_t remappedSlots) {
  const auto remapped = [remappedSlots](int slot) { return (remappedSlots >> slot) & 1u; };
  DispatchPlan plan;
  switch (event) {
    case kEventWheelUp:
      if (remapped(SlotWheelUp)) Add(plan, SlotWheelUp);
      return plan;
    case kEventWheelDown:
      if (remapped(SlotWheelDown)) Add(plan, SlotWheelDown);
      return plan;
    // Tilts are performed even with their native code: the driver reports them only here.
    case kEventTiltRight: Add(plan, SlotTiltRight); return plan;
    case kEventTiltLeft: Add(plan, SlotTiltLeft); return plan;
    default: break;
  }
  if (event >= kFirstNonButtonEvent) return plan;
  for (const auto& [bit, slot] : kButtonBits)
    if ((event & (1u << bit)) && remapped(slot)) Add(plan, slot);
  return plan;
}

void DispatchDeviceEvent(DeviceEvent event, const SlotTable& slots, ITraceSink& trace,
                         ISlotPerformer& performer, uint32_t performedSlots) {
  if (event < kFirstNonButtonEvent)
    for (const auto& [bit, slot] : kButtonBits)
      if ((event & (1u << bit)) == 0) performer.ReleaseSlot(slot);
  const DispatchPlan plan = PlanDeviceEvent(event, slots);
  for (int i = 0; i < plan.count; ++i) {
    trace.Trace(plan.steps[i].trace);
    if (((performedSlots >> plan.steps[i].slot) & 1u) == 0)
      performer.PerformSlot(plan.steps[i].slot);
  }
}

}  // namespace norvi
