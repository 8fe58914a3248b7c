#pragma once
// Where everything sits in the 1000 x 715 main window, for the Chinese and the other
// interface layout. Portable: plain numbers in client coordinates.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/ButtonSlot.h"
#include "model/FunctionName.h"

namespace norvi {

struct LayoutRect {
  int32_t left, top, right, bottom;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool operator==(const LayoutRect&) const = default;
};

// The main window's controls, in the order they are created.
enum class MainControl {
  Minimise,
  Close,
  SpeedSlider,
  Precision,
  RowsOption,
  RowsEdit,
  RowsUp,
  RowsDown,
  ScreenOption,
  Slot0,
  Slot1,
  Slot2,
  Slot3,
  Slot4,
  Slot5,
  Slot6,
  Slot7,
  Language,
  Pair,
  Defaults,
  Ok,
};
constexpr int kMainControlCount = 21;

struct ControlPlace {
  MainControl control;
  LayoutRect chinese;
  LayoutRect other;
};

const std::array<ControlPlace, kMainControlCount>& MainControlPlaces();
LayoutRect PlaceOf(MainControl control, bool chineseInterface);
MainControl SlotControl(int slot);

// The slider's thumb travels over this part of its bar (owner coordinates), range 1 to 20.
constexpr LayoutRect kSpeedTravel{106, 210, 272, 226};

// Hint line: font "MS Shell Dlg" 14 / 300, FF_SWISS, colour RGB(83, 97, 103).
constexpr LayoutRect kHintRect{88, 631, 333, 664};
constexpr uint32_t kHintColour = 0x00676153;  // GDI order 0x00BBGGRR
constexpr uint32_t kHintFlags = 0xA114;       // VCENTER WORDBREAK NOCLIP EDITCONTROL END_ELLIPSIS

// Caption colours of the pair, defaults and OK buttons (normal, hover, pressed).
constexpr uint32_t kCaptionGrey = 0x00505050;
constexpr uint32_t kCaptionWhite = 0x00FFFFFF;

// Language flag picture (control 1010): left, top, width, height.
constexpr int32_t kFlagControlId = 1010;
constexpr LayoutRect kFlagRect{39, 623, 39 + 38, 623 + 23};

// Language menu popup: placed at the language button's (left - 4, bottom - 287) on screen.
constexpr int32_t kLanguageMenuDx = -4;
constexpr int32_t kLanguageMenuDy = -287;
constexpr int32_t kLanguageMenuId = 0x401;

// The hover descriptions: 14 described controls, numbered 1 to 14.
constexpr int kDescribedCount = 14;

// The slot a control stands for (0 to 7), or -1 for any other control.
int SlotOf(MainControl control);
// The described control of a hover number (1 to 14).
MainControl DescribedControl(int number);
// What hover number 1 to 14 shows, in the hint line and the control's tooltip: a slot's
// function name (a key combination with its keys), else the control's own text. Empty for any
// other number.
std::u16string HoverText(int number, const SlotTable& slots, const IStringLookup& strings,
                         const IKeyNames& keyNames);

// The described controls under a point: bit n - 1 is set for number n when the control's
// rectangle, grown by 1 pixel on every side, holds (x, y). The main window posts the numbers in
// rising order, so where two grown rectangles overlap the higher number is shown.
uint32_t HoverHits(const std::array<LayoutRect, kDescribedCount>& rects, int32_t x, int32_t y);

// Window position centred on the full-screen area (integer division, as the system does).
constexpr int32_t CentredOrigin(int32_t screen, int32_t size) {
  return (screen - size) / 2;
}

}  // namespace norvi
