// The main window's labels as the window lays them out, in the fonts it draws them with, for
// every language file in both layouts: each line is whole in its place, no two labels touch,
// none covers a control but the one it names; and the skin pictures hold no words where the
// labels go.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/MainLabels_win32.h"
#include "app/MainLayout.h"
#include "base/WideText.h"
#include "controls/ImageHelpers_win32.h"
#include "localisation/Languages.h"
#include "localisation/StringTable.h"
#include "model/Text.h"
#include "tests/localisation/TextTestSupport.h"
#include "tests/support/Picture_win32.h"

namespace norvi {
namespace {

struct Ink {
  std::string_view key;
  std::u16string text;
  RECT rect;  // what the line's text covers: its width, one text line high
};

// Every line of every label of `strings` in a layout; a line that is not whole adds a fault.
std::vector<Ink> LaidOut(const IStringLookup& strings, bool chinese,
                         std::vector<std::string>& faults) {
  std::vector<Ink> inks;
  UniqueDC dc(::CreateCompatibleDC(nullptr));
  for (const MainLabel& label : MainLabels()) {
    const UniqueFont font = CreateLabelFont(strings.LanguageIndex(), label.style);
    const SelectObjectScope select(dc.get(), font.get());
    const LabelPlace& place = label.PlaceIn(chinese);
    for (const LabelLine& line : LayOutLabel(dc.get(), place, strings.Text(label.key))) {
      if (!line.fits)
        faults.push_back(std::string(label.key) + " \"" + Utf16ToUtf8(line.text) + "\" is " +
                         std::to_string(line.width) + " px wide in a place of " +
                         std::to_string(place.width()) + " px, or a line too many");
      RECT r = line.rect;
      if (place.align == LabelAlign::Right) r.left = r.right - line.width;
      if (place.align == LabelAlign::Left) r.right = r.left + line.width;
      if (place.align == LabelAlign::Centre) {
        r.left = (r.left + r.right - line.width) / 2;
        r.right = r.left + line.width;
      }
      inks.push_back({label.key, line.text, r});
    }
  }
  return inks;
}

// The control whose look holds a label; other labels lie on the background only.
MainControl OwnerOf(std::string_view key) {
  if (key == "str_main_precision") return MainControl::Precision;
  if (key == "str_main_wheel_lines") return MainControl::RowsOption;
  if (key == "str_main_wheel_screen") return MainControl::ScreenOption;
  return MainControl::Minimise;  // stands for none: nothing is drawn near it
}

bool Touch(const RECT& a, const RECT& b) {
  RECT common;
  return ::IntersectRect(&common, &a, &b) != FALSE;
}

TEST(MainLabelsDrawn, EveryLanguageFitsEveryPlaceInBothLayouts) {
  StringTable strings;
  for (const Language& language : kLanguages) {
    SCOPED_TRACE(Utf16ToUtf8(language.file));
    ASSERT_EQ(strings.LoadLanguageStrings(testkit::SourcePath(language.file)), 1);
    for (bool chinese : {false, true}) {
      SCOPED_TRACE(chinese ? "Chinese layout" : "other layout");
      std::vector<std::string> faults;
      const std::vector<Ink> inks = LaidOut(strings, chinese, faults);
      EXPECT_EQ(faults, std::vector<std::string>{});
      for (size_t i = 0; i < inks.size(); ++i) {
        const Ink& ink = inks[i];
        EXPECT_FALSE(ink.text.empty()) << ink.key;
        for (size_t j = i + 1; j < inks.size(); ++j) {
          if (inks[j].key == ink.key) continue;
          EXPECT_FALSE(Touch(ink.rect, inks[j].rect)) << ink.key << " and " << inks[j].key;
        }
        for (const ControlPlace& control : MainControlPlaces()) {
          if (control.control == OwnerOf(ink.key)) continue;
          const LayoutRect c = PlaceOf(control.control, chinese);
          EXPECT_FALSE(Touch(ink.rect, RECT{c.left, c.top, c.right, c.bottom}))
              << ink.key << " covers control " << static_cast<int>(control.control);
        }
      }
    }
  }
}

std::filesystem::path ArtFolder() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  // The test sits in <build>\tests\app.
  return std::filesystem::path(self).parent_path().parent_path().parent_path() / L"art";
}

// Where the layout's own language puts its labels, each row of every skin picture is one
// colour but for the soft gradients of the artwork: no word is left in the pictures.
TEST(MainLabelsDrawn, TheSkinPicturesHoldNoWordsWhereLabelsGo) {
  GdiplusSession gdiplus;
  StringTable strings;
  for (bool chinese : {false, true}) {
    SCOPED_TRACE(chinese ? "Chinese layout" : "other layout");
    ASSERT_EQ(strings.LoadLanguageStrings(
                  testkit::SourcePath(chinese ? u"Language\\sc.xml" : u"Language\\en.xml")),
              1);
    std::vector<std::string> faults;
    const std::vector<Ink> inks = LaidOut(strings, chinese, faults);
    ASSERT_GE(inks.size(), kMainLabelCount);
    for (const wchar_t* look : {L"Main_Normal.bmp", L"Main_Over.bmp", L"Main_Down.bmp"}) {
      const std::filesystem::path file = ArtFolder() / (chinese ? L"skins-zh" : L"skins-en") / look;
      SCOPED_TRACE(file.string());
      UniqueBitmap bitmap;
      SIZE size{};
      ASSERT_TRUE(LoadPictureFile(U16(file.wstring()), bitmap, size));
      const testkit::Picture picture = testkit::CaptureBitmap(bitmap.get());
      ASSERT_EQ(picture.width, 1000);
      for (const Ink& ink : inks) {
        int spread = 0;  // the largest difference of one colour channel along a row
        for (int y = ink.rect.top; y < ink.rect.bottom; ++y) {
          int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
          for (int x = ink.rect.left; x < ink.rect.right; ++x)
            for (int c = 0; c < 3; ++c) {
              const int v = (picture.At(x, y) >> (8 * c)) & 0xFF;
              low[c] = std::min(low[c], v);
              high[c] = std::max(high[c], v);
            }
          for (int c = 0; c < 3; ++c) spread = std::max(spread, high[c] - low[c]);
        }
        EXPECT_LE(spread, 12) << ink.key;
      }
    }
  }
}

}  // namespace
}  // namespace norvi
