#pragma once
// Input posted to a window as the system would deliver it: a click on a control, the second
// click of a quick pair, and the keys that every dialog of the program swallows before the
// dialog manager sees them (Enter, Escape and Space would otherwise press the default button,
// cancel, or click the focused button). Posted, so that it is handled in the window's own
// message loop, after what is already queued.

#include <windows.h>

#include <initializer_list>

namespace norvi::testkit {

// A press and a release of the left button at `at` in the window's client area (by default
// near its top-left corner).
inline void PostClick(HWND window, POINT at = {3, 3}) {
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

// The second click of a quick pair, as the system reports it.
inline void PostSecondClick(HWND window) {
  ::PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

// Posts a press and a release of each swallowed key to each target. A dialog that acted on
// any of them would end, or click, before whatever the test posts after them.
inline void PostSwallowedKeys(std::initializer_list<HWND> targets) {
  for (HWND target : targets) {
    for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_SPACE}) {
      ::PostMessageW(target, WM_KEYDOWN, key, 0);
      ::PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000000u));
    }
  }
}

}  // namespace norvi::testkit
