#pragma once
// Loading and drawing of the skin pictures: bitmap files of the skins folder (OLE picture),
// cut-outs of full-window pictures, PNG resources (GDI+), nine-grid frames, tiled fills and
// window regions cut by a key colour.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "framework/Gdi_win32.h"

namespace norvi {

// Starts GDI+ for as long as it lives; whoever runs the windows (the application, a test)
// holds one.
class GdiplusSession {
 public:
  GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession();
  bool Started() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

// Loads a picture file into `bitmap` and returns its size. A missing, unreadable or
// non-picture file leaves `bitmap` empty and the size 0 x 0, so cut-outs from it stay empty.
bool LoadPictureFile(const std::u16string& path, UniqueBitmap& bitmap, SIZE& size);

// Size of a GDI bitmap (0 x 0 for none).
SIZE BitmapSize(HBITMAP bitmap);

// Makes `target` a new bitmap holding rectangle `part` of `source`. An empty source leaves the
// target as it was.
void CutBitmap(HDC dc, UniqueBitmap& target, HBITMAP source, const RECT& part);

// Loads resource `id` of `type` (the custom type "PNG") from `module` as a GDI+ image.
// Returns false and leaves `image` empty when the resource is missing or cannot be decoded.
bool LoadPngResource(HMODULE module, UINT id, const wchar_t* type,
                     std::unique_ptr<Gdiplus::Image>& image);

// Draws the source rectangle of `image` into `destination`, keeping the four corner x corner
// corners unscaled. Returns the status of the last failing draw (Ok when all succeeded).
Gdiplus::Status DrawNineGrid(Gdiplus::Graphics& graphics, Gdiplus::Image& image,
                             const RECT& destination, int srcX, int srcY, int srcWidth,
                             int srcHeight, int corner);

// Fills `destination` of `dc` by repeating cell `sourceCell` of `sourceDc`.
void TileBlit(HDC dc, const RECT& destination, HDC sourceDc, const RECT& sourceCell);

// Gives `window` a region that leaves out every pixel of `image` that has the colour of the
// image's top-left pixel.
void RegionFromKeyColour(HWND window, Gdiplus::Bitmap& image);

}  // namespace norvi
