#pragma once
// The program's one link to the filter driver: the control calls of DriverLink, the
// semaphore the driver releases per swallowed input, the reader thread that turns each
// release into a UM_DEVICE_EVENT message for the target window, and the hidden link window.
// The built-in user-mode filter posts UM_DEVICE_EVENT from its hook thread instead; no
// reader thread runs then.
//
// Order of use: StartReader, Open, filter calls ...; at the end Close, then StopReader.

#include <windows.h>

#include <array>
#include <atomic>
#include <memory>

#include "device/DriverIo.h"
#include "device/DriverLink.h"
#include "base/Handles_win32.h"
#include "model/DebugOutput.h"
#include "model/TraceSink.h"

namespace norvi {

class CUSBDriver : private IEventSink {
 public:
  // The kernel driver's control device, else the built-in user-mode filter; diagnostics to
  // the debugger.
  explicit CUSBDriver(ITraceSink& trace);
  // Given ports (tests, benchmarks); fallback may be null.
  CUSBDriver(ITraceSink& trace, IDebugOutput& debug, IDriverIo& device, IDriverIo* fallback);
  CUSBDriver(const CUSBDriver&) = delete;
  CUSBDriver& operator=(const CUSBDriver&) = delete;
  ~CUSBDriver() override;

  // Opens the link and, unless its endpoint delivers events itself, starts the reader; refuses
  // (0, link closed) when the reader cannot run: no semaphore from StartReader, or no thread.
  int Open();
  int SetMouseFilter(uint32_t mask) { return link_.SetMouseFilter(mask); }
  int SetKeyboardFilter(uint32_t value) { return link_.SetKeyboardFilter(value); }
  int SetComboFilter(uint32_t bits) { return link_.SetComboFilter(bits); }
  int SetDebug(uint32_t level) { return link_.SetDebug(level); }
  int Close() { return link_.Close(); }

  // target may be null: events are then read and dropped. 0 when the semaphore cannot be
  // created.
  int StartReader(HWND target);
  int StopReader();

  HWND LinkWindow() const { return linkWindow_.get(); }

  // The built-in filter's input watch (see UserModeFilter::WatchInput); nothing with the
  // kernel driver or given ports.
  void WatchInput(HWND window, UINT message);
  void InputWatched();
  // The built-in filter's look at the front before a press (see UserModeFilter::GateOnFront).
  void GateOnFront(HWND window, UINT message);
  void FrontSettled(HWND front, uint32_t answer);

  // Before Open: the thread that receives each event performs what `performer` can of it
  // before the event is posted; the post's lParam then says what is left to the main thread.
  void PerformOnReceipt(IReceiptPerformer* performer) { performer_ = performer; }

 private:
  struct ProductionPorts;
  CUSBDriver(ITraceSink& trace, std::unique_ptr<ProductionPorts> ports);

  static DWORD WINAPI ReaderThread(void* self);
  void ReadLoop();
  bool StartReaderThread();
  // The endpoint's own thread: what the reader does with an event it has read. An event
  // performed whole waits in notes_ until Flush, so that its post is not part of the press's
  // path.
  bool Deliver(DeviceEvent event) override;
  uint32_t Continue() override;
  void Flush() override;
  bool Post(DeviceEvent event, uint32_t lParam);

  std::unique_ptr<ProductionPorts> ports_;  // before link_, which refers to them
  DriverLink link_;
  UniqueHandle semaphore_;
  UniqueHandle reader_;
  std::atomic<LONG> stop_{0};
  std::atomic<HWND> target_{nullptr};
  UniqueWindow linkWindow_;
  IReceiptPerformer* performer_ = nullptr;
  // Receiving thread only.
  std::array<DeviceEvent, 64> notes_{};
  size_t noteCount_ = 0;
};

}  // namespace norvi
