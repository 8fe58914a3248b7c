// The whole main window follows the chosen language: the program, installed for either basic
// language, is switched through the twelve languages as its start-up does it; each shows its
// window (a screenshot each), and every label's pixels differ from the English window's, so
// no label is left in the skin pictures.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "app/LanguageSelection.h"
#include "app/MainLabels.h"
#include "app/Messages.h"
#include "localisation/Languages.h"
#include "tests/e2e/E2eSupport_win32.h"

namespace norvi {
namespace {

using namespace e2e;

// The client area as the screen shows it once painted.
testkit::Picture ShownClient(HWND main) {
  PaintedOnScreen(main);
  RECT r;
  ::GetClientRect(main, &r);
  ::MapWindowPoints(main, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return testkit::CaptureScreen(r);
}

bool SameIn(const testkit::Picture& a, const testkit::Picture& b, const LayoutRect& r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

// "sc" of "Language\sc.xml".
std::wstring FileStem(std::u16string_view file) {
  const std::u16string_view name = file.substr(file.find(u'\\') + 1);
  const std::u16string_view stem = name.substr(0, name.find(u'.'));
  return std::wstring(stem.begin(), stem.end());
}

TEST_F(ProgramTest, EveryLabelOfTheMainWindowFollowsTheChosenLanguageInBothLayouts) {
  for (const bool chinese : {false, true}) {
    SCOPED_TRACE(chinese ? "Chinese installation" : "English installation");
    Installation installed;
    installed.SetBasicLanguage(chinese ? 1 : 0);
    Program program(installed, {});
    HWND main = program.ShownMain();
    ASSERT_TRUE(main) << installed.Messages();
    std::map<int32_t, testkit::Picture> shown;
    for (const Language& language : kLanguages) {
      ::PostMessageW(main, UM_LANGUAGE, kLanguageAtStartUp, language.index);
      Settle(main);
      shown[language.index] = ShownClient(main);
      ASSERT_EQ(shown[language.index].width, 1000);
      SaveScreenshot(main, ((chinese ? L"main-window-zh-layout-" : L"main-window-lang-") +
                            FileStem(language.file) + L".png")
                               .c_str());
    }
    EXPECT_EQ(program.Close(main), 0u);
    EXPECT_EQ(installed.Messages(), "");

    const testkit::Picture& english = shown[kEnglishIndex];
    for (const Language& language : kLanguages) {
      if (language.index == kEnglishIndex) continue;
      SCOPED_TRACE(std::string(language.menuText.begin(), language.menuText.end()));
      for (const MainLabel& label : MainLabels())
        EXPECT_FALSE(SameIn(shown[language.index], english, label.Reach(chinese))) << label.key;
    }
  }
}

}  // namespace
}  // namespace norvi
