#include "controls/SkinScrollWnd_win32.h"

#include "controls/ImageHelpers_win32.h"
#include "framework/Gdi_win32.h"

namespace norvi {
namespace {

static_assert(CSkinScrollWnd::kLayoutChanged == 1124);
constexpr DWORD kFrameStyle = 0x100;
constexpr DWORD kToolWindowBit = 0x80;  // a control with it gets a frame with kFrameExStyle
constexpr DWORD kFrameExStyle = 0x88;
const wchar_t kFrameTitle[] = L"SkinScrollBarFrame";
const wchar_t kLimitTitle[] = L"LIMIT";

RECT RectInParent(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Place(HWND hwnd, int x, int y, int width, int height, UINT flags = 0) {
  ::SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | flags);
}

}  // namespace

CSkinScrollWnd* SkinScrollAttach(HWND control, HBITMAP skin) {
  if (!control || !::IsWindow(control) || BitmapSize(skin).cx / kSkinColumns <= 0) return nullptr;
  // From a successful Create on, the frame's window owns the object (OnFinalMessage).
  auto* frame = new CSkinScrollWnd;
  if (frame->Attach(control, skin)) return frame;
  if (frame->hwnd())
    ::DestroyWindow(frame->hwnd());
  else
    delete frame;
  return nullptr;
}

bool CSkinScrollWnd::Attach(HWND control, HBITMAP skin) {
  skin_ = skin;
  cell_ = BitmapSize(skin).cx / kSkinColumns;
  const RECT rect = RectInParent(control);
  const auto controlStyle = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
  const auto controlExStyle = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_EXSTYLE));

  // The control's border moves to the frame, so the control's inner rectangle shrinks by it.
  DWORD style = WS_CHILD | kFrameStyle | (controlStyle & WS_VISIBLE);
  DWORD exStyle = (controlExStyle & kToolWindowBit) ? kFrameExStyle : 0;
  int shrink = 0;
  if (controlStyle & WS_BORDER) {
    style |= WS_BORDER;
    shrink += 2 * ::GetSystemMetrics(SM_CXBORDER);
  }
  if (controlExStyle & WS_EX_CLIENTEDGE) {
    exStyle |= WS_EX_CLIENTEDGE;
    shrink += 2 * ::GetSystemMetrics(SM_CXEDGE);
  }
  const auto id = static_cast<UINT_PTR>(::GetDlgCtrlID(control));
  if (!Create(::GetParent(control), rect, style, exStyle, kFrameTitle, id)) return false;
  if (!limit_.Create(hwnd(), RECT{}, WS_CHILD | WS_VISIBLE, 0, kLimitTitle, kLimitId) ||
      !horizontal_.Create(hwnd(), WS_CHILD, kHorizontalBarId, skin) ||
      !vertical_.Create(hwnd(), WS_CHILD | SBS_VERT, kVerticalBarId, skin))
    return false;

  ::SetWindowLongPtrW(control, GWL_STYLE, static_cast<LONG_PTR>(controlStyle & ~WS_BORDER));
  ::SetWindowLongPtrW(control, GWL_EXSTYLE,
                      static_cast<LONG_PTR>(controlExStyle & ~WS_EX_CLIENTEDGE));
  ::SetParent(control, limit_.hwnd());
  control_ = control;
  ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  controlProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSkinScrollWnd::ControlProc)));
  // The frame change runs the control's frame calculation, which places the skin bars.
  Place(control, 0, 0, rect.right - rect.left - shrink, rect.bottom - rect.top - shrink,
        SWP_FRAMECHANGED);

  SetTimer(kSyncTimer, kSyncMs);
  const RECT client = ClientRect();
  Place(limit_.hwnd(), 0, 0, client.right, client.bottom);
  return true;
}

LRESULT CALLBACK CSkinScrollWnd::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* frame = reinterpret_cast<CSkinScrollWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!frame || frame->control_ != hwnd) return ::DefWindowProcW(hwnd, msg, wp, lp);
  return frame->OnControlMessage(msg, wp, lp);
}

LRESULT CSkinScrollWnd::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    // Detaching may delete the frame: keep what the control still needs.
    const HWND control = control_;
    const WNDPROC previous = controlProc_;
    Detach();
    return ::CallWindowProcW(previous, control, msg, wp, lp);
  }
  const LRESULT result = ::CallWindowProcW(controlProc_, control_, msg, wp, lp);
  if (forwarding_) return result;
  if (msg == WM_ERASEBKGND) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control_, GWL_STYLE));
    if (style & WS_VSCROLL) Sync(vertical_, SB_VERT, true);
    if (style & WS_HSCROLL) Sync(horizontal_, SB_HORZ, true);
  } else if (msg == WM_NCCALCSIZE && wp) {
    OnControlFrameCalculated(*reinterpret_cast<NCCALCSIZE_PARAMS*>(lp));
  }
  return result;
}

void CSkinScrollWnd::OnControlFrameCalculated(NCCALCSIZE_PARAMS& params) {
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(control_, GWL_EXSTYLE));
  const bool vertical = (style & WS_VSCROLL) != 0;
  const bool horizontal = (style & WS_HSCROLL) != 0;
  const bool left = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;

  // Keep the control's own bars only one cell thick, at the edges "LIMIT" clips away.
  RECT& c = params.rgrc[0];
  if (vertical) {
    const int widen = ::GetSystemMetrics(SM_CXVSCROLL) - cell_;
    if (left)
      c.left -= widen;
    else
      c.right += widen;
  }
  if (horizontal) c.bottom += ::GetSystemMetrics(SM_CYHSCROLL) - cell_;

  // The rectangle is in the coordinates of "LIMIT"; the bars are children of the frame.
  POINT origin{0, 0};
  ::MapWindowPoints(limit_.hwnd(), hwnd(), &origin, 1);
  const RECT client{c.left + origin.x, c.top + origin.y, c.right + origin.x, c.bottom + origin.y};
  const int barX = left ? client.left - cell_ : client.right;
  Place(vertical_.hwnd(), barX, client.top, cell_, client.bottom - client.top,
        vertical ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  Place(horizontal_.hwnd(), client.left, client.bottom, client.right - client.left, cell_,
        horizontal ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  cornerMode_ = norvi::CornerModeFor(vertical, horizontal, left);
  // Placing "LIMIT" moves the control again; that calculation needs no new layout pass.
  if (!limitBusy_) Post(kLayoutChanged, vertical, left);
}

void CSkinScrollWnd::Detach() {
  const HWND control = control_;
  ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc_));
  ::SetWindowLongPtrW(control, GWLP_USERDATA, 0);
  control_ = nullptr;
  controlProc_ = nullptr;
  // When the frame itself is going, the control goes with it as its descendant.
  if (destroying_) return;
  const RECT rect = RectInParent(hwnd());
  ::SetParent(control, ::GetParent(hwnd()));
  Place(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  // Deletes this object (OnFinalMessage): nothing may touch it afterwards.
  ::DestroyWindow(hwnd());
}

void CSkinScrollWnd::Sync(CSkinScrollBar& bar, int which, bool onlyWhenChanged) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (!control_ || !::GetScrollInfo(control_, which, &info)) return;
  const ScrollState now{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
  if (onlyWhenChanged && now == bar.State()) return;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  bar.Send(SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
  ::EnableWindow(bar.hwnd(), now.maximum >= now.page);
}

void CSkinScrollWnd::PlaceLimit(bool vertical, bool leftScrollBar) {
  if (!control_) return;
  limitBusy_ = true;
  const RECT client = ClientRect();
  const bool horizontalVisible = (horizontal_.Style() & WS_VISIBLE) != 0;
  const EdgeRect r =
      ClippingRect(client.right, client.bottom, cell_, vertical, leftScrollBar, horizontalVisible);
  Place(limit_.hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top);
  // The control keeps the frame's whole client area; "LIMIT" cuts its own bars off.
  Place(control_, -r.left, -r.top, client.right, client.bottom);
  limitBusy_ = false;
  Invalidate();
}

void CSkinScrollWnd::Forward(UINT msg, WPARAM wp, LPARAM) {
  const int code = LOWORD(wp);
  if (code == kCodeThumbTrack || code == kCodeThumbPosition) {
    // Some list boxes take the thumb's place from their own hidden bar rather than from the
    // message (Wine's does): put it there too, so the list follows the thumb as it moves.
    ::SetScrollPos(control_, msg == WM_VSCROLL ? SB_VERT : SB_HORZ, HIWORD(wp), FALSE);
  }
  forwarding_ = true;
  ::SendMessageW(control_, msg, MAKEWPARAM(code, HIWORD(wp)), 0);
  forwarding_ = false;
  if (code == kCodeThumbTrack) return;
  if (msg == WM_VSCROLL)
    Sync(vertical_, SB_VERT, false);
  else
    Sync(horizontal_, SB_HORZ, false);
}

void CSkinScrollWnd::PaintCorner() {
  PaintDC paint(hwnd());
  if (cornerMode_ == kNoCorner) return;
  const RECT client = ClientRect();
  int row = kRowNormal;
  const EdgeRect r = CornerRect(cornerMode_, client.right, client.bottom, cell_, row);
  UniqueDC skinDc(::CreateCompatibleDC(paint.get()));
  SelectObjectScope select(skinDc.get(), skin_);
  ::BitBlt(paint.get(), r.left, r.top, cell_, cell_, skinDc.get(), kCornerColumn * cell_,
           row * cell_, SRCCOPY);
}

bool CSkinScrollWnd::OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  return control_ != hwnd() && ReflectTo(control_, msg, wp, lp, result);
}

LRESULT CSkinScrollWnd::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kLayoutChanged: PlaceLimit(wp != 0, lp != 0); return 0;
    case WM_SIZE:
      if (control_ && LOWORD(lp) && HIWORD(lp)) Place(control_, 0, 0, LOWORD(lp), HIWORD(lp));
      break;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      const HWND bar = msg == WM_VSCROLL ? vertical_.hwnd() : horizontal_.hwnd();
      if (!control_ || reinterpret_cast<HWND>(lp) != bar) break;
      Forward(msg, wp, lp);
      return 0;
    }
    case WM_TIMER:
      if (wp != kSyncTimer) break;
      if ((vertical_.Style() & WS_VISIBLE) && !vertical_.IsDragging())
        Sync(vertical_, SB_VERT, true);
      if ((horizontal_.Style() & WS_VISIBLE) && !horizontal_.IsDragging())
        Sync(horizontal_, SB_HORZ, true);
      return 0;
    case WM_PAINT: PaintCorner(); return 0;
    case WM_DESTROY:
      destroying_ = true;
      KillTimer(kSyncTimer);
      break;
    default: break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace norvi
