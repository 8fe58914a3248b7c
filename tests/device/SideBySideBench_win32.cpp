// Benchmark (not a test): one side of the side-by-side latency run. Real X presses of the
// forward button (from tools/xclicker) are turned into Ctrl+C, and the probe window stamps
// each Ctrl key-down with QueryPerformanceCounter (under Wine CLOCK_MONOTONIC_RAW, so the
// clicker's stamps compare directly).
//   side_by_side_bench.exe bare|reader|program|program-high presses
//     bare:    a WH_MOUSE_LL hook that injects the keys inside its callback (the floor)
//     program: the device link with the built-in filter, dispatch on the main thread
//     reader:  the same through the semaphore and the reader thread, as the driver is read
//     program-high: program in the high priority class (hook and main thread alike)
// Prints "ready" once it listens, then one counter value per key-down, after the frequency.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/DeviceDispatch.h"
#include "device/DriverPort_win32.h"
#include "device/USBDriver_win32.h"
#include "device/UserModeFilter_win32.h"
#include "tests/support/MessageLog_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi {
namespace {

constexpr RECT kProbeRect{100, 100, 400, 400};
constexpr DWORD kQuietTimeoutMs = 10000;  // no key-down for this long: the clicker is done

class NullTrace : public ITraceSink, public IDebugOutput {
 public:
  void Trace(std::u16string_view) override {}
  void Write(std::u16string_view) override {}
};

// The same four keys on both sides, in one SendInput call.
void InjectCopy() {
  INPUT keys[4]{};
  const WORD vks[4] = {VK_CONTROL, 'C', 'C', VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = vks[i];
    keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
  }
  ::SendInput(4, keys, sizeof(INPUT));
}

LRESULT CALLBACK BareHook(int code, WPARAM message, LPARAM data) {
  const auto& info = *reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
  if (code == HC_ACTION && !(info.flags & LLMHF_INJECTED) &&
      (message == WM_XBUTTONDOWN || message == WM_XBUTTONUP) &&
      HIWORD(info.mouseData) == XBUTTON2) {
    if (message == WM_XBUTTONDOWN) InjectCopy();
    return 1;
  }
  return ::CallNextHookEx(nullptr, code, message, data);
}

// The built-in filter seen through the driver's interface only: it cannot deliver events
// itself, so the link reads them with its reader thread.
class ReadThroughFilter : public IDriverIo {
 public:
  explicit ReadThroughFilter(UserModeFilter& filter) : filter_(filter) {}
  bool Open() override { return filter_.Open(); }
  ControlResult Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                        uint32_t outSize) override {
    return filter_.Control(code, in, inSize, out, outSize);
  }
  void Close() override { filter_.Close(); }

 private:
  UserModeFilter& filter_;
};

// Forward is slot "copy": the dispatch's plan for the event, each step performed as copy.
class CopyPerformer : public ISlotPerformer {
 public:
  void PerformSlot(int) override { InjectCopy(); }
};

int64_t Now() {
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

// Dispatches each device event the probe receives and stamps each Ctrl key-down.
class DispatchWindow {
 public:
  DispatchWindow(testkit::MessageLog& log, std::vector<int64_t>& stamps) {
    slots_[SlotForward].FunID = slots_[SlotForward].InitID + 1;  // remapped
    log.OnMessage([this, &stamps](const testkit::Message& m) {
      if (m.message == UM_DEVICE_EVENT)
        DispatchDeviceEvent(static_cast<DeviceEvent>(m.wParam), slots_, trace_, performer_);
      if (m.message == WM_KEYDOWN && m.wParam == VK_CONTROL) stamps.push_back(Now());
    });
  }

 private:
  SlotTable slots_{};
  NullTrace trace_;
  CopyPerformer performer_;
};

int Run(const char* side, int presses) {
  const bool bare = std::strcmp(side, "bare") == 0;
  if (std::strcmp(side, "program-high") == 0) {
    ::SetPriorityClass(::GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  }
  testkit::MessageLog log({UM_DEVICE_EVENT, WM_KEYDOWN});
  log.Reserve(4 * static_cast<size_t>(presses) + 16);
  testkit::ProbeWindow probe{&kProbeRect};
  std::vector<int64_t> stamps;
  stamps.reserve(presses);

  NullTrace trace;
  DeviceControlPort device;
  UserModeFilter filter;
  ReadThroughFilter readThrough{filter};
  const bool reader = std::strcmp(side, "reader") == 0;
  CUSBDriver usb{trace, trace, device, reader ? static_cast<IDriverIo*>(&readThrough) : &filter};
  DispatchWindow dispatch{log, stamps};
  HHOOK hook = nullptr;
  if (bare) {
    hook = ::SetWindowsHookExW(WH_MOUSE_LL, BareHook, ::GetModuleHandleW(nullptr), 0);
    if (!hook) return 1;
  } else {
    if (!usb.StartReader(probe.get()) || !usb.Open()) return 1;
    usb.SetMouseFilter(SlotFilterBit(SlotForward));
  }
  std::printf("ready\n");
  std::fflush(stdout);
  while (static_cast<int>(stamps.size()) < presses) {
    size_t seen = stamps.size();
    if (!testkit::PumpUntil([&] { return stamps.size() > seen; }, kQuietTimeoutMs)) break;
  }
  if (hook) ::UnhookWindowsHookEx(hook);
  usb.Close();
  usb.StopReader();
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  std::printf("frequency %lld\n", static_cast<long long>(frequency.QuadPart));
  for (int64_t stamp : stamps) std::printf("%lld\n", static_cast<long long>(stamp));
  return 0;
}

}  // namespace
}  // namespace norvi

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  return norvi::Run(argv[1], std::atoi(argv[2]));
}
