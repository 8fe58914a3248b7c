#pragma once
// The program's side of the filter-driver link: opens the control device (or the built-in
// filter when the driver is absent), sets the filters, reads events and closes again.
// Every operation returns 1 for success and 0 for failure; a closed link sends nothing.

#include <atomic>
#include <cstdint>

#include "device/DriverIo.h"
#include "device/DriverProtocol.h"
#include "model/DebugOutput.h"
#include "model/TraceSink.h"

namespace norvi {

class DriverLink {
 public:
  // fallback, when given, is opened instead of device when device cannot be opened.
  DriverLink(ITraceSink& trace, IDebugOutput& debug, IDriverIo& device, IDriverIo* fallback);
  DriverLink(const DriverLink&) = delete;
  DriverLink& operator=(const DriverLink&) = delete;

  // Opens the link and hands the driver the semaphore (its 4-byte handle value).
  int Open(uint32_t semaphoreValue);
  int SetMouseFilter(uint32_t mask);
  int SetKeyboardFilter(uint32_t value);
  int SetComboFilter(uint32_t bits);
  int SetDebug(uint32_t level);
  // Filters off, unhook, debug level 0, then the link is closed. Always 1.
  int Close();

  bool IsOpen() const { return active_.load() != nullptr; }
  // Asks the open endpoint to hand events to sink itself; false when it cannot (or the link
  // is closed) and events must be read.
  bool DeliverTo(IEventSink& sink);

  // Reader thread: one IOCTL_WT_READ into cell, which holds the previous event. False when
  // the link is closed (nothing sent) or the read failed (traced).
  bool ReadEvent(DeviceEvent& cell);
  void TraceEvent(DeviceEvent event);

 private:
  int AddComboEntry(IDriverIo& io, uint32_t entry);
  void DebugError(std::u16string_view codeName, uint32_t error);
  bool SendReported(IDriverIo& io, uint32_t code, std::u16string_view codeName, uint32_t value);

  ITraceSink& trace_;
  IDebugOutput& debug_;
  IDriverIo& device_;
  IDriverIo* fallback_;
  // The open link, or none. Read by the reader thread; the shutdown order (Close before
  // StopReader) keeps the two threads apart, as the driver handle did.
  std::atomic<IDriverIo*> active_{nullptr};
};

}  // namespace norvi
