#pragma once
// The seam between the device link and whatever answers the control codes: the kernel
// driver's control device, the built-in user-mode filter, or a simulated driver in tests.

#include <cstdint>

#include "device/DriverProtocol.h"

namespace norvi {

// No call is due.
constexpr uint32_t kNothingDue = UINT32_MAX;

// Takes events from an endpoint that reports them itself, on the endpoint's own thread.
class IEventSink {
 public:
  virtual ~IEventSink() = default;
  // False when the event could not be handed on; the endpoint counts it as lost.
  virtual bool Deliver(DeviceEvent event) = 0;
  // Called on the same thread when the time it asked for has come (and after any input):
  // the parts that wait. Returns the milliseconds until it wants to be called again, or
  // kNothingDue.
  virtual uint32_t Continue() { return kNothingDue; }
  // Called on the same thread a moment after the input that delivered events is done, when
  // the programs that receive that input have had it: what may wait until then.
  virtual void Flush() {}
};

// Performs on the thread that receives an event what it can of it at once; the rest is the
// main thread's. Both calls run on the receiving thread only.
class IReceiptPerformer {
 public:
  virtual ~IReceiptPerformer() = default;
  // The event's slots left to the main thread, one bit per slot.
  virtual uint32_t Perform(DeviceEvent event, uint32_t nowMs) = 0;
  // Performs what has come due; milliseconds until the next part, or kNothingDue.
  virtual uint32_t Continue(uint32_t nowMs) = 0;
};

// lParam of UM_DEVICE_EVENT when the receiving thread performed the event: this flag and the
// bits of the slots left to the main thread. Without the flag the main thread performs all.
constexpr uint32_t kPerformedOnReceipt = 0x100;

struct ControlResult {
  bool ok = false;
  uint32_t error = 0;  // system error number of a failed call
};

class IDriverIo {
 public:
  virtual ~IDriverIo() = default;
  // Opens the control device; false when it is not there.
  virtual bool Open() = 0;
  // One control call. in and out may be the same buffer; either may be null with size 0.
  // Called from the main thread and, for IOCTL_WT_READ only, from the reader thread.
  virtual ControlResult Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                                uint32_t outSize) = 0;
  virtual void Close() = 0;
  // An in-process endpoint may hand each event to sink as it is swallowed, instead of
  // queueing it for IOCTL_WT_READ and releasing the semaphore: true when it does so from now
  // on (until it is unhooked). A device in another address space cannot.
  virtual bool DeliverTo(IEventSink& /*sink*/) { return false; }
};

}  // namespace norvi
