#pragma once
// The enumeration's window system on user32, psapi, shell32 and the WMI fallback.

#include <windows.h>

#include "swap/WindowList.h"
#include "swap/Wmi_win32.h"

namespace norvi::swap {

inline WindowId ToId(HWND hwnd) {
  return reinterpret_cast<WindowId>(hwnd);
}
inline HWND ToHwnd(WindowId id) {
  return reinterpret_cast<HWND>(id);
}
inline HICON ToHicon(IconId id) {
  return reinterpret_cast<HICON>(id);
}

class Win32WindowSource : public IWindowSource {
 public:
  // module: the library, as ExtractIconW wants the calling module.
  Win32WindowSource(HINSTANCE module, const WmiConnection& wmi, const SwapTrace& trace)
      : module_(module), wmi_(wmi), trace_(trace) {}

  bool IsVisible(WindowId w) const override;
  WindowId Parent(WindowId w) const override;
  int32_t TitleLength(WindowId w) const override;
  uint32_t ExStyle(WindowId w) const override;
  std::u16string Title(WindowId w) const override;
  uint32_t ProcessId(WindowId w) const override;
  // The process's first module; failing that, WMI's Win32_Process.
  std::u16string ExecutablePath(uint32_t processId) override;
  OwnedIcon FirstIcon(const std::u16string& path) override;

 private:
  HINSTANCE module_;
  const WmiConnection& wmi_;
  const SwapTrace& trace_;
};

// Fills the table with the listed top-level windows in z-order.
void ListTopLevelWindows(IWindowSource& windows, const SwapTrace& trace, EntryTable& table,
                         ListingCache& cache);

}  // namespace norvi::swap
