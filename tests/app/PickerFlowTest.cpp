// The main window's side of the picker: a choice stays pending until the next apply, and the
// hover line takes the later of two controls whose grown rectangles overlap.
#include <gtest/gtest.h>

#include "app/ApplyModel.h"
#include "app/MainLayout.h"
#include "model/ProfileImage.h"
#include "tests/app/Recorders.h"

namespace norvi {
namespace {

TEST(PickerFlow, PendingChoiceShowsInThePendingViewOnlyAndTakesEffectAtApply) {
  const struct {
    int slot;
    int32_t code;
    bool pendingShown;  // slot button checked in the pending view
    int32_t remappedAfterApply;
  } cases[] = {
      {SlotForward, 2, true, 1},
      {SlotMiddle, 67, false, 0},  // its own native code: nothing remapped
      {SlotRight, 96, true, 1},
  };
  for (const auto& c : cases) {
    ProfileImage profile = DefaultProfile();
    profile.Slots[c.slot].TempID = profile.Slots[c.slot].FunID = 5;  // remapped before
    profile.Remapped[c.slot] = 1;
    testkit::TraceRecorder trace;
    StorePendingChoice(profile, c.slot, c.code, u"", trace);
    const ButtonSlot& slot = profile.Slots[c.slot];
    EXPECT_EQ(slot.TempID, c.code);
    EXPECT_EQ(slot.FunID, 5) << "applied only at the next apply";
    EXPECT_EQ(SlotShownRemapped(slot, 0), c.pendingShown) << c.slot;
    EXPECT_TRUE(SlotShownRemapped(slot, 1)) << "the applied view still shows the old code";
    EXPECT_EQ(trace.lines, std::vector<std::string>{
                               testkit::Line("OnCommand:配置", c.slot, "按键.InitID:", slot.InitID,
                                             ",TempID:", c.code, ",FunID:5\r\n")});
    ApplyPendingChoices(profile, trace);
    EXPECT_EQ(profile.Slots[c.slot].FunID, c.code);
    EXPECT_EQ(profile.Remapped[c.slot], c.remappedAfterApply) << c.slot;
  }
}

TEST(HoverLine, GrownRectanglesOverlapAndTheHigherNumberIsPostedLast) {
  std::array<LayoutRect, kDescribedCount> rects{};
  rects[11] = PlaceOf(MainControl::Pair, false);      // number 12
  rects[12] = PlaceOf(MainControl::Defaults, false);  // number 13, 1 pixel to the right
  ASSERT_EQ(rects[11].right + 1, rects[12].left);
  const int32_t y = rects[11].top + 5;
  const struct {
    int32_t x;
    uint32_t hits;
  } cases[] = {
      {rects[11].right - 1, 1u << 11},
      {rects[11].right, (1u << 11) | (1u << 12)},  // the gap column: both, 13 wins
      {rects[12].left, 1u << 12},
      {rects[11].left - 1, 1u << 11},  // the grown edge
      {rects[11].left - 2, 0},
      {rects[12].right, 1u << 12},
      {rects[12].right + 1, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(HoverHits(rects, c.x, y), c.hits) << c.x;
  EXPECT_EQ(HoverHits(rects, rects[11].left, rects[11].top - 1), 1u << 11);
  EXPECT_EQ(HoverHits(rects, rects[11].left, rects[11].bottom + 1), 0u);
}

}  // namespace
}  // namespace norvi
