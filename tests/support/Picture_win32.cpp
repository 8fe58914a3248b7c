#include "tests/support/Picture_win32.h"

#include <objidl.h>
#include <gdiplus.h>

#include <filesystem>

#include "framework/Gdi_win32.h"

namespace norvi::testkit {
namespace {

// The PNG encoder of GDI+.
constexpr CLSID kPngEncoder{
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// Copies width x height pixels at (x, y) of a source DC into a picture, through a top-down
// 32-bit DIB.
Picture Copy(HDC source, int x, int y, int width, int height) {
  Picture picture;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const UniqueBitmap dib(::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) return picture;
  const UniqueDC memory(::CreateCompatibleDC(source));
  {
    const SelectObjectScope select(memory.get(), dib.get());
    ::BitBlt(memory.get(), 0, 0, width, height, source, x, y, SRCCOPY);
    ::GdiFlush();
  }
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<size_t>(width) * height);
  const auto* bgrx = static_cast<const BYTE*>(bits);
  for (size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = RGB(bgrx[i * 4 + 2], bgrx[i * 4 + 1], bgrx[i * 4]);
  return picture;
}

class GdiplusScope {
 public:
  GdiplusScope() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }
  ~GdiplusScope() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
  }
  GdiplusScope(const GdiplusScope&) = delete;
  GdiplusScope& operator=(const GdiplusScope&) = delete;

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace

Picture CaptureWindow(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  const WindowDC dc(window);
  return Copy(dc.get(), 0, 0, client.right, client.bottom);
}

Picture CaptureScreen(const RECT& r) {
  const WindowDC screen(nullptr);
  return Copy(screen.get(), r.left, r.top, r.right - r.left, r.bottom - r.top);
}

Picture CaptureBitmap(HBITMAP bitmap) {
  BITMAP header{};
  ::GetObjectW(bitmap, sizeof header, &header);
  const UniqueDC dc(::CreateCompatibleDC(nullptr));
  const SelectObjectScope select(dc.get(), bitmap);
  return Copy(dc.get(), 0, 0, header.bmWidth, header.bmHeight);
}

std::wstring OutputPath(const std::wstring& name) {
  const wchar_t* folder = _wgetenv(L"NORVI_TEST_OUTPUT");
  std::filesystem::path path;
  if (folder && *folder) {
    path = folder[0] == L'/' ? L"Z:" + std::wstring(folder) : std::wstring(folder);
  } else {
    wchar_t self[MAX_PATH];
    path = std::filesystem::path(std::wstring(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH)))
               .parent_path();
  }
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return (path / name).wstring();
}

bool SavePng(const Picture& picture, const std::wstring& name) {
  if (picture.pixels.empty()) return false;
  const GdiplusScope gdiplus;
  Gdiplus::Bitmap bitmap(picture.width, picture.height, PixelFormat32bppRGB);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const COLORREF c = picture.At(x, y);
      bitmap.SetPixel(x, y, Gdiplus::Color(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
  }
  return bitmap.Save(OutputPath(name).c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
}

}  // namespace norvi::testkit
