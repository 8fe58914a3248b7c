#pragma once
// For the end-to-end tests only: a way to keep the main thread busy on request, so that a test
// can show what still works while it is (remapped input performed by the hook's thread).
// Nothing of it exists unless the program is started with NORVI_TEST_HOLD naming three events
// the test has created: "<name>.held", "<name>.end", "<name>.released". Then a message-only
// window of the main thread, titled kHoldWindowTitle, takes kHoldMessage: it sets "held", keeps
// the main thread until "end" is set or wParam milliseconds have passed, and sets "released".

#include <windows.h>

#include <memory>

#include "base/Handles_win32.h"
#include "framework/Window_win32.h"

namespace norvi {

inline constexpr wchar_t kHoldWindowTitle[] = L"Norvi main-thread hold";
inline constexpr UINT kHoldMessage = WM_APP + 1;

class MainThreadHold : public Window {
 public:
  // Null without the variable or its events.
  static std::unique_ptr<MainThreadHold> FromEnvironment();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  MainThreadHold() = default;
  UniqueHandle held_;
  UniqueHandle end_;
  UniqueHandle released_;
};

}  // namespace norvi
