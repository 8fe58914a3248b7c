#include "tests/device/ProbeWindow_win32.h"

namespace norvi::test {

namespace {
constexpr wchar_t kProbeClass[] = L"NorviDeviceProbe";
// Conditions that no message announces (counters of another thread) are looked at this often.
}  // namespace

ProbeWindow::ProbeWindow(const RECT* onScreen) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(instance, kProbeClass, &wc)) {
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kProbeClass;
    ::RegisterClassExW(&wc);
  }
  if (onScreen) {
    window_.reset(::CreateWindowExW(WS_EX_TOPMOST, kProbeClass, L"probe", WS_POPUP | WS_VISIBLE,
                                    onScreen->left, onScreen->top, onScreen->right - onScreen->left,
                                    onScreen->bottom - onScreen->top, nullptr, nullptr, instance,
                                    nullptr));
    ::SetForegroundWindow(window_.get());
  } else {
    window_.reset(::CreateWindowExW(0, kProbeClass, L"probe", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    instance, nullptr));
  }
  ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK ProbeWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ProbeWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self) self->Record(message, wParam, lParam);
  if (message == WM_XBUTTONDOWN || message == WM_XBUTTONUP) return TRUE;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void ProbeWindow::Record(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case UM_DEVICE_EVENT:
      events.push_back(static_cast<DeviceEvent>(wParam));
      eventLParams.push_back(lParam);
      if (onEvent) onEvent();
      break;
    case WM_XBUTTONDOWN: xDowns.push_back(GET_XBUTTON_WPARAM(wParam)); break;
    case WM_XBUTTONUP: xUps.push_back(GET_XBUTTON_WPARAM(wParam)); break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: ++wheels; break;
    case WM_MOUSEMOVE: ++moves; break;
    case WM_KEYDOWN:
      if (wParam == VK_CONTROL && onControlDown) onControlDown();
      break;
    default: break;
  }
}

}  // namespace norvi::test
