#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "tests/actions/fakes/ActionFakes.h"
#include "app/MouseSettings.h"
#include "model/Text.h"
#include "tests/app/Recorders.h"

namespace norvi {
namespace {

constexpr WindowHandle kMain = 0x1234;

// Each call as "action param pointer-or-array flags", reading the array as Windows would.
std::vector<std::string> Sent(int32_t speed, int32_t precision, int32_t lines,
                              std::vector<fakes::SettingChange>* notices = nullptr) {
  ProfileImage p = DefaultProfile();
  p.PointerSpeed = speed;
  p.EnhancePrecision = precision;
  p.WheelLines = lines;
  fakes::SystemRecorder system;
  std::vector<std::string> sent;
  system.parametersAnswer = [&](uint32_t action, uint32_t param, void* value) {
    std::string v = testkit::Line(reinterpret_cast<uintptr_t>(value));
    if (action == kSpiSetMouse) {
      const auto* a = static_cast<const int32_t*>(value);
      v = testkit::Line("[", a[0], ",", a[1], ",", a[2], "]");
    }
    sent.push_back(testkit::Line(action, " ", param, " ", v));
  };
  ApplyPointerAndWheel(p, system, kMain);
  for (size_t i = 0; i < system.parameters.size(); ++i)
    sent[i] += testkit::Line(" ", system.parameters[i].winIni);
  EXPECT_EQ(system.calls,
            (std::vector<std::string>{"ParametersInfo 4", "SendSettingChange 4",
                                      "ParametersInfo 113", "SendSettingChange 113",
                                      "ParametersInfo 105", "SendSettingChange 105"}));
  if (notices) *notices = system.settingChanges;
  return sent;
}

TEST(PointerAndWheel, ThreeCallsWithTheirExactArgumentsEachFollowedByItsNotice) {
  std::vector<fakes::SettingChange> notices;
  EXPECT_EQ(Sent(17, 1, 7, &notices),
            (std::vector<std::string>{"4 0 [6,10,1] 3",
                                      "113 0 17 3",  // the speed in the pointer itself
                                      "105 7 0 3"}));
  ASSERT_EQ(notices.size(), 3u);
  EXPECT_EQ(notices[0].target, kMain);
  EXPECT_NE(notices[0].lParam, 0);  // the array
  EXPECT_EQ(notices[1], (fakes::SettingChange{kMain, 113, 0}));
  EXPECT_EQ(notices[2], (fakes::SettingChange{kMain, 105, 0}));
}

// Whatever the image holds, Windows only ever receives values in range.
TEST(PointerAndWheel, OutOfRangeValuesAreSentAsTheirFactoryValues) {
  EXPECT_EQ(Sent(0, 0, 0), (std::vector<std::string>{"4 0 [0,0,0] 3", "113 0 10 3", "105 3 0 3"}));
  EXPECT_EQ(Sent(21, 7, 31),
            (std::vector<std::string>{"4 0 [0,0,0] 3", "113 0 10 3", "105 3 0 3"}));
  EXPECT_EQ(Sent(-1, -1, -2),
            (std::vector<std::string>{"4 0 [0,0,0] 3", "113 0 10 3", "105 3 0 3"}));
  EXPECT_EQ(Sent(20, 1, 30),
            (std::vector<std::string>{"4 0 [6,10,1] 3", "113 0 20 3", "105 30 0 3"}));
}

TEST(PointerAndWheel, PrecisionOffSendsZerosAndScreenOptionSendsMinusOne) {
  const auto calls = Sent(10, 0, kWheelLinesScreen);
  EXPECT_EQ(calls[0], "4 0 [0,0,0] 3");
  EXPECT_EQ(calls[2], "105 4294967295 0 3");
}

// What Windows holds, read into the profile without a single change sent back.
TEST(PointerAndWheel, WindowsOwnSettingsAreReadIntoTheProfileAndNothingIsSent) {
  struct Case {
    const char* what;
    std::array<int32_t, 3> acceleration;
    int32_t speed;
    uint32_t lines;
    int32_t precision, pointerSpeed, wheelLines;
  } const cases[] = {
      {"the user's own", {6, 10, 1}, 14, 7, 1, 14, 7},
      {"precision off", {0, 0, 0}, 1, 1, 0, 1, 1},
      {"any acceleration is precision on", {4, 12, 2}, 20, 30, 1, 20, 30},
      {"one screen per notch", {0, 0, 0}, 10, 0xFFFFFFFF, 0, 10, kWheelLinesScreen},
      {"beyond the profile's range", {0, 0, 0}, 25, 100, 0, 20, 30},
      {"no wheel scrolling, speed 0", {0, 0, 0}, 0, 0, 0, 1, 1},
  };
  for (const Case& c : cases) {
    fakes::SystemRecorder system;
    system.parametersAnswer = [&](uint32_t action, uint32_t, void* value) {
      if (action == kSpiGetMouse) std::memcpy(value, c.acceleration.data(), 12);
      if (action == kSpiGetMouseSpeed) *static_cast<int32_t*>(value) = c.speed;
      if (action == kSpiGetWheelScrollLines) *static_cast<uint32_t*>(value) = c.lines;
    };
    ProfileImage profile = DefaultProfile();
    ReadPointerAndWheel(profile, system);
    EXPECT_EQ(profile.EnhancePrecision, c.precision) << c.what;
    EXPECT_EQ(profile.PointerSpeed, c.pointerSpeed) << c.what;
    EXPECT_EQ(profile.WheelLines, c.wheelLines) << c.what;
    EXPECT_EQ(system.calls, (std::vector<std::string>{"ParametersInfo 3", "ParametersInfo 112",
                                                      "ParametersInfo 104"}))
        << c.what;
    for (const fakes::ParametersCall& call : system.parameters) EXPECT_EQ(call.winIni, 0u);
    EXPECT_TRUE(system.settingChanges.empty());
  }
  // A query that fails leaves the setting as it was.
  fakes::SystemRecorder failing;
  failing.parametersResult = 0;
  ProfileImage profile = DefaultProfile();
  profile.WheelLines = 12;
  ReadPointerAndWheel(profile, failing);
  EXPECT_EQ(profile.WheelLines, 12);
  EXPECT_EQ(profile.PointerSpeed, kDefaultPointerSpeed);
}

TEST(WheelLines, EditTextIsNormalisedIntoOneToThirty) {
  struct Case {
    std::u16string in;
    int32_t lines;
    std::u16string text;
    bool caret;
    size_t at;
  };
  const Case cases[] = {
      {u"007", 7, u"7", true, 1},    {u"000", 1, u"1", false, 0},
      {u"", 1, u"1", false, 0},      {u"45", 30, u"30", true, 2},
      {u"30", 30, u"30", true, 2},   {u"29", 29, u"29", true, 2},
      {u"abc", 1, u"1", true, 3},  // no digits: 1, never 0
      {u"012x", 12, u"12", true, 3}, {u"99999999999999999999", 30, u"30", true, 20},  // no overflow
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
