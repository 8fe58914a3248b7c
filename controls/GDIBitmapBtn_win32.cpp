#include "controls/GDIBitmapBtn_win32.h"

#include <windowsx.h>

#include "controls/ImageHelpers_win32.h"
#include "controls/TextDraw_win32.h"
#include "base/WideText.h"

namespace norvi {
namespace {

constexpr DWORD kDroppedStyles = WS_BORDER | WS_TABSTOP;  // 0x00810000
constexpr UINT kCaptionFlags =
    DT_CENTER | DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS;
static_assert(kDroppedStyles == 0x00810000 && kCaptionFlags == 0x8131);
constexpr UINT_PTR kToolId = 1;

}  // namespace

bool CGDIBitmapBtn::Create(HWND parent, const RECT& rect) {
  return CreateControl(L"BUTTON", parent, rect, kStyle);
}

void CGDIBitmapBtn::SetImages(const RECT& rect, HBITMAP normal, HBITMAP over, HBITMAP down,
                              HBITMAP disabled) {
  WindowDC dc(hwnd());
  CutBitmap(dc.get(), normal_, normal, rect);
  CutBitmap(dc.get(), over_, over, rect);
  CutBitmap(dc.get(), down_, down, rect);
  CutBitmap(dc.get(), disabled_, disabled, rect);
  ModifyStyle(kDroppedStyles, 0);
}

void CGDIBitmapBtn::SetCaption(const std::u16string& text) {
  caption_ = text;
  Invalidate();
}

void CGDIBitmapBtn::SetLanguage(int32_t language) {
  language_ = language;
  tipFont_ = CreateTextFont(language_, kTextFont);
  if (tooltip_) tooltip_.SetFont(tipFont_.get());
  if (tipSet_) RecordSystemText(hwnd(), tipFont_.get(), tipText_);
  Invalidate();
}

void CGDIBitmapBtn::SetCheck(int value) {
  if (value == checked_) return;
  checked_ = value;
  Invalidate();
}

void CGDIBitmapBtn::SetTextColours(COLORREF normal, COLORREF hover, COLORREF pressed) {
  normalText_ = normal;
  hoverText_ = hover;
  pressedText_ = pressed;
}

void CGDIBitmapBtn::EnsureTooltip() {
  if (tooltip_ || !hwnd() || !tipSet_) return;
  if (!tooltip_.Create(hwnd())) return;
  if (!tipFont_) tipFont_ = CreateTextFont(language_, kTextFont);
  tooltip_.SetFont(tipFont_.get());
  tooltip_.AddTool(hwnd(), kToolId, ClientRect(), W(tipText_));
  tooltip_.Activate(tipActive_);
}

void CGDIBitmapBtn::SetTooltip(const std::u16string& text, bool activate) {
  // The tip window is made when the pointer first reaches the button (see
  // PreTranslateMessage): a window full of buttons then shows without creating a top-level
  // tip window for each of them first.
  tipText_ = text;
  tipActive_ = activate;
  tipSet_ = true;
  if (!tipFont_) tipFont_ = CreateTextFont(language_, kTextFont);
  RecordSystemText(hwnd(), tipFont_.get(), tipText_);
  if (!tooltip_) return;
  tooltip_.Activate(false);
  tooltip_.SetToolText(hwnd(), kToolId, W(text));
  tooltip_.Activate(activate);
}

ButtonLook CGDIBitmapBtn::LookFor(UINT itemState) const {
  return ChooseButtonLook(toggleMode_ != 0, checked_ != 0, (itemState & ODS_SELECTED) != 0,
                          hovered_ != 0, (itemState & ODS_DISABLED) != 0);
}

HBITMAP CGDIBitmapBtn::Picture(ButtonLook look) const {
  switch (look) {
    case ButtonLook::Down: return down_.get();
    case ButtonLook::Over: return over_.get();
    case ButtonLook::Disabled: return disabled_.get();
    case ButtonLook::Normal: break;
  }
  return normal_.get();
}

COLORREF CGDIBitmapBtn::TextColour(ButtonLook look) const {
  switch (look) {
    case ButtonLook::Down: return pressedText_;
    case ButtonLook::Over: return hoverText_;
    case ButtonLook::Disabled: return kDisabledText;
    case ButtonLook::Normal: break;
  }
  return normalText_;
}

bool CGDIBitmapBtn::PreTranslateMessage(MSG& msg) {
  // A tip only ever reacts to the pointer's messages.
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) EnsureTooltip();
  if (tooltip_) tooltip_.Relay(msg);
  return false;
}

void CGDIBitmapBtn::OnSubclassed() {
  ModifyStyle(WS_TABSTOP, 0);
}

bool CGDIBitmapBtn::OnReflectedMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
  result = TRUE;
  return true;
}

void CGDIBitmapBtn::Draw(const DRAWITEMSTRUCT& item) const {
  const ButtonLook look = LookFor(item.itemState);
  const RECT client = ClientRect();
  const HBITMAP picture = Picture(look);
  if (caption_.empty()) {
    BlitPicture(item.hDC, picture, client.right, client.bottom);
    return;
  }
  DrawCaption(item.hDC, picture, client, TextColour(look));
}

void CGDIBitmapBtn::DrawCaption(HDC target, HBITMAP picture, const RECT& client,
                                COLORREF colour) const {
  MemoryCanvas canvas(target, client.right, client.bottom);
  BlitPicture(canvas.dc(), picture, client.right, client.bottom);
  {
    const TextPainter text(hwnd(), canvas.dc(), language_, kTextFont, colour);
    const EdgeRect r = CaptionRect(client.right, client.bottom, text.Extent(caption_).cy);
    text.Draw(caption_, RECT{r.left, r.top, r.right, r.bottom}, kCaptionFlags);
  }
  canvas.CopyTo(target);
}

HWND CGDIBitmapBtn::OwnerWindow() const {
  HWND owner = ::GetWindow(hwnd(), GW_OWNER);
  return owner ? owner : ::GetParent(hwnd());
}

void CGDIBitmapBtn::SetHovered(bool hovered) {
  hovered_ = hovered ? 1 : 0;
  Invalidate();
}

LRESULT CGDIBitmapBtn::OnMouseMove(WPARAM wp, LPARAM lp) {
  const LRESULT result = Default(WM_MOUSEMOVE, wp, lp);
  const bool leftHeld = (wp & MK_LBUTTON) != 0;
  if (leftHeld && !hovered_) return result;
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (::GetCapture() != hwnd() && ::GetActiveWindow() && OwnerWindow()) {
    hovered_ = 1;
    ::SetCapture(hwnd());
  } else {
    POINT screen = pt;
    ::ClientToScreen(hwnd(), &screen);
    if (::WindowFromPoint(screen) != hwnd()) {
      if (hovered_) SetHovered(false);
      if (!leftHeld) ::ReleaseCapture();
    }
  }
  Invalidate();
  if (HWND parent = ::GetParent(hwnd())) {
    ::MapWindowPoints(hwnd(), parent, &pt, 1);
    ::PostMessageW(parent, WM_MOUSEMOVE, wp, MAKELPARAM(pt.x, pt.y));
  }
  return result;
}

LRESULT CGDIBitmapBtn::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE: return OnMouseMove(wp, lp);
    case WM_CAPTURECHANGED:
      // Whoever took the capture now tracks the pointer, so this button is no longer lit. The
      // button's own press captures again and must keep it.
      if (hovered_ && reinterpret_cast<HWND>(lp) != hwnd()) {
        hovered_ = 0;
        if (::GetCapture() == hwnd()) ::ReleaseCapture();
        Invalidate();
      }
      break;
    case WM_KILLFOCUS: SetHovered(false); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (HWND owner = OwnerWindow(); owner && ::GetActiveWindow() != owner)
        ::SetActiveWindow(owner);
      if (msg == WM_LBUTTONDBLCLK && repeatClicks_)
        return Window::HandleMessage(WM_LBUTTONDOWN, wp, lp);
      break;
    default: break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace norvi
