// Benchmark (not a test): one side of the side-by-side latency run. Real X presses of the
// forward button (from tools/xclicker) are turned into Ctrl+C, and the probe window stamps
// each Ctrl key-down with QueryPerformanceCounter (under Wine CLOCK_MONOTONIC_RAW, so the
// clicker's stamps compare directly).
//   side_by_side_bench.exe profile
//     writes the program's profile with forward set to copy, and no program's own file
//   side_by_side_bench.exe hook presses
//     the bare hook program (the floor): a WH_MOUSE_LL hook on its main thread that injects
//     the keys inside its callback; ends after that many presses
//   side_by_side_bench.exe probe|program|inprobe presses
//     the probe: for the bare hook program (probe), for NorviDriver.exe itself (program:
//     started beforehand by tools/bench.sh as a user starts it; this side waits for its
//     window and closes it at the end), or with the bare hook on the probe's own thread
//     (inprobe: no second process, a reference below any remapping program)
// Prints "ready" once it listens; the probe then one counter value per key-down, after the
// frequency.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "model/FunctionCodes.h"
#include "model/ProfileImage.h"
#include "tests/support/MessageLog_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi {
namespace {

constexpr RECT kProbeRect{100, 100, 400, 400};
constexpr DWORD kQuietTimeoutMs = 10000;  // no key-down for this long: the clicker is done

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

int g_hookPresses = 0;

LRESULT CALLBACK BareHook(int code, WPARAM message, LPARAM data) {
  const auto& info = *reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
  if (code == HC_ACTION && !(info.flags & LLMHF_INJECTED) &&
      (message == WM_XBUTTONDOWN || message == WM_XBUTTONUP) &&
      HIWORD(info.mouseData) == XBUTTON2) {
    if (message == WM_XBUTTONDOWN) {
      InjectCopy();
      ++g_hookPresses;
    }
    return 1;
  }
  return ::CallNextHookEx(nullptr, code, message, data);
}

// The bare hook program: nothing but the hook and the message loop that serves it.
int RunHook(int presses) {
  HHOOK hook = ::SetWindowsHookExW(WH_MOUSE_LL, BareHook, ::GetModuleHandleW(nullptr), 0);
  if (!hook) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  MSG msg;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kQuietTimeoutMs, nullptr);
  int seen = 0;
  while (g_hookPresses<presses&& ::GetMessageW(&msg, nullptr, 0, 0)> 0) {
    if (msg.message == WM_TIMER && msg.wParam == timer) {
      // Quiet for a whole period: the clicker is done. A long round goes on.
      if (g_hookPresses == seen) break;
      seen = g_hookPresses;
      continue;
    }
    ::DispatchMessageW(&msg);
  }
  ::KillTimer(nullptr, timer);
  ::UnhookWindowsHookEx(hook);
  return 0;
}

int64_t Now() {
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

constexpr wchar_t kMainTitle[] = L"Zarqo Norvi Mouse Driver";
constexpr DWORD kProgramPatienceMs = 60000;

// The program's profile: the defaults with forward set to copy, in the folder the program
// reads it from; a program's own file would change what forward does.
int WriteProfile() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path folder = std::filesystem::path(temp) / L"Zarqo" / L"Norvi";
  std::error_code ec;
  std::filesystem::remove_all(folder / L"Apps", ec);
  std::filesystem::create_directories(folder, ec);
  ProfileImage profile = DefaultProfile();
  profile.Slots[SlotForward].TempID = fn::Copy;
  std::ofstream out(folder / L"Profile.cfg", std::ios::binary);
  out.write(reinterpret_cast<const char*>(&profile), kProfileSize);
  return out ? 0 : 1;
}

int Run(const char* side, int presses) {
  const bool bare = std::strcmp(side, "inprobe") == 0;
  const bool program = std::strcmp(side, "program") == 0;
  if (!bare && !program && std::strcmp(side, "probe") != 0) return 2;
  HWND main = nullptr;
  if (program) {
    const DWORD start = ::GetTickCount();
    while (!(main = ::FindWindowW(nullptr, kMainTitle)) &&
           ::GetTickCount() - start < kProgramPatienceMs)
      ::Sleep(50);
    if (!main) return 1;
  }
  testkit::MessageLog log({WM_KEYDOWN});
  log.Reserve(4 * static_cast<size_t>(presses) + 16);
  testkit::ProbeWindow probe{&kProbeRect};
  std::vector<int64_t> stamps;
  stamps.reserve(presses);
  log.OnMessage([&stamps](const testkit::Message& m) {
    if (m.message == WM_KEYDOWN && m.wParam == VK_CONTROL) stamps.push_back(Now());
  });
  HHOOK hook = nullptr;
  if (bare) {
    hook = ::SetWindowsHookExW(WH_MOUSE_LL, BareHook, ::GetModuleHandleW(nullptr), 0);
    if (!hook) return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  while (static_cast<int>(stamps.size()) < presses) {
    size_t seen = stamps.size();
    if (!testkit::PumpUntil([&] { return stamps.size() > seen; }, kQuietTimeoutMs)) break;
  }
  if (hook) ::UnhookWindowsHookEx(hook);
  if (main) ::PostMessageW(main, WM_CLOSE, 0, 0);
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  std::printf("frequency %lld\n", static_cast<long long>(frequency.QuadPart));
  for (int64_t stamp : stamps) std::printf("%lld\n", static_cast<long long>(stamp));
  return 0;
}

}  // namespace
}  // namespace norvi

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "profile") == 0) return norvi::WriteProfile();
  if (argc < 3) return 2;
  if (std::strcmp(argv[1], "hook") == 0) return norvi::RunHook(std::atoi(argv[2]));
  return norvi::Run(argv[1], std::atoi(argv[2]));
}
