#pragma once
// A scroll bar drawn from a skin of 9 x 3 square cells: arrows, track, thumb and the corner,
// each in a normal, hot and pressed row. It keeps its own scroll state (set and read with the
// SBM_ messages) and reports presses, auto-repeat and thumb drags to its parent as
// WM_VSCROLL / WM_HSCROLL.

#include <windows.h>

#include "controls/ScrollBarGeometry.h"
#include "framework/Window_win32.h"

namespace norvi {

class CSkinScrollBar : public Window {
 public:
  static constexpr UINT_PTR kDelayTimer = 200;   // first repeat of a held press
  static constexpr UINT_PTR kRepeatTimer = 100;  // every further repeat
  static constexpr UINT kDelayMs = 500;
  static constexpr UINT kRepeatMs = 100;

  // Creates the bar (a system scroll bar taken over by this object); SBS_VERT makes it
  // vertical.
  bool Create(HWND parent, DWORD style, UINT id, HBITMAP skin);
  // Uses `skin` (not owned: the caller keeps it alive) and makes the bar one cell thick,
  // keeping its place in the parent.
  void SetBitmap(HBITMAP skin);

  bool IsVertical() const;
  int Cell() const { return cell_; }
  const ScrollState& State() const { return state_; }
  bool IsDragging() const { return dragging_; }
  int DragPosition() const { return dragPosition_; }
  int HotPart() const { return hotPart_; }
  int PressedPart() const { return pressedPart_; }
  // The layout as drawn now.
  BarLayout Layout() const;
  // Draws the whole bar as it looks now into `dc` (client coordinates); needs a skin.
  void Draw(HDC dc) const;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  int Length() const;
  int Along(LPARAM lp) const;
  int HitTest(int coordinate) const;
  void Report(int code, int position = 0) const;
  void Redraw() const;
  void DrawCell(HDC dc, HDC skin, BarSpan span, int column, int row) const;
  void DrawThumb(HDC dc, HDC skin, BarSpan span, int row) const;
  void DrawTrack(HDC dc, HDC skin, BarSpan span) const;
  RECT Across(BarSpan span) const;
  int ArrowRow(int part) const;

  LRESULT OnSetScrollInfo(WPARAM wp, const SCROLLINFO* info);
  LRESULT OnGetScrollInfo(SCROLLINFO* info) const;
  void OnButtonDown(LPARAM lp);
  void OnMouseMove(LPARAM lp, bool trackLeave);
  void OnTimer(UINT_PTR id);
  void Finish(int coordinate);

  HBITMAP skin_ = nullptr;
  int cell_ = 0;
  ScrollState state_;
  int dragPosition_ = -1;
  bool dragging_ = false;
  int dragStart_ = 0;  // pointer coordinate along the bar when the drag began
  int dragStartPosition_ = 0;
  int pressedPart_ = kPartNone;
  bool repeating_ = false;
  bool pointerOutside_ = false;
  int pointer_ = -1;  // last pointer coordinate along the bar
  int hotPart_ = kPartNone;
  bool trackingLeave_ = false;
};

}  // namespace norvi
