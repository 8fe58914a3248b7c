#include "controls/SkinScrollBar_win32.h"

#include <windowsx.h>

#include "controls/ImageHelpers_win32.h"
#include "framework/Gdi_win32.h"

namespace norvi {
namespace {

// The parts' scroll codes, as the parent's WM_HSCROLL / WM_VSCROLL expects them.
static_assert(kPartLineUp == SB_LINEUP && kPartLineDown == SB_LINEDOWN &&
              kPartPageUp == SB_PAGEUP && kPartPageDown == SB_PAGEDOWN &&
              kCodeThumbPosition == SB_THUMBPOSITION && kCodeThumbTrack == SB_THUMBTRACK);

// Rows of the thumb cell kept unscaled at each end; the middle is tiled.
constexpr int kThumbEnd = 3;
constexpr int kArrowColumn = 0, kSecondArrowColumn = 1, kThumbColumn = 2, kTrackColumn = 3;

}  // namespace

bool CSkinScrollBar::Create(HWND parent, DWORD style, UINT id, HBITMAP skin) {
  if (!CreateControl(L"SCROLLBAR", parent, RECT{0, 0, 0, 0}, style, 0, L"", id)) return false;
  SetBitmap(skin);
  return true;
}

void CSkinScrollBar::SetBitmap(HBITMAP skin) {
  skin_ = skin;
  cell_ = BitmapSize(skin).cx / kSkinColumns;
  RECT r{};
  ::GetWindowRect(hwnd(), &r);
  const int width = IsVertical() ? cell_ : r.right - r.left;
  const int height = IsVertical() ? r.bottom - r.top : cell_;
  ::SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CSkinScrollBar::IsVertical() const {
  return (Style() & SBS_VERT) != 0;
}

int CSkinScrollBar::Length() const {
  const RECT r = ClientRect();
  return IsVertical() ? r.bottom : r.right;
}

int CSkinScrollBar::Along(LPARAM lp) const {
  return IsVertical() ? GET_Y_LPARAM(lp) : GET_X_LPARAM(lp);
}

BarLayout CSkinScrollBar::Layout() const {
  return LayoutScrollBar(Length(), cell_, state_, dragging_ ? dragPosition_ : state_.position);
}

int CSkinScrollBar::HitTest(int coordinate) const {
  return HitTestScrollBar(Length(), cell_, state_, dragging_ ? dragPosition_ : state_.position,
                          coordinate);
}

void CSkinScrollBar::Report(int code, int position) const {
  const bool withPosition = code == kCodeThumbPosition || code == kCodeThumbTrack;
  ::SendMessageW(::GetParent(hwnd()), IsVertical() ? WM_VSCROLL : WM_HSCROLL,
                 MAKEWPARAM(code, withPosition ? position : 0), reinterpret_cast<LPARAM>(hwnd()));
}

// --- drawing -------------------------------------------------------------------------------

RECT CSkinScrollBar::Across(BarSpan span) const {
  return IsVertical() ? RECT{0, span.begin, cell_, span.end} : RECT{span.begin, 0, span.end, cell_};
}

int CSkinScrollBar::ArrowRow(int part) const {
  if (part == pressedPart_) return pointerOutside_ ? kRowNormal : kRowPressed;
  return part == hotPart_ ? kRowHot : kRowNormal;
}

void CSkinScrollBar::DrawCell(HDC dc, HDC skin, BarSpan span, int column, int row) const {
  const RECT d = Across(span);
  const int w = d.right - d.left, h = d.bottom - d.top;
  if (w <= 0 || h <= 0) return;
  if (w == cell_ && h == cell_) {
    ::BitBlt(dc, d.left, d.top, w, h, skin, column * cell_, row * cell_, SRCCOPY);
    return;
  }
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, d.left, d.top, w, h, skin, column * cell_, row * cell_, cell_, cell_, SRCCOPY);
}

void CSkinScrollBar::DrawThumb(HDC dc, HDC skin, BarSpan span, int row) const {
  if (span.Empty()) return;
  const RECT d = Across(span);
  const int column = (IsVertical() ? 0 : kFirstHorizontalColumn) + kThumbColumn;
  const int x = column * cell_, y = row * cell_, s = cell_, e = kThumbEnd;
  if (IsVertical()) {
    ::BitBlt(dc, d.left, d.top, s, e, skin, x, y, SRCCOPY);
    ::BitBlt(dc, d.left, d.bottom - e, s, e, skin, x, y + s - e, SRCCOPY);
    TileBlit(dc, RECT{d.left, d.top + e, d.right, d.bottom - e}, skin,
             RECT{x, y + e, x + s, y + s - e});
  } else {
    ::BitBlt(dc, d.left, d.top, e, s, skin, x, y, SRCCOPY);
    ::BitBlt(dc, d.right - e, d.top, e, s, skin, x + s - e, y, SRCCOPY);
    TileBlit(dc, RECT{d.left + e, d.top, d.right - e, d.bottom}, skin,
             RECT{x + e, y, x + s - e, y + s});
  }
}

void CSkinScrollBar::DrawTrack(HDC dc, HDC skin, BarSpan span) const {
  if (span.Empty()) return;
  const int column = (IsVertical() ? 0 : kFirstHorizontalColumn) + kTrackColumn;
  TileBlit(dc, Across(span), skin,
           RECT{column * cell_, kRowNormal * cell_, (column + 1) * cell_, cell_});
}

void CSkinScrollBar::Draw(HDC dc) const {
  const BarLayout layout = Layout();
  UniqueDC skinDc(::CreateCompatibleDC(dc));
  SelectObjectScope select(skinDc.get(), skin_);
  const int first = IsVertical() ? 0 : kFirstHorizontalColumn;
  DrawCell(dc, skinDc.get(), layout.Part(kPartLineUp), first + kArrowColumn, ArrowRow(kPartLineUp));
  DrawCell(dc, skinDc.get(), layout.Part(kPartLineDown), first + kSecondArrowColumn,
           ArrowRow(kPartLineDown));
  const int thumbRow = dragging_ ? kRowPressed : hotPart_ == kPartThumb ? kRowHot : kRowNormal;
  DrawThumb(dc, skinDc.get(), layout.Part(kPartThumb), thumbRow);
  DrawTrack(dc, skinDc.get(), layout.Part(kPartPageUp));
  DrawTrack(dc, skinDc.get(), layout.Part(kPartPageDown));
}

void CSkinScrollBar::Redraw() const {
  if (!skin_ || !hwnd()) return;
  const RECT r = ClientRect();
  if (r.right <= 0 || r.bottom <= 0) return;
  WindowDC dc(hwnd());
  MemoryCanvas canvas(dc.get(), r.right, r.bottom);
  Draw(canvas.dc());
  canvas.CopyTo(dc.get());
}

// --- scroll state --------------------------------------------------------------------------

LRESULT CSkinScrollBar::OnSetScrollInfo(WPARAM wp, const SCROLLINFO* info) {
  if (!info) return 0;
  if (info->fMask & SIF_RANGE) {
    state_.minimum = info->nMin;
    state_.maximum = info->nMax;
  }
  if (info->fMask & SIF_PAGE) state_.page = static_cast<int>(info->nPage);
  if (info->fMask & SIF_POS) state_.position = info->nPos;
  if (wp) Redraw();
  return 1;
}

LRESULT CSkinScrollBar::OnGetScrollInfo(SCROLLINFO* info) const {
  if (!info) return 0;
  if (info->fMask & SIF_RANGE) {
    info->nMin = state_.minimum;
    info->nMax = state_.maximum;
  }
  if (info->fMask & SIF_PAGE) info->nPage = static_cast<UINT>(state_.page);
  if (info->fMask & SIF_POS) info->nPos = state_.position;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = dragPosition_;
  return 1;
}

// --- mouse ---------------------------------------------------------------------------------

void CSkinScrollBar::OnButtonDown(LPARAM lp) {
  ::SetCapture(hwnd());
  pointer_ = Along(lp);
  const int part = HitTest(pointer_);
  if (part == kPartThumb) {
    dragging_ = true;
    dragStart_ = pointer_;
    dragPosition_ = dragStartPosition_ = state_.position;
    Redraw();
    return;
  }
  if (part == kPartNone) {
    ::ReleaseCapture();
    return;
  }
  pressedPart_ = part;
  // The hot look comes back with the next move after the release.
  hotPart_ = kPartNone;
  Report(part);
  SetTimer(kDelayTimer, kDelayMs);
  pointerOutside_ = false;
  Redraw();
}

void CSkinScrollBar::OnTimer(UINT_PTR id) {
  if (id == kDelayTimer) {
    repeating_ = true;
    KillTimer(kDelayTimer);
    SetTimer(kRepeatTimer, kRepeatMs);
  } else if (id != kRepeatTimer) {
    return;
  }
  if (pressedPart_ == kPartNone) {
    KillTimer(kRepeatTimer);
    return;
  }
  if (pointerOutside_) return;
  bool done = false;
  switch (pressedPart_) {
    case kPartLineUp: done = state_.position <= state_.minimum; break;
    case kPartLineDown: done = state_.position >= HighestPosition(state_); break;
    default: done = HitTest(pointer_) == kPartThumb; break;  // the thumb reached the pointer
  }
  if (done) {
    KillTimer(kRepeatTimer);
    return;
  }
  Report(pressedPart_);
}

void CSkinScrollBar::OnMouseMove(LPARAM lp, bool trackLeave) {
  if (trackLeave && !trackingLeave_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
    trackingLeave_ = ::TrackMouseEvent(&track) != 0;
  }
  pointer_ = Along(lp);
  if (dragging_) {
    const int position =
        DragScrollPosition(Length(), cell_, state_, dragStartPosition_, pointer_ - dragStart_);
    if (position == dragPosition_) return;
    dragPosition_ = position;
    Redraw();
    Report(kCodeThumbTrack, position);
    return;
  }
  const int hit = HitTest(pointer_);
  if (pressedPart_ == kPartNone) {
    if (hit == hotPart_) return;
    hotPart_ = hit;
    Redraw();
    return;
  }
  const bool outside = hit != pressedPart_;
  if (outside == pointerOutside_) return;
  pointerOutside_ = outside;
  Redraw();
}

void CSkinScrollBar::Finish(int coordinate) {
  if (dragging_) {
    dragging_ = false;
    const int position = dragPosition_;
    Report(kCodeThumbPosition, position);
    dragPosition_ = -1;
    hotPart_ = HitTest(coordinate) == kPartThumb ? kPartThumb : kPartNone;
    Redraw();
    return;
  }
  if (pressedPart_ == kPartNone) return;
  KillTimer(repeating_ ? kRepeatTimer : kDelayTimer);
  repeating_ = false;
  pressedPart_ = kPartNone;
  pointerOutside_ = false;
  Redraw();
}

LRESULT CSkinScrollBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case SBM_SETSCROLLINFO: return OnSetScrollInfo(wp, reinterpret_cast<const SCROLLINFO*>(lp));
    case SBM_GETSCROLLINFO: return OnGetScrollInfo(reinterpret_cast<SCROLLINFO*>(lp));
    case WM_PAINT: {
      if (!skin_) break;
      PaintDC paint(hwnd());
      const RECT r = ClientRect();
      if (r.right <= 0 || r.bottom <= 0) return 0;
      MemoryCanvas canvas(paint.get(), r.right, r.bottom);
      Draw(canvas.dc());
      canvas.CopyTo(paint.get());
      return 0;
    }
    case WM_ERASEBKGND:
      if (!skin_) break;
      return 1;  // the paint covers every pixel
    case WM_ENABLE:
      // The system bar would draw its own look here.
      Invalidate();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return 0;  // the system bar would show a caret over the skin
    case WM_LBUTTONDBLCLK: return 1;
    case WM_LBUTTONDOWN: OnButtonDown(lp); return 0;
    case WM_MOUSEMOVE: OnMouseMove(lp, true); return 0;
    case WM_LBUTTONUP:
      pointer_ = Along(lp);
      Finish(pointer_);
      if (::GetCapture() == hwnd()) ::ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      // Losing the mouse to another window ends a press or drag where the pointer was last.
      if (reinterpret_cast<HWND>(lp) != hwnd()) Finish(pointer_);
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      // A leave during a drag must not move the thumb to the start.
      if (!dragging_) OnMouseMove(MAKELPARAM(-1, -1), false);
      return 0;
    case WM_TIMER: OnTimer(wp); return 0;
    default: break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace norvi
