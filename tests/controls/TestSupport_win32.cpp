#include "TestSupport_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "controls/ImageHelpers_win32.h"
#include "tests/support/Picture_win32.h"

namespace norvi::testkit {
namespace {

// GDI+ runs for the whole test program, as the application runs it for its windows.
class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { session_ = new GdiplusSession(); }
  void TearDown() override { delete session_; }

 private:
  GdiplusSession* session_ = nullptr;
};
[[maybe_unused]] auto* const gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace

UniqueBitmap SolidBitmap(int width, int height, COLORREF colour) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueDC dc(::CreateCompatibleDC(nullptr));
  SelectObjectScope select(dc.get(), bitmap.get());
  UniqueBrush brush(::CreateSolidBrush(colour));
  RECT all{0, 0, width, height};
  ::FillRect(dc.get(), &all, brush.get());
  return bitmap;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  return CaptureBitmap(bitmap).At(x, y);
}

bool SaveBitmap(HBITMAP bitmap, const std::wstring& path) {
  const SIZE size = BitmapSize(bitmap);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, size.cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const int stride = (size.cx * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * size.cy);
  UniqueDC dc(::CreateCompatibleDC(nullptr));
  if (!::GetDIBits(dc.get(), bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS))
    return false;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  UniqueFileHandle out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return out && ::WriteFile(out.get(), &file, sizeof(file), &written, nullptr) &&
         ::WriteFile(out.get(), &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
         ::WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written,
                     nullptr);
}

}  // namespace norvi::testkit
