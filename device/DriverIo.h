#pragma once
// The seam between the device link and whatever answers the control codes: the kernel
// driver's control device, the built-in user-mode filter, or a simulated driver in tests.

#include <cstdint>

#include "device/DriverProtocol.h"

namespace norvi {

// Takes events from an endpoint that reports them itself, on the endpoint's own thread.
class IEventSink {
 public:
  virtual ~IEventSink() = default;
  // False when the event could not be handed on; the endpoint counts it as lost.
  virtual bool Deliver(DeviceEvent event) = 0;
};

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
