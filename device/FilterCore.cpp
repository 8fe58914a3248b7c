#include "device/FilterCore.h"

#include "model/ButtonSlot.h"
#include "model/PlatformValues.h"

namespace norvi {

namespace {

// The mask bit that names a button of the state byte; 0 for the left button and the unused
// bits, which are never swallowed.
uint32_t ButtonFilterBit(int button) {
  switch (button) {
    case kButtonBitRight: return SlotFilterBit(SlotRight);
    case kButtonBitMiddle: return SlotFilterBit(SlotMiddle);
    case kButtonBitBack: return SlotFilterBit(SlotBack);
    case kButtonBitForward: return SlotFilterBit(SlotForward);
    default: return 0;
  }
}

}  // namespace

FilterVerdict FilterCore::Filter(const MouseInput& input, uint32_t mask) {
  switch (input.action) {
    case MouseAction::ButtonDown: return ButtonDown(input.button, mask);
    case MouseAction::ButtonUp: return ButtonUp(input.button);
    case MouseAction::Wheel: return Wheel(input.delta, mask);
    case MouseAction::Tilt: return Tilt(input.delta, mask);
  }
  return {};
}

// A press is reported with that button's bit alone, so that a button held while another is
// pressed is not performed again.
FilterVerdict FilterCore::ButtonDown(int button, uint32_t mask) {
  uint32_t bit = ButtonFilterBit(button);
  if (bit == 0 || (mask & bit) == 0) return {};
  swallowedButtons_ |= 1u << button;
  return {true, Queue(DeviceEvent{1u} << button)};
}

FilterVerdict FilterCore::ButtonUp(int button) {
  if (button < 0 || button > kButtonBitForward) return {};
  uint32_t held = 1u << button;
  if ((swallowedButtons_ & held) == 0) return {};
  swallowedButtons_ &= ~held;
  return {true, Queue(kEventButtonsReleased)};
}

FilterVerdict FilterCore::Wheel(int32_t delta, uint32_t mask) {
  bool up = delta > 0;
  uint32_t bit = SlotFilterBit(up ? SlotWheelUp : SlotWheelDown);
  if (delta == 0 || (mask & bit) == 0) {
    wheelRemainder_ = 0;
    return {};
  }
  // A turn the other way starts a new notch.
  if ((wheelRemainder_ > 0) != up) wheelRemainder_ = 0;
  wheelRemainder_ += delta;
  FilterVerdict verdict{true, 0};
  int32_t step = up ? kWheelDelta : -kWheelDelta;
  while (up ? wheelRemainder_ >= kWheelDelta : wheelRemainder_ <= -kWheelDelta) {
    verdict.queued += Queue(up ? kEventWheelUp : kEventWheelDown);
    wheelRemainder_ -= step;
  }
  return verdict;
}

FilterVerdict FilterCore::Tilt(int32_t delta, uint32_t mask) {
  if (delta == 0) return {};
  bool right = delta > 0;
  if ((mask & SlotFilterBit(right ? SlotTiltRight : SlotTiltLeft)) == 0) return {};
  return {true, Queue(right ? kEventTiltRight : kEventTiltLeft)};
}

}  // namespace norvi
