#pragma once
// Shared pieces of the skinned-control tests: GDI+ for the whole run, solid test pictures,
// pixel reads and screenshots.

#include <windows.h>

#include <string>

#include "framework/Gdi_win32.h"
#include "framework/Handles_win32.h"

namespace norvi::testing {

// A 24-bit picture of width x height filled with one colour.
UniqueBitmap SolidBitmap(int width, int height, COLORREF colour);
// The colour of one pixel of a bitmap.
COLORREF PixelOf(HBITMAP bitmap, int x, int y);
// Writes a 24-bit BMP file of the bitmap; true on success.
bool SaveBitmap(HBITMAP bitmap, const std::wstring& path);
// The folder for test artefacts (NORVI_TEST_OUTPUT), with a trailing backslash.
std::wstring OutputFolder();
// Pumps this thread's messages for a while without waiting on anything.
void PumpMessages(int rounds = 20);

}  // namespace norvi::testing
