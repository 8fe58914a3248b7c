#pragma once
// The program's one button class: an owner-drawn push button whose look for each state is a
// picture cut from full-window pictures at the button's own rectangle, with an optional
// caption, hover tracking by mouse capture, toggle mode and a tooltip.

#include <windows.h>

#include <cstdint>
#include <string>

#include "controls/ImageGeometry.h"
#include "framework/Gdi_win32.h"
#include "framework/Tooltip_win32.h"
#include "framework/Window_win32.h"

namespace norvi {

class CGDIBitmapBtn : public Window {
 public:
  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;  // 0x5000000B
  static constexpr COLORREF kDisabledText = RGB(38, 42, 39);

  // Creates the button in `parent` at `rect` with kStyle, empty text and identifier 0.
  bool Create(HWND parent, const RECT& rect);

  // Cuts each full-window picture at `rect` (the owner's client coordinates) into the matching
  // state picture; then drops WS_BORDER and WS_TABSTOP.
  void SetImages(const RECT& rect, HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled);
  void SetCaption(const std::u16string& text);
  // The interface language of the caption and tooltip (1 to 12), which picks their font.
  void SetLanguage(int32_t language);
  const std::u16string& Caption() const { return caption_; }
  void SetCheck(int value);
  int GetCheck() const { return checked_; }
  void SetToggleMode(int toggle) { toggleMode_ = toggle; }
  void SetTextColours(COLORREF normal, COLORREF hover, COLORREF pressed);
  void SetUserValue(int value) { userValue_ = value; }
  int GetUserValue() const { return userValue_; }
  void SetTooltip(const std::u16string& text, bool activate);
  // An owner-drawn button reports the second of two quick clicks as BN_DOUBLECLICKED, not as a
  // click. Buttons that users click in quick succession (arrows, tabs, check boxes) set this so
  // that every click is a press and a BN_CLICKED.
  void SetRepeatClicks(bool repeat) { repeatClicks_ = repeat; }
  const Tooltip& tooltip() const { return tooltip_; }
  bool IsHovered() const { return hovered_ != 0; }

  // The picture and text colour for an owner-draw item state.
  ButtonLook LookFor(UINT itemState) const;
  HBITMAP Picture(ButtonLook look) const;
  COLORREF TextColour(ButtonLook look) const;

  bool PreTranslateMessage(MSG& msg) override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void OnSubclassed() override;

 private:
  void Draw(const DRAWITEMSTRUCT& item) const;
  void DrawCaption(HDC target, HBITMAP picture, const RECT& client, COLORREF colour) const;
  LRESULT OnMouseMove(WPARAM wp, LPARAM lp);
  void SetHovered(bool hovered);
  HWND OwnerWindow() const;
  void EnsureTooltip();

  std::u16string caption_;
  int32_t language_ = 0;
  UniqueFont tipFont_;  // declared first: the tooltip window that uses it goes first
  Tooltip tooltip_;
  std::u16string tipText_;
  bool tipSet_ = false;
  bool tipActive_ = false;
  UniqueBitmap normal_, over_, down_, disabled_;
  int toggleMode_ = 0;
  int checked_ = 0;
  int userValue_ = 0;
  int hovered_ = 0;
  bool repeatClicks_ = false;
  COLORREF normalText_ = RGB(189, 189, 200);
  COLORREF hoverText_ = RGB(255, 255, 255);
  COLORREF pressedText_ = RGB(38, 29, 5);
};

}  // namespace norvi
