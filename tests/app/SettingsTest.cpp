#include <gtest/gtest.h>

#include "app/MouseSettings.h"
#include "model/Text.h"

namespace norvi {
namespace {

// Records each call with the values behind its pointer, as Windows would read them.
struct SettingsRecorder : ISettingsTarget {
  std::vector<std::string> calls;
  void SystemParametersInfo(uint32_t action, uint32_t param, void* value, uint32_t flags) override {
    std::string call = "spi " + std::to_string(action) + " " + std::to_string(param) + " ";
    if (action == kSpiSetMouse) {
      const auto* a = static_cast<const int32_t*>(value);
      call += "[" + std::to_string(a[0]) + "," + std::to_string(a[1]) + "," + std::to_string(a[2]) + "]";
    } else {
      call += std::to_string(reinterpret_cast<uintptr_t>(value));
    }
    calls.push_back(call + " " + std::to_string(flags));
  }
  void SettingChanged(uint32_t action, const void* detail) override {
    calls.push_back("notice " + std::to_string(action) + (detail ? " array" : " 0"));
  }
};

std::vector<std::string> Sent(int32_t speed, int32_t precision, int32_t lines) {
  ProfileImage p = DefaultProfile();
  p.PointerSpeed = speed;
  p.EnhancePrecision = precision;
  p.WheelLines = lines;
  SettingsRecorder r;
  ApplyPointerAndWheel(p, r);
  return r.calls;
}

TEST(PointerAndWheel, ThreeCallsWithTheirExactArgumentsEachFollowedByItsNotice) {
  EXPECT_EQ(Sent(17, 1, 7), (std::vector<std::string>{
                                "spi 4 0 [6,10,1] 3", "notice 4 array",
                                "spi 113 0 17 3", "notice 113 0",  // speed in the pointer itself
                                "spi 105 7 0 3", "notice 105 0"}));
}

TEST(PointerAndWheel, PrecisionOffSendsZerosAndScreenOptionSendsMinusOne) {
  const auto calls = Sent(10, 0, kWheelLinesScreen);
  EXPECT_EQ(calls[0], "spi 4 0 [0,0,0] 3");
  EXPECT_EQ(calls[4], "spi 105 4294967295 0 3");
}

TEST(WheelLines, EditTextIsNormalisedIntoOneToThirty) {
  struct Case { std::u16string in; int32_t lines; std::u16string text; bool caret; size_t at; };
  const Case cases[] = {
      {u"007", 7, u"7", true, 1},   {u"000", 1, u"1", false, 0}, {u"", 1, u"1", false, 0},
      {u"45", 30, u"30", true, 2},  {u"30", 30, u"30", true, 2}, {u"29", 29, u"29", true, 2},
      {u"abc", 1, u"1", true, 3},   // no digits: 1, never 0
      {u"012x", 12, u"12", true, 3},
      {u"99999999999999999999", 30, u"30", true, 20},  // no overflow
  };
  for (const Case& c : cases) {
    const NormalisedLines n = NormaliseWheelLines(c.in);
    EXPECT_EQ(n.lines, c.lines) << Utf16ToUtf8(c.in);
    EXPECT_EQ(n.text, c.text) << Utf16ToUtf8(c.in);
    EXPECT_EQ(n.placeCaret, c.caret) << Utf16ToUtf8(c.in);
    if (c.caret) {
      EXPECT_EQ(n.caret, c.at) << Utf16ToUtf8(c.in);
    }
  }
}

TEST(WheelLines, ArrowsStopAtOneAndThirty) {
  EXPECT_EQ(WheelLinesUp(29), 30);
  EXPECT_EQ(WheelLinesUp(30), 30);
  EXPECT_EQ(WheelLinesDown(2), 1);
  EXPECT_EQ(WheelLinesDown(1), 1);
}

TEST(WheelLines, ControlsShowScreenOrRows) {
  ProfileImage p = DefaultProfile();
  p.WheelLines = kWheelLinesScreen;
  const WheelControlsView screen = ViewOfWheel(p);
  EXPECT_TRUE(screen.screenChecked && !screen.rowsChecked && !screen.editEnabled);
  EXPECT_EQ(screen.dialogLines, 3);
  p.WheelLines = 12;
  const WheelControlsView rows = ViewOfWheel(p);
  EXPECT_TRUE(rows.rowsChecked && !rows.screenChecked && rows.editEnabled);
  EXPECT_EQ(rows.dialogLines, 12);
}

TEST(PointerSpeed, OnlyTheMainSliderChangesIt) {
  ProfileImage p = DefaultProfile();
  OnSpeedChanged(p, 14, kSpeedSliderId + 1);
  EXPECT_EQ(p.PointerSpeed, kDefaultPointerSpeed);
  OnSpeedChanged(p, 14, kSpeedSliderId);
  EXPECT_EQ(p.PointerSpeed, 14);
}

}  // namespace
}  // namespace norvi
