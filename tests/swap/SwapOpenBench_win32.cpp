// Benchmark program, not a test: how long ShowSwapWindow takes with 3, 13 and 23 listed
// windows, for the first opening of a freshly loaded library and for the openings after it,
// until it returns and until the switcher and its rows are painted. Uses the Swap.dll beside
// the program, so a copy beside an older library measures that one.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "SwapSupport_win32.h"

namespace norvi::testkit {
namespace {

constexpr int kLaterOpenings = 25;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

struct Opening {
  double shown = 0;    // ShowSwapWindow returned
  double painted = 0;  // every row painted
};

Opening OpenOnce(const SwapLibrary& swap) {
  LARGE_INTEGER start, shown, painted;
  ::QueryPerformanceCounter(&start);
  swap.Show(2);
  ::QueryPerformanceCounter(&shown);
  const HWND switcher = FindSwitcher();
  if (switcher) ::RedrawWindow(switcher, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  ::QueryPerformanceCounter(&painted);
  if (!switcher) std::fprintf(stderr, "the switcher did not open\n");
  ::DestroyWindow(switcher);
  PumpFor(20);
  return {Milliseconds(start, shown), Milliseconds(start, painted)};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Measure(int listed, bool report = true) {
  SwapLibrary swap;
  if (!swap.loaded()) {
    std::fprintf(stderr, "Swap.dll not found beside the program\n");
    return;
  }
  // The host is listed too.
  const UniqueWindow host = MakeWindow(L"Bench host");
  std::vector<UniqueWindow> windows;
  for (int i = 1; i < listed; ++i) windows.push_back(MakeWindow(L"Bench " + std::to_wstring(i)));
  PumpFor(100);
  swap.Init(host.get());
  const Opening first = OpenOnce(swap);
  std::vector<double> shown, painted;
  for (int i = 0; i < kLaterOpenings; ++i) {
    const Opening later = OpenOnce(swap);
    shown.push_back(later.shown);
    painted.push_back(later.painted);
  }
  if (!report) return;
  std::printf(
      "%2d windows: first %6.2f ms (painted %6.2f), later median %6.2f ms (painted %6.2f)\n",
      listed, first.shown, first.painted, Median(shown), Median(painted));
}

}  // namespace
}  // namespace norvi::testkit

int main() {
  ::DeleteFileW(L"C:\\swapwnd.txt");  // no trace output while measuring
  // A round not reported: Wine is still starting its own processes when the program starts,
  // and they would weigh on whichever case came first.
  norvi::testkit::Measure(3, false);
  for (int listed : {3, 13, 23}) norvi::testkit::Measure(listed);
  return 0;
}
