// The image helpers under Wine: picture files, cut-outs, PNG resources, nine-grid and tiled
// drawing, and key-colour regions.
#include <gtest/gtest.h>
#include <windows.h>

#include "TestSupport_win32.h"
#include "controls/ImageHelpers_win32.h"
#include "framework/Window_win32.h"
#include "base/WideText.h"
#include "res/ResourceIds.h"

namespace norvi {
namespace {

using testkit::PixelOf;
using testkit::SolidBitmap;

std::u16string TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  return U16(std::wstring(folder) + name);
}

TEST(LoadPictureFile, MissingOrNonPictureFilesLeaveEverythingEmpty) {
  UniqueBitmap bitmap = SolidBitmap(4, 4, RGB(1, 2, 3));
  SIZE size{7, 7};
  EXPECT_FALSE(LoadPictureFile(u"C:\\no\\such\\Main_Normal.bmp", bitmap, size));
  EXPECT_FALSE(bitmap);
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, 0);

  const std::u16string text = TempFile(L"norvi_not_a_picture.bmp");
  {
    UniqueFileHandle f(
        ::CreateFileW(W(text), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(f.get(), "hello, not a bitmap", 19, &written, nullptr);
  }
  size = SIZE{7, 7};
  EXPECT_FALSE(LoadPictureFile(text, bitmap, size));
  EXPECT_FALSE(bitmap);
  EXPECT_EQ(size.cx, 0);
  ::DeleteFileW(W(text));

  // Cut-outs of the empty picture stay empty, and an earlier cut-out is kept.
  UniqueBitmap cut;
  UniqueDC dc(::CreateCompatibleDC(nullptr));
  CutBitmap(dc.get(), cut, bitmap.get(), RECT{0, 0, 2, 2});
  EXPECT_FALSE(cut);
  UniqueBitmap earlier = SolidBitmap(2, 2, RGB(9, 9, 9));
  HBITMAP earlierHandle = earlier.get();
  CutBitmap(dc.get(), earlier, nullptr, RECT{0, 0, 2, 2});
  EXPECT_EQ(earlier.get(), earlierHandle);
}

TEST(LoadPictureFile, ReadsABitmapFileAndCutBitmapTakesItsRectangle) {
  UniqueBitmap source = SolidBitmap(40, 30, RGB(200, 10, 10));
  {
    UniqueDC dc(::CreateCompatibleDC(nullptr));
    SelectObjectScope select(dc.get(), source.get());
    UniqueBrush blue(::CreateSolidBrush(RGB(10, 10, 200)));
    RECT part{20, 10, 40, 30};
    ::FillRect(dc.get(), &part, blue.get());
  }
  const std::u16string path = TempFile(L"norvi_picture.bmp");
  ASSERT_TRUE(testkit::SaveBitmap(source.get(), std::wstring(W(path))));
  UniqueBitmap loaded;
  SIZE size{};
  ASSERT_TRUE(LoadPictureFile(path, loaded, size));
  ::DeleteFileW(W(path));
  EXPECT_EQ(size.cx, 40);
  EXPECT_EQ(size.cy, 30);

  UniqueBitmap cut;
  UniqueDC screen(::CreateCompatibleDC(nullptr));
  WindowDC desktop(nullptr);
  CutBitmap(desktop.get(), cut, loaded.get(), RECT{15, 5, 25, 15});
  EXPECT_EQ(BitmapSize(cut.get()).cx, 10);
  EXPECT_EQ(BitmapSize(cut.get()).cy, 10);
  EXPECT_EQ(PixelOf(cut.get(), 0, 0), RGB(200, 10, 10));
  EXPECT_EQ(PixelOf(cut.get(), 9, 9), RGB(10, 10, 200));  // (24, 14) of the source
  EXPECT_EQ(PixelOf(cut.get(), 4, 4), RGB(200, 10, 10));  // (19, 9)
}

TEST(LoadPngResource, LoadsTheFrameAndFailsCleanlyForMissingIds) {
  std::unique_ptr<Gdiplus::Image> image;
  ASSERT_TRUE(LoadPngResource(nullptr, IDP_POPUP_FRAME, L"PNG", image));
  EXPECT_EQ(image->GetWidth(), 65u);
  EXPECT_EQ(image->GetHeight(), 65u);
  EXPECT_FALSE(LoadPngResource(nullptr, 4711, L"PNG", image));
  EXPECT_FALSE(image);
  // A bitmap resource is not a PNG resource.
  EXPECT_FALSE(LoadPngResource(nullptr, IDB_SCROLLBAR_SKIN, L"PNG", image));
}

TEST(DrawNineGrid, KeepsCornersAndStretchesTheCentre) {
  // A 9 x 9 source: 3-pixel corners red, edges green, centre blue.
  Gdiplus::Bitmap source(9, 9, PixelFormat32bppARGB);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      const bool edgeX = x < 3 || x >= 6, edgeY = y < 3 || y >= 6;
      const Gdiplus::Color c = edgeX && edgeY   ? Gdiplus::Color(255, 255, 0, 0)
                               : edgeX || edgeY ? Gdiplus::Color(255, 0, 255, 0)
                                                : Gdiplus::Color(255, 0, 0, 255);
      source.SetPixel(x, y, c);
    }
  Gdiplus::Bitmap target(30, 20, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics g(&target);
    g.Clear(Gdiplus::Color(255, 255, 255, 255));
    g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    EXPECT_EQ(DrawNineGrid(g, source, RECT{0, 0, 30, 20}, 0, 0, 9, 9, 3), Gdiplus::Ok);
  }
  Gdiplus::Color c;
  auto rgb = [&](int x, int y) {
    target.GetPixel(x, y, &c);
    return RGB(c.GetR(), c.GetG(), c.GetB());
  };
  EXPECT_EQ(rgb(1, 1), RGB(255, 0, 0));    // top-left corner
  EXPECT_EQ(rgb(28, 18), RGB(255, 0, 0));  // bottom-right corner
  EXPECT_EQ(rgb(15, 1), RGB(0, 255, 0));   // top edge
  EXPECT_EQ(rgb(15, 10), RGB(0, 0, 255));  // centre
  EXPECT_EQ(rgb(1, 10), RGB(0, 255, 0));   // left edge
}

TEST(TileBlit, RepeatsTheCellAndClipsTheLastTiles) {
  // Source: a 4 x 4 cell at (4, 0) whose top-left pixel is marked.
  UniqueBitmap source = SolidBitmap(8, 4, RGB(0, 0, 0));
  UniqueDC sourceDc(::CreateCompatibleDC(nullptr));
  SelectObjectScope selectSource(sourceDc.get(), source.get());
  ::SetPixel(sourceDc.get(), 4, 0, RGB(255, 0, 0));
  UniqueBitmap target = SolidBitmap(12, 8, RGB(255, 255, 255));
  {
    UniqueDC targetDc(::CreateCompatibleDC(nullptr));
    SelectObjectScope select(targetDc.get(), target.get());
    TileBlit(targetDc.get(), RECT{1, 1, 11, 7}, sourceDc.get(), RECT{4, 0, 8, 4});
  }
  EXPECT_EQ(PixelOf(target.get(), 0, 0), RGB(255, 255, 255));  // outside
  EXPECT_EQ(PixelOf(target.get(), 1, 1), RGB(255, 0, 0));      // tile origins
  EXPECT_EQ(PixelOf(target.get(), 5, 1), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(target.get(), 9, 5), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(target.get(), 10, 6), RGB(0, 0, 0));        // clipped last tile
  EXPECT_EQ(PixelOf(target.get(), 11, 6), RGB(255, 255, 255));  // right of the destination
  EXPECT_EQ(PixelOf(target.get(), 10, 7), RGB(255, 255, 255));  // below it
}

TEST(RegionFromKeyColour, LeavesOutExactlyTheKeyColouredPixels) {
  constexpr int kW = 12, kH = 8;
  const Gdiplus::Color key(255, 255, 0, 255), shape(255, 40, 90, 160);
  Gdiplus::Bitmap picture(kW, kH, PixelFormat32bppARGB);
  auto isKey = [](int x, int y) {
    const bool outside = x < 2 || x >= 10 || y < 1 || y >= 7;
    const bool hole = x == 5 && y == 4;  // the key colour inside the shape is cut out too
    return outside || hole;
  };
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) picture.SetPixel(x, y, isKey(x, y) ? key : shape);
  Window window;
  ASSERT_TRUE(window.Create(nullptr, RECT{0, 0, kW, kH}, WS_POPUP));
  RegionFromKeyColour(window.hwnd(), picture);
  UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(window.hwnd(), region.get()), ERROR);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      EXPECT_EQ(::PtInRegion(region.get(), x, y) != 0, !isKey(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace norvi
