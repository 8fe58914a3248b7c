// Benchmark (not a test): the built-in filter's hook callback when it performs a press itself,
// with an input seam that takes as long as a slow SendInput. The callback's budget is its own
// constant work plus at most one injection; a press that waits behind a click's pause injects
// nothing. Run under Wine: press_callback_bench.exe [presses]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "actions/Production_win32.h"
#include "app/PressPerformer.h"
#include "device/DriverPort_win32.h"
#include "device/USBDriver_win32.h"
#include "device/UserModeFilter_win32.h"
#include "model/FunctionCodes.h"
#include "model/ProfileImage.h"
#include "tests/support/LineRecorder.h"
#include "tests/support/MessageLog_win32.h"

namespace norvi {
namespace {

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

// Each injection takes `us` microseconds of this thread, as a SendInput that waits for the
// system would.
class SlowInjector : public IInputInjector {
 public:
  explicit SlowInjector(double us) : us_(us) {}
  void Inject(std::span<const InputEvent>) override {
    ++calls;
    const int64_t start = Now();
    while (Microseconds(Now() - start) < us_) {
    }
  }
  void Pause(uint32_t) override {}
  long calls = 0;

 private:
  double us_;
};

// What the link does with each event the hook swallows, for functions performed whole: the
// performer's part, and the note that waits until the input is done (left out here: the
// bench takes the hook thread's part between inputs itself, so that no other thread calls the
// performer meanwhile).
class PerformingSink : public IEventSink {
 public:
  explicit PerformingSink(PressPerformer& performer) : performer_(performer) {}
  bool Deliver(DeviceEvent event) override {
    leftToMain += performer_.Perform(event, ::GetTickCount()) != 0;
    return true;
  }
  long leftToMain = 0;

 private:
  PressPerformer& performer_;
};

void Print(const char* name, std::vector<int64_t> samples, double seamUs, long injections) {
  std::sort(samples.begin(), samples.end());
  const double perCallback = static_cast<double>(injections) / static_cast<double>(samples.size());
  const double p99 = Microseconds(samples[samples.size() * 99 / 100]);
  std::printf(
      "  %-26s p50 %7.1f  p99 %7.1f  max %7.1f us; %.2f injections a callback,"
      " p99 less their seam time %6.1f us\n",
      name, Microseconds(samples[samples.size() / 2]), p99, Microseconds(samples.back()),
      perCallback, p99 - perCallback * seamUs);
}

// Forward assigned `code` (with `path` for a combination); presses and releases of forward
// through the hook's procedure body, called as the hook thread calls it.
void Run(int presses, double seamUs, int32_t code, const char16_t* path, const char* name) {
  testkit::DiscardedLines trace;
  DeviceControlPort device;  // absent under Wine: the built-in filter answers
  UserModeFilter filter;
  SlowInjector input(seamUs);
  Win32SystemCalls system;
  PressPerformer performer(input, system);
  ProfileImage profile = DefaultProfile();
  profile.Slots[SlotForward].FunID = code;
  SetPath(profile.Slots[SlotForward], path);
  performer.Publish(profile.Slots);
  testkit::ProbeWindow probe;
  CUSBDriver usb{trace, trace, device, &filter};
  usb.StartReader(probe.get());
  usb.Open();
  usb.SetMouseFilter(SlotFilterBit(SlotForward));
  PerformingSink sink(performer);
  filter.DeliverTo(sink);
  MSLLHOOKSTRUCT info{};
  info.mouseData = MAKELONG(0, XBUTTON2);
  std::vector<int64_t> press, release;
  press.reserve(presses);
  release.reserve(presses);
  long pressInjections = 0, releaseInjections = 0;
  MSG msg;
  for (int i = 0; i < presses; ++i) {
    long before = input.calls;
    int64_t start = Now();
    filter.OnMouse(WM_XBUTTONDOWN, info);
    press.push_back(Now() - start);
    pressInjections += input.calls - before;
    before = input.calls;
    start = Now();
    filter.OnMouse(WM_XBUTTONUP, info);
    release.push_back(Now() - start);
    releaseInjections += input.calls - before;
    // What the hook thread does between inputs: what has come due (a click's up).
    performer.Continue(::GetTickCount() + 1000);
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  char label[64];
  std::snprintf(label, sizeof label, "%s, press", name);
  Print(label, press, seamUs, pressInjections);
  std::snprintf(label, sizeof label, "%s, release", name);
  Print(label, release, seamUs, releaseInjections);
  if (sink.leftToMain != 0)
    std::printf("  (%ld events left to the main thread)\n", sink.leftToMain);
  usb.Close();
  usb.StopReader();
}

}  // namespace
}  // namespace norvi

int main(int argc, char** argv) {
  int presses = argc > 1 ? std::atoi(argv[1]) : 5000;
  if (presses <= 0) presses = 5000;
  using namespace norvi;
  Run(200, 0, fn::Copy, u"", "warm-up");
  for (double seamUs : {0.0, 200.0, 1000.0}) {
    std::printf("Input seam taking %.0f us per injection, %d presses\n", seamUs, presses);
    Run(presses, seamUs, fn::Copy, u"", "copy");
    Run(presses, seamUs, fn::MouseLeft, u"", "left click");
    Run(presses, seamUs, fn::Keys, u"keys:1:ctrl+shift+T", "key combination");
  }
  return 0;
}
