#pragma once
// The switcher's geometry, placement, keys and activation choice: portable rules that the
// Win32 window applies.

#include <array>
#include <cstdint>
#include <string_view>

#include "model/PlatformValues.h"
#include "swap/SwapEntry.h"

namespace norvi::swap {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const Point&) const = default;
};
struct Size {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const Size&) const = default;
};

// Rows: 310 x 38 pixels, 40 pixels apart, inside a 10-pixel margin.
inline constexpr int32_t kRowLeft = 10;
inline constexpr int32_t kRowRight = 320;
inline constexpr int32_t kRowTop = 10;
inline constexpr int32_t kRowHeight = 38;
inline constexpr int32_t kRowPitch = 40;
inline constexpr int32_t kSwitcherMargin = 20;

// Position modes of ShowSwapWindow; any other value opens the switcher at the cursor.
inline constexpr int32_t kPlaceCentred = 2;
inline constexpr int32_t kPlaceRightEdge = 4;
inline constexpr int32_t kPlaceLeftEdge = 8;
inline constexpr int32_t kLeftEdgeGap = 2;

// Whether a mode opens the switcher at the cursor rather than on the primary screen.
bool OpensAtCursor(int32_t mode);

SwapRect RowRect(int32_t index);
// The row (0 .. rows - 1) whose rectangle holds a point of the switcher's client area, or -1:
// the margins and the gaps between rows belong to no row.
int32_t RowAt(Point client, int32_t rows);
// Width from row 0 plus the margin; height for count windows and the desktop row.
Size SwitcherSize(int32_t count);
// Where a new switcher opens.
Point OpeningPosition(int32_t mode, Size window, Size screen, Point cursor);
// Top-left corner at the cursor, flipped to the left or upwards where it would leave the screen.
Point AtCursor(Size window, Size screen, Point cursor);
// How many windows a switcher lists in a work area this tall: the 29 of a full table, or as
// many as leave room for the desktop row. At least one, the top of the z-order.
int32_t ListedLimit(int32_t workHeight);
// The position moved the least to keep the window inside the work area; where it is larger
// than the area, its top-left corner stays inside.
Point ClampInto(Point at, Size window, const SwapRect& workArea);

// The pointer over the rows, as a row of push buttons sees it: a row is hovered while the
// pointer is over it, and clicked when the button goes down and up over the same row.
class RowPointer {
 public:
  static constexpr int32_t kNone = -1;
  int32_t hovered() const { return hovered_; }
  // The pointer is now over `row` (kNone: over no row). True when the hovered row changed.
  bool MoveTo(int32_t row);
  // The pointer left the switcher.
  void Leave() { hovered_ = kNone; }
  void Press(int32_t row) { pressed_ = row; }
  // The press was lost (another window took the mouse): no release clicks.
  void Cancel() { pressed_ = kNone; }
  // The button went up over `row`: the row clicked, or kNone.
  int32_t Release(int32_t row);

 private:
  int32_t hovered_ = kNone;
  int32_t pressed_ = kNone;
};

// Colours (0x00BBGGRR) of a switcher; the host may replace any of them.
struct SwitcherColours {
  uint32_t button = 0x005A1E8C;
  uint32_t hover = 0x00C9C9C9;
  uint32_t text = 0x00000000;
  uint32_t window = 0x005F3C3C;
};

// The desktop row's caption: Chinese on a Simplified Chinese system (kLangChineseSimplified).
std::u16string_view DesktopCaption(uint16_t systemLanguage);

// Keys the switcher acts on before anything else sees them.
enum class KeyAction { Default, Close, Swallow };
KeyAction KeyDownAction(uint32_t virtualKey);

// How a chosen window is shown before it is brought to the front: restored, maximised or
// as it is.
int32_t ActivationShowCommand(bool minimised, bool maximised);

// Win+D, which shows the desktop: key events as keybd_event takes them.
struct KeyStroke {
  uint8_t virtualKey = 0;
  uint32_t flags = 0;
  bool operator==(const KeyStroke&) const = default;
};
inline constexpr std::array<KeyStroke, 4> kShowDesktopKeys = {{
    {kVkLeftWin, kKeyExtended},
    {kVkD, kKeyExtended},
    {kVkD, kKeyExtended | kKeyUp},
    {kVkLeftWin, kKeyExtended | kKeyUp},
}};

}  // namespace norvi::swap
