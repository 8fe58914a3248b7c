// Benchmark (not a test): the time from the driver's semaphore release to the message's
// arrival at the target window, and heap allocations per event, for the simulated driver and
// for the built-in user-mode filter. Run under Wine: device_latency_bench.exe [events]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/device/SimulatedDriver.h"
#include "device/USBDriver_win32.h"
#include "device/UserModeFilter_win32.h"
#include "model/ButtonSlot.h"
#include "model/SystemErrors.h"
#include "device/DriverProtocol.h"
#include "tests/support/CountingNew.h"
#include "tests/support/MessageLog_win32.h"
#include "tests/support/LineRecorder.h"

namespace norvi {
namespace {

class AbsentDriver : public IDriverIo {
 public:
  bool Open() override { return false; }
  ControlResult Control(uint32_t, const void*, uint32_t, void*, uint32_t) override {
    return {false, syserr::FileNotFound};
  }
  void Close() override {}
};

int64_t Now() {
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

double Microseconds(int64_t ticks) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return 1e6 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

struct Figures {
  std::vector<int64_t> latency;         // release to arrival
  std::vector<int64_t> callback;        // the hook's work for a swallowed input (user-mode filter)
  std::vector<int64_t> passedCallback;  // the hook's work for an input that passes
  long allocations = 0;
};

void Print(const char* name, std::vector<int64_t> samples) {
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  std::printf("  %-24s p50 %8.1f us   p99 %8.1f us   max %8.1f us\n", name,
              Microseconds(samples[samples.size() / 2]),
              Microseconds(samples[samples.size() * 99 / 100]), Microseconds(samples.back()));
}

void Report(const char* title, const Figures& figures) {
  std::printf("%s (%zu events)\n", title, figures.latency.size());
  Print("release -> message", figures.latency);
  Print("hook callback, swallowed", figures.callback);
  Print("hook callback, passed", figures.passedCallback);
  std::printf("  heap allocations per event: %.3f\n",
              static_cast<double>(figures.allocations) / figures.latency.size());
}

// Feeds count events through deliver() and times each until the probe receives it.
template <typename Deliver>
Figures Measure(int count, Deliver deliver) {
  Figures figures;
  figures.latency.reserve(count);
  figures.callback.reserve(count);
  figures.passedCallback.reserve(count);
  testkit::MessageLog log({UM_DEVICE_EVENT});
  log.Reserve(2 * count + 16);
  int64_t released = 0;
  int64_t arrived = 0;
  log.OnMessage([&](const testkit::Message&) { arrived = Now(); });
  MSG msg;
  long before = testkit::Allocations();
  for (int i = 0; i < count; ++i) {
    const size_t seen = log.Count(UM_DEVICE_EVENT);
    released = Now();
    int64_t callback = deliver(i);
    if (callback >= 0) figures.callback.push_back(callback);
    while (log.Count(UM_DEVICE_EVENT) == seen && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      ::DispatchMessageW(&msg);
    }
    figures.latency.push_back(arrived - released);
  }
  figures.allocations = testkit::Allocations() - before;
  return figures;
}

void ReleaseByValue(uint32_t value) {
  ::ReleaseSemaphore(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)), 1, nullptr);
}

Figures SimulatedDriverRun(int count) {
  testkit::DiscardedLines trace;
  SimulatedDriver driver{ReleaseByValue};
  testkit::ProbeWindow probe;
  CUSBDriver usb{trace, trace, driver, nullptr};
  usb.StartReader(probe.get());
  usb.Open();
  usb.SetMouseFilter(0x1FE);
  Figures figures = Measure(count, [&](int i) {
    driver.Report(SlotFilterBit(SlotForward), i % 2 ? 0 : 0x10);
    return int64_t{-1};
  });
  usb.Close();
  usb.StopReader();
  return figures;
}

Figures UserModeFilterRun(int count) {
  testkit::DiscardedLines trace;
  AbsentDriver absent;
  UserModeFilter filter;
  testkit::ProbeWindow probe;
  CUSBDriver usb{trace, trace, absent, &filter};
  usb.StartReader(probe.get());
  usb.Open();
  usb.SetMouseFilter(0x1FE);
  MSLLHOOKSTRUCT info{};
  info.mouseData = MAKELONG(0, XBUTTON2);
  // The hook's own procedure body, called as the hook thread would call it.
  Figures figures = Measure(count, [&](int i) {
    int64_t start = Now();
    filter.OnMouse(i % 2 ? WM_XBUTTONUP : WM_XBUTTONDOWN, info);
    return Now() - start;
  });
  // The same callback for input that passes: no queue, no semaphore release.
  info.mouseData = MAKELONG(0, XBUTTON1);
  usb.SetMouseFilter(SlotFilterBit(SlotForward));
  for (int i = 0; i < count; ++i) {
    int64_t start = Now();
    filter.OnMouse(i % 2 ? WM_XBUTTONUP : WM_XBUTTONDOWN, info);
    figures.passedCallback.push_back(Now() - start);
  }
  usb.Close();
  usb.StopReader();
  return figures;
}

}  // namespace
}  // namespace norvi

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 20000;
  if (count <= 0) count = 20000;
  norvi::SimulatedDriverRun(100);  // warm-up: first use of the window, thread and queue
  norvi::Report("Simulated driver", norvi::SimulatedDriverRun(count));
  norvi::Report("User-mode filter", norvi::UserModeFilterRun(count));
  return 0;
}
