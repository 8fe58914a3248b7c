// Benchmark (not a test): the start of a window program as tools/bench.sh measures it, and the
// load of the twelve language files.
//   startup_bench.exe start <program.exe> <window title> <idle seconds>
//     Starts the program in its own folder and prints, one line each as it happens:
//     "visible <ms>" (its window with that title is shown), "answering <ms>" (its thread
//     answers a message, so the start's work is done), "settled", "idle" after the idle
//     seconds, "hidden" a while after its window was hidden, and "ended <exit code>" after
//     WM_CLOSE. The script reads memory and CPU time of the process between these lines.
//   startup_bench.exe languages <program folder> <repeats>
//     Loads all twelve language files into a fresh string table per repeat; prints the
//     median and the fastest total in ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "base/Handles_win32.h"
#include "localisation/Languages.h"
#include "localisation/StringTable.h"

namespace norvi {
namespace {

constexpr DWORD kSettleMs = 2000;
constexpr DWORD kHiddenMs = 3000;
constexpr DWORD kReadMs = 1500;  // the script's time to read the process after a line

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Say(const char* format, double value = 0) {
  std::printf(format, value);
  std::printf("\n");
  std::fflush(stdout);
}

HWND ShownWindowOf(DWORD pid, const wchar_t* title) {
  HWND w = nullptr;
  while ((w = ::FindWindowExW(nullptr, w, nullptr, title))) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(w, &owner);
    if (owner == pid && ::IsWindowVisible(w)) return w;
  }
  return nullptr;
}

int Start(const wchar_t* program, const wchar_t* title, int idleSeconds) {
  std::wstring command = L"\"" + std::wstring(program) + L"\"";
  std::wstring folder = program;
  folder.resize(folder.find_last_of(L"\\/") + 1);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double start = Now();
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi)) {
    Say("error: the program does not start");
    return 1;
  }
  UniqueHandle process(pi.hProcess);
  ::CloseHandle(pi.hThread);
  HWND w = nullptr;
  while (!(w = ShownWindowOf(pi.dwProcessId, title))) {
    if (::WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0 || Now() - start > 60000) {
      Say("error: no window shown");
      return 1;
    }
  }
  Say("visible %.1f", Now() - start);
  DWORD_PTR ignored;
  ::SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &ignored);
  Say("answering %.1f", Now() - start);
  ::Sleep(kSettleMs);
  Say("settled");
  ::Sleep(static_cast<DWORD>(idleSeconds) * 1000 + kReadMs);
  Say("idle");
  ::Sleep(kReadMs);
  ::ShowWindow(w, SW_HIDE);
  ::Sleep(kHiddenMs);
  Say("hidden");
  ::Sleep(kReadMs);
  ::PostMessageW(w, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0)
    ::TerminateProcess(process.get(), 99);
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  Say("ended %.0f", code);
  return 0;
}

int Languages(const wchar_t* folder, int repeats) {
  std::u16string base(reinterpret_cast<const char16_t*>(folder));
  base += u"\\";
  std::vector<double> totals;
  for (int i = 0; i < repeats; ++i) {
    StringTable table;
    int loaded = 0;
    const double start = Now();
    for (const Language& language : kLanguages)
      loaded += table.LoadLanguageStrings(base + std::u16string(language.file));
    totals.push_back(Now() - start);
    if (loaded != static_cast<int>(kLanguages.size())) {
      Say("error: a language file did not load");
      return 1;
    }
  }
  std::sort(totals.begin(), totals.end());
  Say("languages median %.3f", totals[totals.size() / 2]);
  Say("languages fastest %.3f", totals.front());
  return 0;
}

}  // namespace
}  // namespace norvi

int wmain(int argc, wchar_t** argv) {
  if (argc == 5 && std::wcscmp(argv[1], L"start") == 0)
    return norvi::Start(argv[2], argv[3], _wtoi(argv[4]));
  if (argc == 4 && std::wcscmp(argv[1], L"languages") == 0)
    return norvi::Languages(argv[2], std::max(1, _wtoi(argv[3])));
  std::fprintf(stderr,
               "usage: startup_bench start program title idle-seconds\n"
               "       startup_bench languages folder repeats\n");
  return 2;
}
