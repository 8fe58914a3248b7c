#include <gtest/gtest.h>

#include "swap/SwitcherLayout.h"

namespace norvi::swap {
namespace {

TEST(SwitcherLayout, ThreeWindowsMake330By180WithTheDesktopRowFourth) {
  EXPECT_EQ(SwitcherSize(3), (Size{330, 180}));
  const SwapRect desktop = RowRect(3);
  EXPECT_EQ(desktop.left, 10);
  EXPECT_EQ(desktop.top, 130);
  EXPECT_EQ(desktop.right, 320);
  EXPECT_EQ(desktop.bottom, 168);
  EXPECT_EQ(SwitcherSize(1), (Size{330, 100}));
}

TEST(SwitcherLayout, FixedModesPlaceTheSwitcherOnTheScreen) {
  const Size window = SwitcherSize(3);
  const Size screen{1920, 1080};
  const Point cursor{5, 5};
  EXPECT_EQ(OpeningPosition(kPlaceRightEdge, window, screen, cursor), (Point{1590, 450}));
  EXPECT_EQ(OpeningPosition(kPlaceLeftEdge, window, screen, cursor), (Point{2, 450}));
  EXPECT_EQ(OpeningPosition(kPlaceCentred, window, screen, cursor), (Point{795, 450}));
  // Odd remainders truncate.
  EXPECT_EQ(OpeningPosition(kPlaceCentred, {330, 181}, {1001, 1000}, cursor), (Point{335, 409}));
}

TEST(SwitcherLayout, CursorModeOpensAwayFromTheEdgesItWouldCross) {
  const Size window = SwitcherSize(3);
  const Size screen{1920, 1080};
  for (int32_t mode : {0, 1, 3, -1, 16}) {
    EXPECT_EQ(OpeningPosition(mode, window, screen, {1820, 100}), (Point{1490, 100})) << mode;
    EXPECT_EQ(OpeningPosition(mode, window, screen, {400, 1000}), (Point{400, 820})) << mode;
    EXPECT_EQ(OpeningPosition(mode, window, screen, {1900, 1070}), (Point{1570, 890})) << mode;
  }
  // Touching the edge exactly still fits.
  EXPECT_EQ(AtCursor(window, screen, {1590, 900}), (Point{1590, 900}));
}

TEST(SwitcherLayout, ListsNoMoreWindowsThanRowsFitInTheWorkArea) {
  struct Case {
    int32_t height;
    int32_t listed;
  };
  for (const Case c : {Case{1024, 24},
                       {1020, 24},
                       {1019, 23},
                       {1080, 25},
                       {1220, 29},
                       {1219, 28},
                       {1440, 29},
                       {100, 1},
                       {99, 1},
                       {0, 1},
                       {-40, 1}}) {
    EXPECT_EQ(ListedLimit(c.height), c.listed) << c.height;
    if (c.listed > 1 && c.listed < kMaxListed) {
      EXPECT_LE(SwitcherSize(c.listed).height, c.height) << c.height;
      EXPECT_GT(SwitcherSize(c.listed + 1).height, c.height) << c.height;
    }
  }
}

TEST(SwitcherLayout, ClampingKeepsTheSwitcherInsideTheWorkArea) {
  const SwapRect area{0, 0, 1280, 994};  // a taskbar of 30 along the bottom
  const Size window{330, 1020};
  struct Case {
    Point at;
    Size window;
    Point clamped;
  };
  for (const Case c : {
           Case{{475, 200}, {330, 180}, {475, 200}},   // inside: unchanged
           Case{{950, 814}, {330, 180}, {950, 814}},   // touching both far edges
           Case{{475, -58}, {330, 1140}, {475, 0}},    // taller than the area: top kept
           Case{{1000, 900}, {330, 180}, {950, 814}},  // past the taskbar
           Case{{-20, -5}, {330, 180}, {0, 0}},
           Case{{475, 2}, window, {475, 0}},
       })
    EXPECT_EQ(ClampInto(c.at, c.window, area), c.clamped) << c.at.x << "," << c.at.y;
  // A work area on a second monitor to the left and above.
  EXPECT_EQ(ClampInto({-100, -900}, {330, 180}, {-1920, -1080, 0, 0}), (Point{-330, -900}));
  EXPECT_EQ(ClampInto({5, 5}, {330, 180}, {-1920, -1080, 0, 0}), (Point{-330, -180}));
}

TEST(SwitcherLayout, APointHitsTheRowWhoseRectangleHoldsIt) {
  struct Case {
    Point at;
    int32_t rows;
    int32_t row;
  };
  for (const Case c : {Case{{10, 10}, 4, 0},   // top-left pixel of row 0
                       {{319, 47}, 4, 0},      // bottom-right pixel of row 0
                       {{320, 20}, 4, -1},     // right margin
                       {{9, 20}, 4, -1},       // left margin
                       {{100, 9}, 4, -1},      // top margin
                       {{100, 48}, 4, -1},     // the gap below row 0
                       {{100, 49}, 4, -1},     //
                       {{100, 50}, 4, 1},      // row 1 starts
                       {{100, 167}, 4, 3},     // last pixel line of the desktop row
                       {{100, 170}, 4, -1},    // below the last row
                       {{100, 170}, 5, 4},     // ...which is a row when there is one more
                       {{100, 1167}, 30, 28},  // the last pixel line of row 28
                       {{100, 1207}, 30, 29},  // the last of a full table
                       {{100, 1210}, 30, -1},  //
                       {{-5, -30}, 4, -1},     // outside, above and left
                       {{100, 20}, 0, -1}})    // no rows at all
    EXPECT_EQ(RowAt(c.at, c.rows), c.row) << c.at.x << "," << c.at.y << " of " << c.rows;
}

TEST(SwitcherLayout, RowsAreHoveredAndClickedAsPushButtonsAre) {
  RowPointer pointer;
  EXPECT_TRUE(pointer.MoveTo(2));
  EXPECT_FALSE(pointer.MoveTo(2)) << "no repaint while the pointer stays on a row";
  pointer.Leave();
  EXPECT_EQ(pointer.hovered(), RowPointer::kNone);

  pointer.Press(1);
  pointer.Leave();  // dragged out and back: still the row's press
  EXPECT_EQ(pointer.Release(1), 1);
  EXPECT_EQ(pointer.Release(1), RowPointer::kNone) << "one press, one click";
  pointer.Press(1);
  EXPECT_EQ(pointer.Release(2), RowPointer::kNone);
  pointer.Press(1);
  pointer.Cancel();
  EXPECT_EQ(pointer.Release(1), RowPointer::kNone) << "the press was taken away";
}

TEST(SwitcherLayout, OnlyTheThreeFixedModesOpenAwayFromTheCursor) {
  for (int32_t mode : {2, 4, 8}) EXPECT_FALSE(OpensAtCursor(mode)) << mode;
  for (int32_t mode : {0, 1, 3, 6, 16, -2}) EXPECT_TRUE(OpensAtCursor(mode)) << mode;
}

TEST(SwitcherLayout, DesktopCaptionFollowsTheSystemLanguage) {
  EXPECT_EQ(DesktopCaption(0x0804), u"\u684C\u9762");
  EXPECT_EQ(DesktopCaption(0x0404), u"Desktop");
  EXPECT_EQ(DesktopCaption(0x0409), u"Desktop");
}

TEST(SwitcherLayout, KeysAndActivation) {
  EXPECT_EQ(KeyDownAction(0x0D), KeyAction::Close);
  EXPECT_EQ(KeyDownAction(0x1B), KeyAction::Close);
  EXPECT_EQ(KeyDownAction(0x20), KeyAction::Swallow);
  EXPECT_EQ(KeyDownAction(0x09), KeyAction::Default);
  EXPECT_EQ(ActivationShowCommand(true, true), 9);
  EXPECT_EQ(ActivationShowCommand(false, true), 3);
  EXPECT_EQ(ActivationShowCommand(false, false), 5);
  EXPECT_EQ(kShowDesktopKeys[0], (KeyStroke{0x5B, 1}));
  EXPECT_EQ(kShowDesktopKeys[1], (KeyStroke{0x44, 1}));
  EXPECT_EQ(kShowDesktopKeys[2], (KeyStroke{0x44, 3}));
  EXPECT_EQ(kShowDesktopKeys[3], (KeyStroke{0x5B, 3}));
}

}  // namespace
}  // namespace norvi::swap
