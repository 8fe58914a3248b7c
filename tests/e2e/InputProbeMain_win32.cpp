// A program of its own that stands in for the user's application, so that its executable
// name picks a file in "Apps": copies of it under other names are other programs. It shows a
// topmost window at the rectangle it is given and appends each input message it receives to
// a log file, one short entry a line ("kd 11", "ku 43", "xd 02", "xu 02", "ld", "lu", ...).
//   probe.exe left top width height log-file
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/InputEntry_win32.h"

namespace {

FILE* g_log = nullptr;

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  // Wheel notches are how the tests make the program look at the front again, wherever the
  // pointer is held: they are not logged.
  const std::string entry = norvi::e2e::InputEntry(msg, wp);
  if (!entry.empty() && msg != WM_MOUSEWHEEL) {
    std::fprintf(g_log, "%s\n", entry.c_str());
    std::fflush(g_log);  // the test reads while the probe runs
  }
  // Answered here, so that an X button is not passed on as a command.
  if (msg == WM_XBUTTONDOWN || msg == WM_XBUTTONUP) return TRUE;
  if (msg == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  const int argc = __argc;
  wchar_t** const argv = __wargv;
  if (argc < 6) return 2;
  g_log = _wfopen(argv[5], L"a");
  if (!g_log) return 3;
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring path(self);
  const std::wstring title = path.substr(path.find_last_of(L'\\') + 1);
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"NorviProbeProgram";
  ::RegisterClassW(&wc);
  ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, title.c_str(), WS_POPUP | WS_VISIBLE,
                    _wtoi(argv[1]), _wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), nullptr,
                    nullptr, wc.hInstance, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  std::fclose(g_log);
  return 0;
}
