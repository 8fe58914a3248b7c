#pragma once
// The switcher popup: one owner-painted row per listed window and a last row for the desktop.

#include <windows.h>

#include <array>
#include <string>

#include "framework/Dialog_win32.h"
#include "framework/Gdi_win32.h"
#include "swap/ListingCache.h"
#include "swap/SwapEntry.h"
#include "swap/SwitcherLayout.h"
#include "swap/Wmi_win32.h"

namespace norvi::swap {

// What a switcher borrows from the library for its lifetime.
struct SwitcherServices {
  HINSTANCE module;  // the library: its dialog template and desktop icon
  const WmiConnection& wmi;
  const SwapTrace& trace;
  ListingCache& cache;  // icons and paths kept between openings
};

// The work area of the monitor under the cursor, or of the primary monitor (where the
// centred and edge modes open).
SwapRect WorkArea(bool atCursor, Point cursor);

// One row: the icon, the caption, and the window it brings to the front.
class CIconBtn : public Window {
 public:
  CIconBtn();
  bool CreateRow(HWND parent, const SwapRect& rect);
  // icon is borrowed: the entry (or the library's resources) owns it.
  void SetRow(HICON icon, WindowId target, std::u16string_view caption,
              const SwitcherColours& colours);
  WindowId target() const { return target_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // Rows take no part in tabbing.
  void OnSubclassed() override { ModifyStyle(WS_TABSTOP, 0); }

 private:
  void Paint();

  HICON icon_ = nullptr;
  WindowId target_ = 0;
  std::u16string caption_;
  UniqueFont font_;
  bool tracking_ = false;
  bool hover_ = false;
  SwitcherColours colours_;
};

class CSwapWnd : public Dialog {
 public:
  explicit CSwapWnd(const SwitcherServices& services);
  ~CSwapWnd() override;

  void SetPositionMode(int32_t mode) { mode_ = mode; }
  SwitcherColours& colours() { return colours_; }
  // Enter and Escape close the switcher, Space is swallowed; true when the key is taken.
  bool PreTranslateMessage(MSG& msg) override;

 protected:
  BOOL OnInitDialog() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateRows();
  void Place(const SwapRect& workArea, Point cursor);
  bool OnRowClicked(HWND button);
  void Paint();

  SwitcherServices services_;
  EntryTable table_;
  SwitcherColours colours_;
  int32_t mode_ = 0;
  std::array<CIconBtn, kEntryCapacity> buttons_;
};

}  // namespace norvi::swap
