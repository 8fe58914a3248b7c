#pragma once
// Portable geometry and pointer logic of the skinned popup menus: the rows of the vertical
// menu, what the pointer highlights or chooses, the owner-drawn tray items, and the pixel
// fix-ups that make a layered popup's text and black pixels show.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/ImageGeometry.h"

namespace norvi {

// The vertical menu: rows of 22 from y 6, 6 to 110 wide; the window is 116 wide and 3 taller
// than the last row's bottom.
constexpr int kMenuTop = 6;
constexpr int kMenuRowLeft = 6;
constexpr int kMenuRowRight = 110;
constexpr int kMenuRowHeight = 22;
constexpr int kMenuWidth = 116;
constexpr int kMenuBottomMargin = 3;

struct MenuLayout {
  std::vector<EdgeRect> rows;
  int width = 0;
  int height = 0;
};
MenuLayout LayOutMenu(size_t itemCount);

// Half-open test: left and top inside, right and bottom outside.
bool Contains(const EdgeRect& r, int x, int y);

// The hot row of a menu and what the pointer does to it. Each test returns whether the
// menu must be drawn again.
class MenuPointer {
 public:
  static constexpr int kNone = -1;
  int Hot() const { return hot_; }
  // The hot row stays while it holds the point; otherwise the first row holding it becomes
  // hot (none in the margins).
  bool Hover(const std::vector<EdgeRect>& rows, int x, int y);
  // Releasing the button over the hot row chooses it (chosen receives its index); released
  // elsewhere, the highlight goes and nothing is chosen.
  bool ButtonUp(const std::vector<EdgeRect>& rows, int x, int y, int& chosen);

 private:
  int hot_ = kNone;
};

// Text and icon places inside a menu row.
EdgeRect MenuTextRect(const EdgeRect& row);
PixelRect MenuIconRect(const EdgeRect& row, int iconWidth, int iconHeight);

// Owner-drawn items of the tray menu: 22 high, a 25-pixel icon column, the text 8 pixels
// right of it; icons 16 x 16 at (3, 3), or (2, 2) when selected. An item is as wide as its
// text needs, 75 at the least and kXPMaxItemWidth at the most.
constexpr int kXPItemWidth = 75;
constexpr int kXPMaxItemWidth = 320;
constexpr int kXPItemHeight = 22;
constexpr int kXPIconColumn = 25;
constexpr int kXPTextGap = 8;
constexpr int kXPTextMargin = 4;  // right of the text
constexpr int kXPIconSize = 16;
EdgeRect XPTextRect(const EdgeRect& item);
// Width of an item whose text is `textWidth` pixels wide.
int XPItemWidth(int textWidth);
// Widest text an item holds whole.
constexpr int kXPMaxTextWidth = kXPMaxItemWidth - kXPIconColumn - kXPTextGap - kXPTextMargin;

// The part of a text that may lose its middle when the text is too long (a program's name).
struct TextPart {
  size_t start = 0;
  size_t length = 0;
};
// The text itself when `fits` takes it; otherwise the fewest characters taken from the middle
// of `part` and replaced with one ellipsis that make it fit, both ends of the part kept. When
// even the ellipsis alone does not fit, the part becomes the ellipsis alone.
std::u16string ShortenMiddle(std::u16string_view text, TextPart part,
                             const std::function<bool(std::u16string_view)>& fits);
PixelRect XPIconRect(const EdgeRect& item, bool selected);

// Pixels of a 32-bit top-down DIB: 0xAARRGGBB (bytes blue, green, red, alpha).
// Text layer: the magenta key becomes transparent black (alpha kept), every other pixel opaque,
// and pure black turns blue 1 so that a colour key of black never cuts text out.
void KeyTextLayer(std::span<uint32_t> pixels);
// Pure black (any alpha) turns blue 1.
void LiftBlack(std::span<uint32_t> pixels);

}  // namespace norvi
