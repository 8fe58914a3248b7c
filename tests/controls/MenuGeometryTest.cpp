// The popup menu's rows, the pointer's highlight and choice, the tray items' places and the
// layered popup's pixel fix-ups.
#include "controls/MenuGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace norvi {
namespace {

TEST(MenuLayout, RowsOf22FromY6AndTheWindowThreeBelowTheLast) {
  struct Case {
    size_t items;
    int height;
  };
  for (const Case c : {Case{0, 9}, Case{1, 31}, Case{12, 273}}) {
    const MenuLayout layout = LayOutMenu(c.items);
    EXPECT_EQ(layout.width, 116) << c.items;
    EXPECT_EQ(layout.height, c.height) << c.items;
    ASSERT_EQ(layout.rows.size(), c.items);
  }
  const MenuLayout twelve = LayOutMenu(12);
  EXPECT_EQ(twelve.rows[0].top, 6);
  EXPECT_EQ(twelve.rows[11].left, 6);
  EXPECT_EQ(twelve.rows[11].top, 248);
  EXPECT_EQ(twelve.rows[11].right, 110);
  EXPECT_EQ(twelve.rows[11].bottom, 270);
}

TEST(MenuPointer, HoverHighlightsTheRowUnderThePointAndNothingInTheMargins) {
  const std::vector<EdgeRect> rows = LayOutMenu(12).rows;
  struct Case {
    int x, y, hot;
  };
  const Case cases[] = {
      {6, 6, 0},      {109, 27, 0},  {50, 28, 1}, {50, 269, 11},  // inside, edges
      {20, 60, 2},                                                // the hot row still
      {5, 10, -1},    {110, 10, -1}, {50, 5, -1}, {50, 270, -1},  // the four margins
      {115, 272, -1}, {0, 0, -1},
  };
  for (const Case& c : cases) {
    MenuPointer pointer;
    pointer.Hover(rows, 50, 50);  // row 2 is hot before
    EXPECT_EQ(pointer.Hover(rows, c.x, c.y), c.hot != 2) << "redraw only on a change";
    EXPECT_EQ(pointer.Hot(), c.hot) << c.x << "," << c.y;
  }
}

TEST(MenuPointer, ReleaseChoosesOnlyOverTheHotRow) {
  const std::vector<EdgeRect> rows = LayOutMenu(12).rows;
  struct Case {
    const char* what;
    bool hoverFirst;
    int upX, upY;
    int chosen;
    bool redraw;
    int hotAfter;
  };
  const Case cases[] = {
      {"released on the hot row", true, 60, 40, 1, false, 1},
      {"dragged off and released outside", true, 200, 40, -1, true, -1},
      {"released in the margin", true, 3, 40, -1, true, -1},
      {"released on another row", true, 60, 60, -1, true, -1},
      {"nothing hot", false, 60, 40, -1, false, -1},
  };
  for (const Case& c : cases) {
    MenuPointer pointer;
    if (c.hoverFirst) pointer.Hover(rows, 60, 35);
    int chosen = 99;
    EXPECT_EQ(pointer.ButtonUp(rows, c.upX, c.upY, chosen), c.redraw) << c.what;
    EXPECT_EQ(chosen, c.chosen) << c.what;
    EXPECT_EQ(pointer.Hot(), c.hotAfter) << c.what;
  }
}

TEST(MenuItems, TextAndIconPlaces) {
  const EdgeRect row{6, 28, 110, 50};
  const EdgeRect text = MenuTextRect(row);
  EXPECT_EQ(text.left, 36);
  EXPECT_EQ(text.right, 118);
  EXPECT_EQ(text.top, 28);
  EXPECT_EQ(MenuIconRect(row, 19, 11), (PixelRect{9, 33, 19, 11}));
  const EdgeRect item{0, 22, 75, 44};
  EXPECT_EQ(XPTextRect(item).left, 33);
  EXPECT_EQ(XPTextRect(item).right, 75);
  EXPECT_EQ(XPIconRect(item, false), (PixelRect{3, 25, 16, 16}));
  EXPECT_EQ(XPIconRect(item, true), (PixelRect{2, 24, 16, 16}));
}

TEST(LayeredPixels, TextLayerKeysMagentaAndKeepsBlackVisible) {
  struct Case {
    uint32_t in, text, lifted;
  };
  const Case cases[] = {
      {0x00FF00FF, 0x00000000, 0x00FF00FF},  // magenta key: transparent
      {0x80FF00FF, 0x80000000, 0x80FF00FF},  // its alpha stays
      {0x00000000, 0xFF000001, 0x00000001},  // black text: opaque, blue 1
      {0x00050505, 0xFF050505, 0x00050505},  // the menu's text colour
      {0x00FF00FE, 0xFFFF00FE, 0x00FF00FE},  // nearly magenta is text
      {0xFF000100, 0xFF000100, 0xFF000100},  // not pure black
  };
  for (const Case& c : cases) {
    uint32_t text = c.in, lifted = c.in;
    KeyTextLayer(std::span(&text, 1));
    LiftBlack(std::span(&lifted, 1));
    EXPECT_EQ(text, c.text) << std::hex << c.in;
    EXPECT_EQ(lifted, c.lifted) << std::hex << c.in;
  }
}

TEST(TrayItems, WidthFollowsTheTextBetweenTheNarrowestAndTheWidestItem) {
  EXPECT_EQ(XPItemWidth(0), 75);
  EXPECT_EQ(XPItemWidth(38), 75);  // 25 + 8 + 38 + 4
  EXPECT_EQ(XPItemWidth(39), 76);
  EXPECT_EQ(XPItemWidth(283), 320);
  EXPECT_EQ(XPItemWidth(284), 320);
  EXPECT_EQ(kXPMaxTextWidth, 283);
}

TEST(TrayItems, ALongNameLosesItsMiddleAndNothingElse) {
  // One character, one unit of width: the text fits at ten or fewer.
  const auto fitsTen = [](std::u16string_view t) { return t.size() <= 10; };
  struct Case {
    std::u16string_view text;
    TextPart part;
    std::u16string_view shown;
  };
  const Case cases[] = {
      {u"ab0123cd", {2, 4}, u"ab0123cd"},                // fits: untouched
      {u"ab0123456789cd", {2, 10}, u"ab012\u202689cd"},  // five out, the longer half first
      {u"ab01234567cd", {2, 8}, u"ab012\u202667cd"},     // three out
      {u"abcdefgh0123", {8, 4}, u"abcdefgh0\u2026"},     // the part at the end
      {u"abcdefghijk0", {11, 1}, u"abcdefghijk\u2026"},  // only the ellipsis is left
      {u"abcdefghijklm", {1, 2}, u"a\u2026defghijklm"},  // too long even so: the part goes
      {u"ab0123456789cd", {20, 4}, u"ab0123456789cd"},   // a part outside the text
  };
  for (const Case& c : cases)
    EXPECT_EQ(ShortenMiddle(c.text, c.part, fitsTen), c.shown) << c.part.start;
}

}  // namespace
}  // namespace norvi
