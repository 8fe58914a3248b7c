#pragma once
// Helpers of the switcher's Windows tests: the library loaded by full path, the debugger
// output it writes, test windows and real input.

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "framework/Gdi_win32.h"
#include "base/Handles_win32.h"
#include "swap/SwapExports_win32.h"
#include "tests/support/MessageLog_win32.h"
#include "tests/support/Picture_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi::testkit {

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
  ::InitEnumWindowFn init_ = nullptr;
  ::ShowSwapWindowFn show_ = nullptr;
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
// How many rows the switcher paints: rows 40 pixels apart, counted down from the first
// while the right end of a row's top line is not the window's background.
int PaintedRows(HWND switcher);
RECT WindowRect(HWND hwnd);
// The centre of row i in screen coordinates.
POINT RowCentre(HWND switcher, int row);

// Real input: the pointer moved to a point (the window under it hears of it), the left button
// pressed at one point and released at another, or a click.
void MovePointer(POINT screen);
void DragClick(POINT down, POINT up);
void ClickAt(POINT screen);
void PressKey(BYTE virtualKey);

}  // namespace norvi::testkit
