#pragma once
// The PNG slider: a track (CPngHSliderBar) that shows the owner's background behind it and
// jumps to a clicked value, and a thumb (CPngHSlider) shaped like its picture that the user
// drags. Both report the value to the owner with a posted UM_SPEED_CHANGED.

#include <windows.h>
// GDI+ needs these two first, in this order.
#include <objidl.h>

#include <gdiplus.h>

#include <memory>
#include <string>

#include "app/SliderGeometry.h"
#include "framework/Window_win32.h"

namespace norvi {

class CPngHSlider : public Window {
 public:
  // Creates the thumb at the bottom left of a bar of barWidth x barHeight; false when the
  // picture cannot be loaded or the window not created.
  bool Create(HWND bar, std::unique_ptr<Gdiplus::Bitmap> picture, int barWidth, int barHeight,
              UINT id);
  void SetRange(int minimum, int maximum);
  void SetPos(int value);
  int Pos() const { return value_; }
  void Enable(bool enable) { disabled_ = !enable; }
  ThumbTrack Track() const { return {0, maxX_, width_}; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint();
  void DragTo(int screenX);

  std::unique_ptr<Gdiplus::Bitmap> picture_;
  int width_ = 0;
  int height_ = 0;
  int maxX_ = 0;
  int barHeight_ = 0;
  UINT id_ = 0;
  SliderRange range_{1, 10};
  int value_ = 0;
  bool dragging_ = false;
  int dragStartX_ = 0;     // screen x of the press
  int dragStartLeft_ = 0;  // thumb left edge at the press, bar coordinates
  bool disabled_ = false;
};

class CPngHSliderBar : public Window {
 public:
  bool Create(const std::u16string& thumbPath, const RECT& rect, HWND owner, UINT id);
  void SetTravelRect(const RECT& travel) { travel_ = travel; }
  void SetRange(int minimum, int maximum);
  // Cuts (x, y, width, height) of `source` as the track's background.
  void SetTrackBackground(Gdiplus::Bitmap& source, int x, int y, int width, int height);
  void SetPos(int value);
  int Pos() const { return thumb_.Pos(); }
  void Enable(bool enable);
  const CPngHSlider& Thumb() const { return thumb_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint();
  void ClickAt(POINT barPoint);

  HWND owner_ = nullptr;
  UINT id_ = 0;
  RECT rect_{};
  RECT travel_{};
  SliderRange range_{0, 10};
  std::unique_ptr<Gdiplus::Bitmap> background_;
  bool disabled_ = false;
  CPngHSlider thumb_;
};

}  // namespace norvi
