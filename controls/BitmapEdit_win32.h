#pragma once
// The main window's number box: an edit control whose background is the piece of the window
// picture behind it, so only its digits show.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

#include "framework/Gdi_win32.h"
#include "framework/Window_win32.h"

namespace norvi {

class CBitmapEdit : public Window {
 public:
  static constexpr UINT kTextLimit = 256;
  static constexpr COLORREF kTextColour = RGB(88, 95, 103);

  // Creates the edit control and sets it up (text limit, font, styles).
  bool Create(HWND parent, const RECT& rect, DWORD style, UINT id);
  void SetRange(int minimum, int maximum);
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  // Uses area (x, y, width, height) of `bitmap` as the background.
  void SetBackground(Gdiplus::Bitmap& bitmap, int x, int y, int width, int height);
  HBRUSH BackgroundBrush() const { return brush_.get(); }

 protected:
  void OnSubclassed() override;
  bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  UniqueBrush brush_;
  std::unique_ptr<Gdiplus::Bitmap> background_;
  UniqueFont font_;
  int fontHeight_ = 12;
  int minimum_ = 0;
  int maximum_ = 10;
};

}  // namespace norvi
