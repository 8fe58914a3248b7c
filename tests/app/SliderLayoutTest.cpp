#include <gtest/gtest.h>

#include <set>

#include "app/MainLayout.h"
#include "app/SliderGeometry.h"
#include "app/Startup.h"
#include "model/Text.h"

namespace norvi {
namespace {

constexpr SliderRange kSpeed{1, 20};
// The main window's bar is 186 wide; a 20-pixel thumb.
constexpr ThumbTrack kTrack{0, 186, 20};

TEST(Slider, ClicksMapTheTravelRectangleOntoTheRange) {
  const auto click = [](int x) {
    return ValueAtClick(x, kSpeedTravel.left, kSpeedTravel.right, kSpeed);
  };
  EXPECT_EQ(click(90), 1);  // left of the travel
  EXPECT_EQ(click(106), 1);
  EXPECT_EQ(click(271), 19);  // truncation: the maximum needs the right edge
  EXPECT_EQ(click(272), 20);
  EXPECT_EQ(click(290), 20);  // right of it
  EXPECT_EQ(click(115), 2);   // 9 * 19 / 166 = 1
}

TEST(Slider, SetPosOutsideTheRangeGivesTheMinimumAndPlacesTheThumb) {
  EXPECT_EQ(AcceptedValue(21, kSpeed), 1);
  EXPECT_EQ(AcceptedValue(0, kSpeed), 1);  // the value a new thumb starts with
  EXPECT_EQ(AcceptedValue(20, kSpeed), 20);
  EXPECT_EQ(ThumbLeft(1, kSpeed, kTrack), 0);
  EXPECT_EQ(ThumbLeft(20, kSpeed, kTrack), 166);
  EXPECT_EQ(ThumbLeft(10, kSpeed, kTrack), 78);  // 166 * 9 / 19
  EXPECT_EQ(ThumbLeft(21, kSpeed, kTrack), 0);
  // Degenerate geometry stays inside the bar instead of wrapping round.
  EXPECT_EQ(ThumbLeft(20, kSpeed, {0, 10, 20}), 0);
  EXPECT_EQ(ThumbLeft(5, {5, 5}, kTrack), 0);
}

TEST(Slider, DraggingAgainstEitherEndKeepsTheEndValue) {
  const auto drag = [](int start, int dx) {
    return ValueAtThumbLeft(DraggedThumbLeft(start, dx, kTrack), kSpeed, kTrack);
  };
  EXPECT_EQ(drag(0, -50), 1);
  EXPECT_EQ(drag(10, -500), 1);
  EXPECT_EQ(drag(160, 50), 20);
  EXPECT_EQ(drag(166, 400), 20);
  EXPECT_EQ(DraggedThumbLeft(160, 50, kTrack), 166);
  EXPECT_EQ(drag(0, 78), 9);  // 1 + 19 * 78 / 166
}

TEST(MainLayout, TwentyOneControlsInCreationOrderWithTheirRectangles) {
  const auto& places = MainControlPlaces();
  for (int i = 0; i < kMainControlCount; ++i) EXPECT_EQ(static_cast<int>(places[i].control), i);
  EXPECT_EQ(PlaceOf(MainControl::SpeedSlider, true), (LayoutRect{106, 210, 292, 226}));
  EXPECT_EQ(PlaceOf(MainControl::Ok, false), (LayoutRect{778, 619, 963, 665}));
  EXPECT_EQ(PlaceOf(SlotControl(7), false), (LayoutRect{498, 390, 524, 417}));
  // Only the five wheel-lines controls move with the language.
  std::set<MainControl> moved;
  for (const ControlPlace& p : places)
    if (!(p.chinese == p.other)) moved.insert(p.control);
  EXPECT_EQ(moved, (std::set<MainControl>{MainControl::RowsOption, MainControl::RowsEdit,
                                          MainControl::RowsUp, MainControl::RowsDown,
                                          MainControl::ScreenOption}));
  EXPECT_EQ(PlaceOf(MainControl::RowsEdit, false), (LayoutRect{256, 436, 279, 453}));
  EXPECT_EQ(PlaceOf(MainControl::ScreenOption, true), (LayoutRect{62, 437, 203, 457}));
  for (const ControlPlace& p : places) {
    EXPECT_TRUE(p.other.width() > 0 && p.other.height() > 0 && p.other.right <= 1000 &&
                p.other.bottom <= 715);
  }
}

TEST(StartUp, ProgramFolderIsCutBeforeTheLastBackslash) {
  EXPECT_EQ(ProgramFolderFrom(u"C:\\Program Files\\Norvi\\NorviDriver.exe"),
            u"C:\\Program Files\\Norvi");
  EXPECT_EQ(ProgramFolderFrom(u"NorviDriver.exe"), u"");
  EXPECT_EQ(LibraryPathIn(u"C:\\N", u"Pardex.dll"), u"C:\\N\\Pardex.dll");
}

TEST(StartUp, BannerPadsFieldsWithSpaces) {
  const std::string rule = "===================================================\r\n";
  EXPECT_EQ(Utf16ToUtf8(StartBanner({2026, 3, 7, 9, 5, 0})),
            rule + "==============2026- 3- 7       9: 5: 0=============\r\n" + rule);
}

// Every start-up box takes title, text and button from one language: a Chinese system gets
// them all in Chinese, any other system (Traditional Chinese too) all in English.
TEST(StartUp, StartupTextsFollowTheDefaultLanguageAsAWhole) {
  const StartupTexts& zh = StartupTextsFor(0x0804);
  EXPECT_TRUE(zh.chinese);
  EXPECT_EQ(zh.okText, u"确定");
  EXPECT_EQ(zh.noReceiver, u"未发现Norvi接收器设备.");
  EXPECT_EQ(zh.receiverLibraryFailed, u"加载Pardex.dll失败.");
  for (uint16_t id : {0x0409, 0x0404, 0x0000}) {
    const StartupTexts& other = StartupTextsFor(id);
    EXPECT_FALSE(other.chinese) << id;
    EXPECT_EQ(other.okText, u"OK") << id;
    EXPECT_EQ(other.noReceiver, u"No Norvi device connected. Application will close now.") << id;
    EXPECT_EQ(other.swapLibraryFailed, u"Loading Swap.dll failed.") << id;
  }
}

// A second start finds the running window by its title also while it names a program; a
// title that merely begins the same way is another window.
TEST(StartUp, MainWindowTitleMayNameTheProgramItEdits) {
  EXPECT_EQ(TitleNaming(u""), u"Zarqo Norvi Mouse Driver");
  EXPECT_EQ(TitleNaming(u"notepad.exe"), u"Zarqo Norvi Mouse Driver - notepad.exe");
  const struct {
    std::u16string_view title;
    bool main;
  } cases[] = {
      {u"Zarqo Norvi Mouse Driver", true},     {u"Zarqo Norvi Mouse Driver - notepad.exe", true},
      {u"Zarqo Norvi Mouse Driver - ", false}, {u"Zarqo Norvi Mouse Driver Setup", false},
      {u"Zarqo Norvi Mouse Drive", false},     {u"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsMainWindowTitle(c.title), c.main) << Utf16ToUtf8(c.title);
}

}  // namespace
}  // namespace norvi
