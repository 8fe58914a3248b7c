#pragma once
// The driver's side of the control protocol, shared by the built-in user-mode filter and the
// simulated driver of the tests: checks each call's buffers, keeps the mouse filter mask, the
// keyboard filter value, the debug level and the 40-entry combination table, and leaves
// hooking and the event queue to the concrete filter.

#include <atomic>
#include <cstdint>

#include "device/DriverIo.h"
#include "device/DriverProtocol.h"

namespace norvi {

class DriverEndpoint : public IDriverIo {
 public:
  ControlResult Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                        uint32_t outSize) override;

  uint32_t Mask() const { return mask_.load(std::memory_order_relaxed); }
  uint32_t KeyboardFilter() const { return keyboard_; }
  uint32_t DebugLevel() const { return debug_; }
  const ComboTable& Combo() const { return combo_; }

 protected:
  // IOCTL_WT_HOOK with the semaphore's handle value; false fails the call.
  virtual bool Hook(uint32_t semaphoreValue) = 0;
  virtual void Unhook() = 0;
  // IOCTL_WT_READ: the oldest queued event, false when there is none.
  virtual bool Pop(DeviceEvent& event) = 0;

 private:
  ControlResult SetCombo(const void* in, uint32_t inSize);

  // The hook reads the mask on its own thread.
  std::atomic<uint32_t> mask_{0};
  uint32_t keyboard_ = 0;
  uint32_t debug_ = 0;
  ComboTable combo_{};
};

}  // namespace norvi
