#pragma once
// The decisions of the built-in user-mode filter, apart from the hook that feeds it: which
// mouse input to swallow under the current mask and which events to queue for it.
// Constant work, no allocation, no lock: it runs inside a low-level mouse hook.

#include <cstdint>

#include "device/EventQueue.h"

namespace norvi {

enum class MouseAction { ButtonDown, ButtonUp, Wheel, Tilt };

struct MouseInput {
  MouseAction action;
  int button = 0;     // bit of the button state byte (buttons only)
  int32_t delta = 0;  // signed wheel delta, 120 per notch (wheel and tilt only)
};

struct FilterVerdict {
  bool swallow = false;
  uint32_t queued = 0;  // events added to the queue; the semaphore is released as often
};

class FilterCore {
 public:
  explicit FilterCore(EventQueue& queue) : queue_(queue) {}

  FilterVerdict Filter(const MouseInput& input, uint32_t mask);

 private:
  FilterVerdict ButtonDown(int button, uint32_t mask);
  FilterVerdict ButtonUp(int button);
  FilterVerdict Wheel(int32_t delta, uint32_t mask);
  FilterVerdict Tilt(int32_t delta, uint32_t mask);
  uint32_t Queue(DeviceEvent event) { return queue_.Push(event) ? 1 : 0; }

  EventQueue& queue_;
  // Buttons whose press was swallowed: their release is swallowed too, whatever the mask
  // says by then, so that the program never sees half a click.
  uint32_t swallowedButtons_ = 0;
  // Part of a notch from high-resolution wheels, in the direction being swallowed.
  int32_t wheelRemainder_ = 0;
};

}  // namespace norvi
