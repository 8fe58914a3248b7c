#pragma once
// Move-only owners of GDI objects and device contexts, a scoped selection into a DC, and the
// paint steps every window repeats. Every font, brush, bitmap, region and DC the program makes
// has one of these as its owner.

#include <windows.h>

#include <string_view>
#include <utility>

#include "base/UniqueResource.h"
#include "base/WideText.h"

namespace norvi {

struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { ::DeleteObject(h); }
};
struct DeleteDeviceContext {
  void operator()(HDC h) const { ::DeleteDC(h); }
};

// GDI objects made by a Create... call.
template <typename T>
using UniqueGdiObject = UniqueResource<T, DeleteGdiObject>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniquePen = UniqueGdiObject<HPEN>;
using UniqueRegion = UniqueGdiObject<HRGN>;
// A DC made by CreateCompatibleDC / CreateDC.
using UniqueDC = UniqueResource<HDC, DeleteDeviceContext>;

// A window's DC from GetDC, released with ReleaseDC. Lives within one function.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint around one WM_PAINT.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { ::EndPaint(hwnd_, &ps_); }
  HDC get() const { return dc_; }
  const PAINTSTRUCT& paint() const { return ps_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// Selects an object into a DC and puts the previous one back when it goes out of scope.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
  SelectObjectScope(SelectObjectScope&& o) noexcept
      : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr)) {}
  SelectObjectScope& operator=(SelectObjectScope&&) = delete;
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;
  ~SelectObjectScope() {
    if (dc_ && old_) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC compatible with `reference` holding a compatible bitmap of width x height:
// the off-screen surface of double-buffered painting.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC reference, int width, int height)
      : dc_(::CreateCompatibleDC(reference)),
        bitmap_(::CreateCompatibleBitmap(reference, width, height)),
        select_(dc_.get(), bitmap_.get()),
        width_(width),
        height_(height) {}
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // Copies the whole surface to `target` at (x, y) in one BitBlt.
  void CopyTo(HDC target, int x = 0, int y = 0) const {
    ::BitBlt(target, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY);
  }

 private:
  UniqueDC dc_;
  UniqueBitmap bitmap_;
  SelectObjectScope select_;
  int width_;
  int height_;
};

// Copies a picture 1:1 from its top-left corner to (0, 0) of `target`, width x height, through
// a memory DC of its own. A null picture copies whatever an empty memory DC holds.
inline void BlitPicture(HDC target, HBITMAP picture, int width, int height) {
  UniqueDC source(::CreateCompatibleDC(target));
  SelectObjectScope select(source.get(), picture);
  ::BitBlt(target, 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
}

// Text drawn over a picture: the font selected, a transparent background and the text colour,
// all three put back when the scope ends.
class TextScope {
 public:
  TextScope(HDC dc, HFONT font, COLORREF colour)
      : dc_(dc),
        font_(dc, font),
        mode_(::SetBkMode(dc, TRANSPARENT)),
        colour_(::SetTextColor(dc, colour)) {}
  TextScope(const TextScope&) = delete;
  TextScope& operator=(const TextScope&) = delete;
  ~TextScope() {
    ::SetTextColor(dc_, colour_);
    ::SetBkMode(dc_, mode_);
  }

  void Draw(std::u16string_view text, RECT rect, UINT flags) const {
    ::DrawTextW(dc_, WView(text).data(), static_cast<int>(text.size()), &rect, flags);
  }
  SIZE Extent(std::u16string_view text) const {
    SIZE extent{};
    ::GetTextExtentPoint32W(dc_, WView(text).data(), static_cast<int>(text.size()), &extent);
    return extent;
  }

 private:
  HDC dc_;
  SelectObjectScope font_;
  int mode_;
  COLORREF colour_;
};

// The program's text font: "MS Shell Dlg", the given height and weight, default character
// set, family FF_SWISS.
inline UniqueFont CreateShellDlgFont(int height, int weight,
                                     const wchar_t* face = L"MS Shell Dlg") {
  return UniqueFont(::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  FF_SWISS, face));
}

}  // namespace norvi
