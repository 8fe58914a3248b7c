#pragma once
// The main window's skin: its pictures, the 21 controls cut from them, and the labels drawn
// over the option buttons in the current language. The dialog routes; this owns what is drawn.

#include <windows.h>

#include <array>
#include <optional>

#include "app/MainLayout.h"
#include "app/MainServices_win32.h"
#include "app/PngHSlider_win32.h"
#include "controls/BitmapEdit_win32.h"
#include "controls/GDIBitmapBtn_win32.h"
#include "framework/Gdi_win32.h"

namespace norvi {

inline RECT ToRect(const LayoutRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

class MainSkin {
 public:
  explicit MainSkin(const MainServices& services) : services_(services) {}

  // Loads the pictures, sizes and centres window on the screen and creates its controls.
  void Build(HWND window);
  // Captions, their faces and the option buttons' labels in the language just loaded.
  void Relabel();
  // The background with its labels, for the dirty part of a canvas the window's size.
  void PaintBackground(HDC canvas, const RECT& dirty) const;

  SIZE Size() const { return size_; }
  RECT Place(MainControl control) const;
  CGDIBitmapBtn& Button(MainControl control) { return buttons_[static_cast<size_t>(control)]; }
  // Which control a button window is; none for other windows.
  std::optional<MainControl> ControlOf(HWND button) const;
  CPngHSliderBar& Slider() { return slider_; }
  CBitmapEdit& WheelEdit() { return wheelEdit_; }

 private:
  void CreateControl(const ControlPlace& place, Gdiplus::Bitmap* languageBackground, HBITMAP over,
                     HBITMAP down);
  // The option buttons' looks: their label-free pictures with the labels of the current
  // language drawn over them.
  void LabelOptionButtons();
  UniqueBitmap LabelledPicture(HDC reference, HBITMAP labelFree, const RECT& place) const;

  const MainServices& services_;
  HWND window_ = nullptr;
  UniqueBitmap normal_;  // the background; buttons keep their own cut pictures
  SIZE size_{};
  bool chineseLayout_ = false;  // the layout the skin was built for, whatever language follows
  // The label-free looks of the buttons that carry a label (precision, rows, screen), in
  // order: normal, over, down.
  std::array<std::array<UniqueBitmap, 3>, 3> optionLooks_;
  // One button per place of the layout; the slider's and the edit's places stay unused.
  std::array<CGDIBitmapBtn, kMainControlCount> buttons_;
  CPngHSliderBar slider_;
  CBitmapEdit wheelEdit_;
};

}  // namespace norvi
