#pragma once
// A window that records the device events and mouse messages it receives, and a message
// pump with a time-out, for the device link tests and the benchmark.

#include <windows.h>

#include <functional>
#include <vector>

#include "device/DriverProtocol.h"
#include "framework/Handles_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi::test {

class ProbeWindow {
 public:
  // Message-only unless a screen rectangle is given; a visible probe stays on top.
  explicit ProbeWindow(const RECT* onScreen = nullptr);
  HWND get() const { return window_.get(); }

  std::vector<DeviceEvent> events;
  std::vector<LPARAM> eventLParams;
  std::vector<int> xDowns;  // XBUTTON1 or XBUTTON2, in order
  std::vector<int> xUps;
  int wheels = 0;
  int moves = 0;
  // Called for each device event as it arrives (the benchmark's clock).
  std::function<void()> onEvent;
  // Called for each Ctrl key-down the window receives (the side-by-side benchmark's clock).
  std::function<void()> onControlDown;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Record(UINT message, WPARAM wParam, LPARAM lParam);

  UniqueWindow window_;
};

}  // namespace norvi::test
