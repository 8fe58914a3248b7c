#pragma once
// Shared pieces of the skinned-control tests: GDI+ for the whole run, solid test pictures
// and bitmap files to load.

#include <windows.h>

#include <string>

#include "framework/Gdi_win32.h"
#include "base/Handles_win32.h"

namespace norvi::testkit {

// A 24-bit picture of width x height filled with one colour.
UniqueBitmap SolidBitmap(int width, int height, COLORREF colour);
// The colour of one pixel of a bitmap.
COLORREF PixelOf(HBITMAP bitmap, int x, int y);
// Writes a 24-bit BMP file of the bitmap, as the skins folder holds them; true on success.
bool SaveBitmap(HBITMAP bitmap, const std::wstring& path);

}  // namespace norvi::testkit
