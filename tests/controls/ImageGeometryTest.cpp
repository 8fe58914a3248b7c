// Nine-grid pieces, tiling and the button's choice of look.
#include "controls/ImageGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace norvi {
namespace {

TEST(NineGrid, PiecesFollowTheTableOrderWithUnscaledCorners) {
  const auto p = NineGridPieces(EdgeRect{10, 20, 110, 70}, PixelRect{0, 0, 65, 65}, 32);
  // top-left, left edge, bottom-left, top edge, top-right, right edge, bottom-right, bottom
  // edge, centre
  const std::array<PixelRect, 9> dest{{{10, 20, 32, 32},
                                       {10, 52, 32, -14},
                                       {10, 38, 32, 32},
                                       {42, 20, 36, 32},
                                       {78, 20, 32, 32},
                                       {78, 52, 32, -14},
                                       {78, 38, 32, 32},
                                       {42, 38, 36, 32},
                                       {42, 52, 36, -14}}};
  const std::array<PixelRect, 9> src{{{0, 0, 32, 32},
                                      {0, 32, 32, 1},
                                      {0, 33, 32, 32},
                                      {32, 0, 1, 32},
                                      {33, 0, 32, 32},
                                      {33, 32, 32, 1},
                                      {33, 33, 32, 32},
                                      {32, 33, 1, 32},
                                      {32, 32, 1, 1}}};
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(p[i].destination, dest[i]) << "piece " << i;
    EXPECT_EQ(p[i].source, src[i]) << "piece " << i;
  }
  // The destination is 50 high, less than two corners: the middle row has negative height
  // and is skipped by the drawing.
  EXPECT_TRUE(p[1].destination.Empty());
  EXPECT_TRUE(p[8].destination.Empty());
}

TEST(NineGrid, CornerZeroIsAPlainScaledDrawOfTheCentre) {
  const auto p = NineGridPieces(EdgeRect{5, 5, 105, 55}, PixelRect{3, 4, 20, 10}, 0);
  for (size_t i = 0; i < 8; ++i) EXPECT_TRUE(p[i].destination.Empty()) << "piece " << i;
  EXPECT_EQ(p[8].destination, (PixelRect{5, 5, 100, 50}));
  EXPECT_EQ(p[8].source, (PixelRect{3, 4, 20, 10}));
}

std::vector<PixelRect> Tiles(EdgeRect d, int w, int h) {
  std::vector<PixelRect> tiles;
  ForEachTile(d, w, h, [&](const PixelRect& t) { tiles.push_back(t); });
  return tiles;
}

TEST(Tiles, CoverTheDestinationAndClipAtTheRightAndBottom) {
  EXPECT_EQ(Tiles({0, 0, 40, 25}, 18, 18), (std::vector<PixelRect>{{0, 0, 18, 18},
                                                                   {18, 0, 18, 18},
                                                                   {36, 0, 4, 18},
                                                                   {0, 18, 18, 7},
                                                                   {18, 18, 18, 7},
                                                                   {36, 18, 4, 7}}));
  // Narrower than one cell: one clipped tile.
  EXPECT_EQ(Tiles({3, 4, 10, 12}, 18, 18), (std::vector<PixelRect>{{3, 4, 7, 8}}));
  // Top not above bottom: nothing.
  EXPECT_TRUE(Tiles({0, 10, 40, 10}, 18, 18).empty());
  EXPECT_TRUE(Tiles({0, 0, 40, 10}, 0, 18).empty());
}

TEST(ButtonLook, FirstMatchWinsInTheOrderPressedHoveredDisabledNormal) {
  using L = ButtonLook;
  // toggle mode, checked, pressed, hovered, disabled
  EXPECT_EQ(ChooseButtonLook(false, false, true, true, true), L::Down);
  EXPECT_EQ(ChooseButtonLook(false, true, false, false, false), L::Normal);  // check ignored
  EXPECT_EQ(ChooseButtonLook(true, true, false, false, false), L::Down);     // keeps look
  EXPECT_EQ(ChooseButtonLook(true, false, true, true, false), L::Over);      // press ignored
  EXPECT_EQ(ChooseButtonLook(false, false, false, true, true), L::Over);     // before disabled
  EXPECT_EQ(ChooseButtonLook(false, false, false, false, true), L::Disabled);
  EXPECT_EQ(ChooseButtonLook(true, false, false, false, false), L::Normal);
}

TEST(ButtonLook, CaptionIsCentredByTheMeasuredHeight) {
  const EdgeRect r = CaptionRect(66, 32, 13);
  EXPECT_EQ(r.left, 8);
  EXPECT_EQ(r.right, 61);
  EXPECT_EQ(r.top, 16 - 6);
  EXPECT_EQ(r.bottom, 32);
}

}  // namespace
}  // namespace norvi
