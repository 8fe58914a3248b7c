// Geometry of the skinned scroll bars with the picker's 18-pixel cells: parts along a bar,
// hit tests at every boundary, thumb drags and their limits, the clipping window and corner.
#include <gtest/gtest.h>

#include "controls/ScrollBarGeometry.h"

namespace norvi {
namespace {

constexpr int kCell = 18;
constexpr int kListHeight = 171;                   // the picker's list: track 135
constexpr ScrollState kThirteenRows{0, 12, 9, 0};  // 13 rows, 9 visible: positions 0..4

struct LayoutCase {
  const char* name;
  int length;
  ScrollState state;
  int position;
  BarSpan up, pageUp, thumb, pageDown, down;
};

TEST(ScrollBarLayout, PlacesArrowsTrackAndThumb) {
  // clang-format off
  const LayoutCase cases[] = {
      // Shorter than two cells: two half-length arrows and no thumb.
      {"short", 30, kThirteenRows, 0, {0, 15}, {15, 15}, {15, 15}, {15, 15}, {15, 30}},
      // The page covers the range: no thumb, the track split in half.
      {"page = range", kListHeight, {0, 8, 9, 0}, 0, {0, 18}, {18, 85}, {85, 85}, {85, 153}, {153, 171}},
      {"page > range", kListHeight, {0, 8, 12, 0}, 0, {0, 18}, {18, 85}, {85, 85}, {85, 153}, {153, 171}},
      // 9 * 135 / 13 = 93 pixels of thumb over 4 free positions.
      {"middle", kListHeight, kThirteenRows, 2, {0, 18}, {18, 39}, {39, 132}, {132, 153}, {153, 171}},
      {"end", kListHeight, kThirteenRows, 4, {0, 18}, {18, 60}, {60, 153}, {153, 153}, {153, 171}},
      {"minimum not zero", kListHeight, {10, 22, 9, 12}, 12, {0, 18}, {18, 39}, {39, 132}, {132, 153}, {153, 171}},
      {"at least 6", kListHeight, {0, 999, 1, 0}, 0, {0, 18}, {18, 18}, {18, 24}, {24, 153}, {153, 171}},
      {"track of 5", 41, kThirteenRows, 0, {0, 18}, {18, 18}, {18, 18}, {18, 23}, {23, 41}},
  };
  // clang-format on
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    const BarLayout layout = LayoutScrollBar(c.length, kCell, c.state, c.position);
    EXPECT_EQ(layout.Part(kPartLineUp), c.up);
    EXPECT_EQ(layout.Part(kPartPageUp), c.pageUp);
    EXPECT_EQ(layout.Part(kPartThumb), c.thumb);
    EXPECT_EQ(layout.Part(kPartPageDown), c.pageDown);
    EXPECT_EQ(layout.Part(kPartLineDown), c.down);
  }
}

TEST(ScrollBarHitTest, FindsThePartAtEveryBoundary) {
  const struct {
    int coordinate, part;
  } cases[] = {{-1, kPartNone},      {0, kPartLineUp},     {17, kPartLineUp},
               {18, kPartPageUp},    {38, kPartPageUp},    {39, kPartThumb},
               {131, kPartThumb},    {132, kPartPageDown}, {152, kPartPageDown},
               {153, kPartLineDown}, {170, kPartLineDown}, {171, kPartNone}};
  for (const auto& c : cases) {
    EXPECT_EQ(HitTestScrollBar(kListHeight, kCell, kThirteenRows, 2, c.coordinate), c.part)
        << "at " << c.coordinate;
  }
  // Without free range the drawing has no thumb, but the hit test finds one over the track.
  EXPECT_EQ(HitTestScrollBar(kListHeight, kCell, {0, 8, 9, 0}, 0, 20), kPartThumb);
  EXPECT_EQ(HitTestScrollBar(30, kCell, kThirteenRows, 0, 15), kPartLineDown);
}

TEST(ScrollBarDrag, MovesByFreeRangeOverMovableLengthWithinTheLimits) {
  const struct {
    int length;
    ScrollState state;
    int start, delta, expected;
  } cases[] = {
      {kListHeight, kThirteenRows, 0, 21, 2},  // 21 * 4 / 42
      {kListHeight, kThirteenRows, 0, 10, 0},
      {kListHeight, kThirteenRows, 2, -11, 1},
      {kListHeight, kThirteenRows, 0, -50, 0},  // clamped at the minimum
      {kListHeight, kThirteenRows, 0, 500, 4},  // clamped at maximum - page + 1
      {kListHeight, {10, 22, 9, 10}, 10, 42, 14},
      {kListHeight, {10, 22, 9, 10}, 10, -42, 10},
      {36, kThirteenRows, 3, 20, 3},  // no track: nothing to move
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DragScrollPosition(c.length, kCell, c.state, c.start, c.delta), c.expected)
        << "from " << c.start << " by " << c.delta;
  }
}

TEST(ScrollFrame, PlacesTheCornerBetweenTwoBars) {
  int row = -1;
  EXPECT_EQ(CornerRect(CornerModeFor(true, true, true), 372, 171, kCell, row),
            (EdgeRect{0, 153, 18, 171}));
  EXPECT_EQ(row, kRowHot);
  EXPECT_EQ(CornerRect(CornerModeFor(true, true, false), 372, 171, kCell, row),
            (EdgeRect{354, 153, 372, 171}));
  EXPECT_EQ(row, kRowNormal);
  EXPECT_EQ(CornerModeFor(true, false, false), kNoCorner);
  EXPECT_EQ(ClippingRect(372, 171, kCell, true, true, true), (EdgeRect{18, 0, 372, 153}));
}

}  // namespace
}  // namespace norvi
