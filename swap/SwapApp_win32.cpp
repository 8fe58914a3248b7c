#include "swap/SwapApp_win32.h"

#include <shlwapi.h>

#include <new>

#include "swap/SwapExports_win32.h"

namespace norvi::swap {
namespace {

// Its existence switches the trace output on; the content is not read.
constexpr wchar_t kTraceMarker[] = L"C:\\swapwnd.txt";

}  // namespace

void CSwapWindowApp::InitEnumWindow(HWND) {
  if (!wmi_.Open(trace_)) {
    trace_.Always(u"Initialize WMI failed");
    return;
  }
  bInit_ = true;
  trace_.Always(u"bInit is true");
  if (::PathFileExistsW(kTraceMarker)) trace_.SetEnabled(true);
}

void CSwapWindowApp::ShowSwapWindow(const COLORREF* windowBackground,
                                    const COLORREF* buttonBackground, const COLORREF* buttonHover,
                                    const COLORREF* buttonText, int32_t mode) {
  if (!bInit_) return;
  if (current_ && ::IsWindow(current_->hwnd())) {
    MoveOpenSwitcherToCursor();
    return;
  }
  current_.reset();
  current_ = std::make_unique<CSwapWnd>(SwitcherServices{module_, wmi_, trace_, cache_, paintKit_});
  current_->SetPositionMode(mode);
  SwitcherColours& colours = current_->colours();
  if (windowBackground) colours.window = *windowBackground;
  if (buttonBackground) colours.button = *buttonBackground;
  if (buttonHover) colours.hover = *buttonHover;
  if (buttonText) colours.text = *buttonText;
  if (current_->CreateModeless(nullptr)) ::ShowWindow(current_->hwnd(), SW_SHOW);
}

void CSwapWindowApp::MoveOpenSwitcherToCursor() const {
  RECT r{};
  ::GetWindowRect(current_->hwnd(), &r);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  const Size size{r.right - r.left, r.bottom - r.top};
  const Point at =
      ClampInto(AtCursor(size, {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)},
                         {cursor.x, cursor.y}),
                size, WorkArea(true, {cursor.x, cursor.y}));
  ::SetWindowPos(current_->hwnd(), HWND_TOPMOST, at.x, at.y, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE);
}

void CSwapWindowApp::ExitInstance() {
  wmi_.Close();
  current_.reset();
  // The switcher borrowed its icons, font and surface, so they go after it.
  cache_.Clear();
  paintKit_.Release();
  trace_.Line(u"Swap::ExitInstance");
}

}  // namespace norvi::swap

namespace {

// Created when the library is loaded; deleted when it is unloaded with FreeLibrary. At
// process exit it is left alone: COM and other libraries may be gone by then.
norvi::swap::CSwapWindowApp* g_app = nullptr;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    ::DisableThreadLibraryCalls(module);
    g_app = new (std::nothrow) norvi::swap::CSwapWindowApp(module);
    return g_app != nullptr;
  } else if (reason == DLL_PROCESS_DETACH && !reserved && g_app) {
    g_app->ExitInstance();
    delete g_app;
    g_app = nullptr;
  }
  return TRUE;
}

extern "C" void __cdecl InitEnumWindow(HWND host) {
  try {
    g_app->InitEnumWindow(host);
  } catch (...) {
    norvi::DebuggerOutput().Write(u"ERROR: InitEnumWindow failed");
  }
}

extern "C" void __cdecl ShowSwapWindow(const COLORREF* windowBackground,
                                       const COLORREF* buttonBackground,
                                       const COLORREF* buttonHover, const COLORREF* buttonText,
                                       int32_t mode) {
  try {
    g_app->ShowSwapWindow(windowBackground, buttonBackground, buttonHover, buttonText, mode);
  } catch (...) {
    norvi::DebuggerOutput().Write(u"ERROR: ShowSwapWindow failed");
  }
}
