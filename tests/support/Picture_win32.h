#pragma once
// What a window shows, as pixels a test can read and as a PNG file beside the other test
// artefacts (the folder named by NORVI_TEST_OUTPUT).

#include <windows.h>

#include <string>
#include <vector>

namespace norvi::testkit {

// Pixels as 0x00BBGGRR values, rows from the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

// The window's client area as it shows now, children included.
Picture CaptureWindow(HWND window);
// The screen's pixels in a rectangle (windows of other processes included).
Picture CaptureScreen(const RECT& r);
// The pixels of a bitmap that is selected into no device context.
Picture CaptureBitmap(HBITMAP bitmap);

// A path for a test artefact: in NORVI_TEST_OUTPUT (created if missing; a Unix path is
// reached through Wine's Z: drive), else beside the test program.
std::wstring OutputPath(const std::wstring& name);
// Writes the picture as a PNG file of that name in the output folder; true on success.
bool SavePng(const Picture& picture, const std::wstring& name);

}  // namespace norvi::testkit
