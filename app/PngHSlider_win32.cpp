#include "app/PngHSlider_win32.h"

#include <windowsx.h>

#include "app/Messages.h"
#include "controls/ImageHelpers_win32.h"
#include "framework/Gdi_win32.h"
#include "base/WideText.h"

namespace norvi {
namespace {

constexpr DWORD kThumbStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;  // 0x50010000
constexpr DWORD kThumbExtraExStyle = 0x8;

// Draws a GDI+ bitmap 1:1 at (0, 0) through a memory surface, then copies it in one BitBlt.
void PaintBitmap(HWND hwnd, Gdiplus::Bitmap* bitmap) {
  PaintDC paint(hwnd);
  RECT client;
  ::GetClientRect(hwnd, &client);
  MemoryCanvas canvas(paint.get(), client.right, client.bottom);
  if (bitmap) {
    Gdiplus::Graphics graphics(canvas.dc());
    graphics.DrawImage(bitmap, 0, 0, static_cast<INT>(bitmap->GetWidth()),
                       static_cast<INT>(bitmap->GetHeight()));
  }
  canvas.CopyTo(paint.get());
}

}  // namespace

bool CPngHSlider::Create(HWND bar, std::unique_ptr<Gdiplus::Bitmap> picture, int barWidth,
                         int barHeight, UINT id) {
  if (!picture || picture->GetLastStatus() != Gdiplus::Ok) return false;
  picture_ = std::move(picture);
  width_ = static_cast<int>(picture_->GetWidth());
  height_ = static_cast<int>(picture_->GetHeight());
  maxX_ = barWidth;
  barHeight_ = barHeight;
  id_ = id;
  const RECT place{0, barHeight - height_, width_, barHeight};
  if (!Window::Create(bar, place, kThumbStyle, 0, L"", id)) return false;
  ::SetWindowLongPtrW(hwnd(), GWL_EXSTYLE,
                      ::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | kThumbExtraExStyle);
  RegionFromKeyColour(hwnd(), *picture_);
  SetPos(0);  // outside every range: becomes the minimum
  return true;
}

void CPngHSlider::SetRange(int minimum, int maximum) {
  range_ = {minimum, maximum};
}

void CPngHSlider::SetPos(int value) {
  value_ = AcceptedValue(value, range_);
  if (hwnd())
    ::MoveWindow(hwnd(), ThumbLeft(value_, range_, Track()), barHeight_ - height_, width_, height_,
                 TRUE);
}

void CPngHSlider::DragTo(int screenX) {
  const int left = DraggedThumbLeft(dragStartLeft_, screenX - dragStartX_, Track());
  const int value = ValueAtThumbLeft(left, range_, Track());
  SetPos(value);
  // The bar passes it on to the owner with its own identifier.
  ::PostMessageW(::GetParent(hwnd()), UM_SPEED_CHANGED, static_cast<WPARAM>(value), id_);
}

LRESULT CPngHSlider::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintBitmap(hwnd(), picture_.get()); return 0;
    case WM_LBUTTONDOWN: {
      ::SetCapture(hwnd());
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ::ClientToScreen(hwnd(), &p);
      dragStartX_ = p.x;
      dragStartLeft_ = ThumbLeft(value_, range_, Track());
      dragging_ = true;
      return 0;
    }
    case WM_MOUSEMOVE:
      if (dragging_ && !disabled_) {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ::ClientToScreen(hwnd(), &p);
        DragTo(p.x);
      }
      return 0;
    case WM_LBUTTONUP:
      dragging_ = false;
      ::ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED: dragging_ = false; return 0;
    default: return Window::HandleMessage(msg, wp, lp);
  }
}

bool CPngHSliderBar::Create(const std::u16string& thumbPath, const RECT& rect, HWND owner,
                            UINT id) {
  owner_ = owner;
  id_ = id;
  rect_ = rect;
  auto picture = std::make_unique<Gdiplus::Bitmap>(W(thumbPath));
  if (!Window::Create(owner, rect, WS_CHILD | WS_VISIBLE, 0, L"", id)) return false;
  return thumb_.Create(hwnd(), std::move(picture), rect.right - rect.left, rect.bottom - rect.top,
                       id);
}

void CPngHSliderBar::SetRange(int minimum, int maximum) {
  range_ = {minimum, maximum};
  thumb_.SetRange(minimum, maximum);
}

void CPngHSliderBar::SetTrackBackground(Gdiplus::Bitmap& source, int x, int y, int width,
                                        int height) {
  background_.reset(source.Clone(Gdiplus::Rect(x, y, width, height), PixelFormat32bppARGB));
  if (background_ && background_->GetLastStatus() != Gdiplus::Ok) background_.reset();
  Invalidate();
}

void CPngHSliderBar::SetPos(int value) {
  thumb_.SetPos(value);
  Invalidate();
}

void CPngHSliderBar::Enable(bool enable) {
  disabled_ = !enable;
  thumb_.Enable(enable);
}

void CPngHSliderBar::ClickAt(POINT barPoint) {
  const int ownerX = barPoint.x + rect_.left;
  const int value = ValueAtClick(ownerX, travel_.left, travel_.right, range_);
  thumb_.SetPos(value);
  ::PostMessageW(owner_, UM_SPEED_CHANGED, static_cast<WPARAM>(value), id_);
}

LRESULT CPngHSliderBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintBitmap(hwnd(), background_.get()); return 0;
    case WM_LBUTTONDOWN:
      if (!disabled_) ClickAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case UM_SPEED_CHANGED: ::PostMessageW(owner_, UM_SPEED_CHANGED, wp, id_); return 0;
    default: return Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace norvi
