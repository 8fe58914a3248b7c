#pragma once
// The switcher popup: one row per listed window and a last row for the desktop, all painted
// by the popup itself (no child windows: each would cost a round of window creation).

#include <windows.h>

#include <array>
#include <memory>
#include <string_view>

#include "framework/Dialog_win32.h"
#include "framework/Gdi_win32.h"
#include "swap/ListingCache.h"
#include "swap/SwapEntry.h"
#include "swap/SwitcherLayout.h"
#include "swap/Wmi_win32.h"

namespace norvi::swap {

// What every opening paints with, made once and kept by the library: the captions' font and
// an off-screen surface as large as the tallest switcher.
class SwitcherPaintKit {
 public:
  HFONT Font();
  // Compatible with `reference` when first made.
  const MemoryCanvas& Canvas(HDC reference);
  void Release();

 private:
  UniqueFont font_;
  std::unique_ptr<MemoryCanvas> canvas_;
};

// What a switcher borrows from the library for its lifetime.
struct SwitcherServices {
  HINSTANCE module;  // the library: its dialog template and desktop icon
  const WmiConnection& wmi;
  const SwapTrace& trace;
  ListingCache& cache;  // icons and paths kept between openings
  SwitcherPaintKit& paintKit;
};

// The work area of the monitor under the cursor, or of the primary monitor (where the
// centred and edge modes open).
SwapRect WorkArea(bool atCursor, Point cursor);

// One owner-painted row: the icon, the caption, and the window it brings to the front.
struct SwitcherRow {
  HICON icon = nullptr;  // borrowed: the listing cache (or the library's resources) owns it
  WindowId target = 0;
  std::u16string_view caption;  // the entry's title, or the desktop row's label
  bool shown = false;           // a listed window without an icon gets no row
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
  void FillRows();
  void Place(const SwapRect& workArea, Point cursor);
  // The row under a client point that has one, or RowPointer::kNone.
  int32_t RowUnder(LPARAM clientPoint) const;
  void OnMouseMove(int32_t row);
  void InvalidateRow(int32_t row) const;
  void Activate(int32_t row);
  void Paint();
  void PaintRow(HDC dc, const TextScope& text, const RECT& rect, int32_t row) const;

  SwitcherServices services_;
  EntryTable table_;
  SwitcherColours colours_;
  int32_t mode_ = 0;
  // The count listed rows and the desktop row after them.
  std::array<SwitcherRow, kEntryCapacity> rows_;
  RowPointer pointer_;
  bool tracking_ = false;  // a leave notice has been asked for
};

}  // namespace norvi::swap
