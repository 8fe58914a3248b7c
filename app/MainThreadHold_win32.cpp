#include "app/MainThreadHold_win32.h"

#include <string>

namespace norvi {

std::unique_ptr<MainThreadHold> MainThreadHold::FromEnvironment() {
  wchar_t name[MAX_PATH];
  const DWORD n = ::GetEnvironmentVariableW(L"NORVI_TEST_HOLD", name, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const auto open = [&](const wchar_t* suffix) {
    return UniqueHandle(::OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE,
                                     (name + std::wstring(suffix)).c_str()));
  };
  std::unique_ptr<MainThreadHold> hold(new MainThreadHold);
  hold->held_ = open(L".held");
  hold->end_ = open(L".end");
  hold->released_ = open(L".released");
  if (!hold->held_ || !hold->end_ || !hold->released_) return nullptr;
  if (!hold->Create(HWND_MESSAGE, RECT{}, 0, 0, kHoldWindowTitle)) return nullptr;
  return hold;
}

LRESULT MainThreadHold::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kHoldMessage) return Window::HandleMessage(msg, wp, lp);
  ::SetEvent(held_.get());
  ::WaitForSingleObject(end_.get(), static_cast<DWORD>(wp));
  ::SetEvent(released_.get());
  return 0;
}

}  // namespace norvi
