#pragma once
// Helpers of the switcher's Windows tests: the library loaded by full path, the debugger
// output it writes, test windows, real input, pumping with time-outs and window pictures.

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/Handles_win32.h"
#include "swap/SwapExports_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi::swap::test {

// A file beside the test program, as a full path.
std::wstring BesideTest(const wchar_t* file);

// Swap.dll loaded from beside the test program; unloaded (with its shutdown) on destruction.
class SwapLibrary {
 public:
  SwapLibrary();
  bool loaded() const { return init_ && show_; }
  void Init(HWND host) const { init_(host); }
  void Show(int32_t mode, const COLORREF* window = nullptr, const COLORREF* button = nullptr,
            const COLORREF* hover = nullptr, const COLORREF* text = nullptr) const {
    show_(window, button, hover, text, mode);
  }

 private:
  UniqueModule module_;
  InitEnumWindowFn init_ = nullptr;
  ShowSwapWindowFn show_ = nullptr;
};

// Collects what this process writes with OutputDebugString while it lives.
class DebugCapture {
 public:
  DebugCapture();
  ~DebugCapture();
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;
  std::vector<std::string> Lines() const;
  void Clear();
  // Titles of the last switcher's trace ("[i]: hIcon=..., Text= title"), with their icons.
  std::vector<std::string> ListedTitles() const;
  std::vector<HICON> ListedIcons() const;

 private:
  static LONG CALLBACK Handler(EXCEPTION_POINTERS* info);
  void Add(std::string line);
  PVOID handler_;
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

using norvi::test::PumpFor;
using norvi::test::PumpUntil;

// A visible, titled top-level popup of this process (whose executable has an icon). Shown
// without activation: under Wine without a window manager, hiding an activated window waits
// two seconds for a manager that never answers.
UniqueWindow MakeWindow(const std::wstring& title, DWORD exStyle = 0, HWND owner = nullptr,
                        int show = SW_SHOWNOACTIVATE);

// Live GDI objects and icons (cursors included) of this process, found by probing every slot
// of Wine's handle tables: a handle value without its generation part matches whatever the
// slot holds. GetGuiResources answers 0 under Wine.
int CountGdiObjects();
int CountIcons();

// The open switcher window of this process, or nullptr.
HWND FindSwitcher();
std::vector<HWND> Rows(HWND switcher);
RECT WindowRect(HWND hwnd);
// The centre of row i in screen coordinates.
POINT RowCentre(HWND switcher, int row);

void ClickAt(POINT screen);
void PressKey(BYTE virtualKey);

// A window's pixels as 0x00BBGGRR values.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  bool SaveBmp(const std::wstring& path) const;
};
Picture CapturePicture(HWND hwnd);
// Where tests put artefacts (NORVI_TEST_OUTPUT), as a path Windows opens.
std::wstring OutputFile(const wchar_t* name);

// Records the keys that reach a low-level keyboard hook on a thread of its own (injected
// input waits for the hook, so the hook must not run on the injecting thread).
class KeyRecorder {
 public:
  struct Key {
    DWORD vk;
    bool up;
    bool operator==(const Key&) const = default;
  };
  KeyRecorder();
  ~KeyRecorder();
  std::vector<Key> Keys() const;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
  std::thread thread_;
  std::atomic<DWORD> threadId_{0};
  mutable std::mutex mutex_;
  std::vector<Key> keys_;
};

}  // namespace norvi::swap::test
