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
