// Measures how long the executor takes from a slot's event to the end of its injected key
// sequence with the production seams (Ctrl + C into whatever has the focus). Prints p50 and
// p99; run by hand under Wine on a virtual display.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "actions/Function.h"
#include "actions/Production_win32.h"

int main() {
  using namespace norvi;
  Win32InputInjector input;
  Win32WindowSystem windows;
  Win32SystemCalls system;
  Win32WindowTimer timer(nullptr);
  DebuggerOutput debug;
  SlotTable slots = FactorySlots();
  slots[SlotForward].FunID = 2;
  CFunction actions(slots, {input, windows, system, timer, debug});

  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  std::vector<double> micros;
  for (int i = 0; i < 2000; ++i) {
    ::QueryPerformanceCounter(&start);
    actions.PerformSlot(SlotForward);
    ::QueryPerformanceCounter(&end);
    micros.push_back(1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                     static_cast<double>(frequency.QuadPart));
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  std::sort(micros.begin(), micros.end());
  std::printf("PerformSlot(copy) with SendInput: p50 %.1f us, p99 %.1f us, max %.1f us\n",
              micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back());
  return 0;
}
