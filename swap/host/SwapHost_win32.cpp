// A small host of Swap.dll for tests and manual use. It loads the library by full path, calls
// InitEnumWindow with its own window, and calls ShowSwapWindow when its button is clicked,
// on Ctrl+Alt+S, and once at start with --show.
//
//   SwapHost.exe [--show] [--mode N] [--library FULL_PATH]
//
// Exit codes: 0 after the window is closed, 2 when the library does not load, 3 when an export
// is missing. The message loop neither pre-translates nor runs the dialog manager, as in a
// host that knows nothing of the switcher.

#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

#include "base/Handles_win32.h"
#include "framework/Window_win32.h"
#include "res/ResourceIds.h"
#include "swap/SwapExports_win32.h"

namespace {

constexpr UINT_PTR kShowButton = 1;
constexpr int kShowHotKey = 1;
constexpr int kExitNoLibrary = 2;
constexpr int kExitNoExport = 3;

struct Options {
  bool showAtStart = false;
  int32_t mode = 0;
  std::wstring library;
};

std::wstring BesideThisProgram(const wchar_t* file) {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + file;
}

Options ParseOptions() {
  Options options;
  options.library = BesideThisProgram(L"Swap.dll");
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 1; args && i < count; ++i) {
    const std::wstring arg = args[i];
    if (arg == L"--show")
      options.showAtStart = true;
    else if (arg == L"--mode" && i + 1 < count)
      options.mode = static_cast<int32_t>(std::wcstol(args[++i], nullptr, 10));
    else if (arg == L"--library" && i + 1 < count)
      options.library = args[++i];
  }
  ::LocalFree(args);
  return options;
}

class HostWindow : public norvi::Window {
 public:
  HostWindow(ShowSwapWindowFn show, int32_t mode) : show_(show), mode_(mode) {}
  ~HostWindow() override { Destroy(); }

  bool Open(HINSTANCE instance) {
    if (!Create(nullptr, {100, 100, 420, 260}, WS_OVERLAPPEDWINDOW, 0, L"Swap host")) return false;
    const HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_PROGRAM));
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    button_.reset(::CreateWindowExW(0, L"BUTTON", L"Show switcher",
                                    WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 160, 32, hwnd(),
                                    reinterpret_cast<HMENU>(kShowButton), instance, nullptr));
    ::RegisterHotKey(hwnd(), kShowHotKey, MOD_CONTROL | MOD_ALT, 'S');
    ::ShowWindow(hwnd(), SW_SHOW);
    return true;
  }
  void ShowSwitcher() const { show_(nullptr, nullptr, nullptr, nullptr, mode_); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
        if (LOWORD(wp) == kShowButton) ShowSwitcher();
        return 0;
      case WM_HOTKEY: ShowSwitcher(); return 0;
      case WM_ERASEBKGND: {
        RECT r = ClientRect();
        ::FillRect(reinterpret_cast<HDC>(wp), &r, ::GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
      }
      case WM_DESTROY:
        ::UnregisterHotKey(hwnd(), kShowHotKey);
        ::PostQuitMessage(0);
        return 0;
      default: return Window::HandleMessage(msg, wp, lp);
    }
  }

 private:
  ShowSwapWindowFn show_;
  int32_t mode_;
  norvi::UniqueWindow button_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const Options options = ParseOptions();
  norvi::UniqueModule library(::LoadLibraryW(options.library.c_str()));
  if (!library) return kExitNoLibrary;
  const auto init = BindExport<InitEnumWindowFn>(library.get(), "InitEnumWindow");
  const auto show = BindExport<ShowSwapWindowFn>(library.get(), "ShowSwapWindow");
  if (!init || !show) return kExitNoExport;

  int exitCode = 0;
  {
    HostWindow window(show, options.mode);
    if (!window.Open(instance)) return 1;
    init(window.hwnd());
    if (options.showAtStart) window.ShowSwitcher();
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    exitCode = static_cast<int>(msg.wParam);
  }
  return exitCode;
}
