#pragma once
// The keys that every dialog of the program swallows before the dialog manager sees them:
// Enter, Escape and Space would otherwise press the default button, cancel, or click the
// focused button.

#include <windows.h>

#include <initializer_list>

namespace norvi::testkit {

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
