// The main window's labels: how a text takes one or two lines, where the lines go, and that
// every label names a language key.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/MainLabels.h"
#include "localisation/StringTable.h"

namespace norvi {
namespace {

// Six pixels a character, as a plain stand-in for a font.
int32_t SixEach(std::u16string_view text) {
  return static_cast<int32_t>(text.size()) * 6;
}

using Lines = std::vector<std::u16string>;

TEST(WrapLabel, KeepsOneLineWhenItFitsOrNoSecondIsAllowed) {
  EXPECT_EQ(WrapLabel(u"Wheel up", 48, 2, SixEach), Lines{u"Wheel up"});  // exactly as wide
  EXPECT_EQ(WrapLabel(u"  Wheel up ", 48, 2, SixEach), Lines{u"Wheel up"});
  EXPECT_EQ(WrapLabel(u"Each notch of the wheel", 60, 1, SixEach),
            Lines{u"Each notch of the wheel"});
  EXPECT_EQ(WrapLabel(u"Unbreakable", 30, 2, SixEach), Lines{u"Unbreakable"});
  EXPECT_EQ(WrapLabel(u"", 30, 2, SixEach), Lines{u""});
}

TEST(WrapLabel, SplitsTwoLinesWhereTheWiderIsNarrowest) {
  // The artwork's own break: the greedy "The following number of" would be wider.
  EXPECT_EQ(WrapLabel(u"The following number of lines at a time", 162, 2, SixEach),
            (Lines{u"The following number", u"of lines at a time"}));
  EXPECT_EQ(WrapLabel(u"Nach rechts kippen", 58, 2, SixEach), (Lines{u"Nach rechts", u"kippen"}));
  EXPECT_EQ(WrapLabel(u"Tilt  right", 30, 2, SixEach), (Lines{u"Tilt", u"right"}));
  // Too wide even split: the lines still come, wider than the place.
  EXPECT_EQ(WrapLabel(u"Zeigergeschwindigkeit hoch", 40, 2, SixEach),
            (Lines{u"Zeigergeschwindigkeit", u"hoch"}));
}

TEST(WrapLabel, BreaksBetweenHanCharactersButNotBeforeClosingPunctuationOrInsideHangul) {
  EXPECT_EQ(WrapLabel(u"一次滚动下列行数", 30, 2, SixEach), (Lines{u"一次滚动", u"下列行数"}));
  // Only "滚动：" and "滚" / "动：" could come apart, never "动" / "：".
  EXPECT_EQ(WrapLabel(u"滚动：", 12, 2, SixEach), (Lines{u"滚", u"动："}));
  EXPECT_EQ(WrapLabel(u"오른쪽기울이기", 30, 2, SixEach), Lines{u"오른쪽기울이기"});
  EXPECT_EQ(WrapLabel(u"오른쪽 기울이기", 30, 2, SixEach), (Lines{u"오른쪽", u"기울이기"}));
}

TEST(LabelPlace, SecondLineFollowsOrBothSitAroundTheOneLine) {
  const LabelPlace below{0, 100, 423, LabelAlign::Left, 2, 18, false};
  EXPECT_EQ(below.BaselineOf(0, 1), 423);
  EXPECT_EQ(below.BaselineOf(0, 2), 423);
  EXPECT_EQ(below.BaselineOf(1, 2), 441);
  const LabelPlace around{0, 100, 407, LabelAlign::Right, 2, 14, true};
  EXPECT_EQ(around.BaselineOf(0, 1), 407);
  EXPECT_EQ(around.BaselineOf(0, 2), 400);
  EXPECT_EQ(around.BaselineOf(1, 2), 414);
}

TEST(MainLabels, EachNamesItsOwnLanguageKeyAndStaysInTheWindow) {
  std::vector<std::string_view> keys;
  for (const MainLabel& label : MainLabels()) {
    SCOPED_TRACE(label.key);
    EXPECT_NE(std::find(kLanguageKeys.begin(), kLanguageKeys.end(), label.key),
              kLanguageKeys.end());
    EXPECT_EQ(std::count(keys.begin(), keys.end(), label.key), 0);
    keys.push_back(label.key);
    for (bool chinese : {false, true}) {
      const LayoutRect r = label.Reach(chinese);
      EXPECT_GE(r.left, 0);
      EXPECT_GT(r.top, 0);
      EXPECT_LE(r.right, 1000);
      EXPECT_LE(r.bottom, 604);  // above the bottom bar
      EXPECT_GT(label.PlaceIn(chinese).width(), 0);
    }
  }
}

}  // namespace
}  // namespace norvi
