#pragma once
// The library object: WMI connection, set-up flag, trace switch and the current switcher.

#include <windows.h>

#include <memory>

#include "swap/SwapWnd_win32.h"
#include "swap/Wmi_win32.h"

namespace norvi::swap {

class CSwapWindowApp {
 public:
  explicit CSwapWindowApp(HINSTANCE module) : module_(module) {}
  CSwapWindowApp(const CSwapWindowApp&) = delete;
  CSwapWindowApp& operator=(const CSwapWindowApp&) = delete;

  void InitEnumWindow(HWND host);
  void ShowSwapWindow(const COLORREF* windowBackground, const COLORREF* buttonBackground,
                      const COLORREF* buttonHover, const COLORREF* buttonText, int32_t mode);
  // The library's shutdown: WMI and COM released, the switcher deleted.
  void ExitInstance();

 private:
  void MoveOpenSwitcherToCursor() const;

  HINSTANCE module_;
  DebuggerOutput debugger_;
  SwapTrace trace_{debugger_};
  WmiConnection wmi_;
  ListingCache cache_;
  SwitcherPaintKit paintKit_;
  bool bInit_ = false;
  std::unique_ptr<CSwapWnd> current_;
};

}  // namespace norvi::swap
