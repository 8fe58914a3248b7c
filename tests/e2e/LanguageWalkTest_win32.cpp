// Every window of the program in every language, read from the drawing itself: the program
// records each text it draws (NORVI_TEXT_LOG) with the room it needs in the font that draws it
// and the characters that font has no glyph for. The walk applies each language in turn and
// opens the main window, the language menu, the picker on all five pages and two message
// boxes; a text that is cut or lacks a glyph fails. CTest runs it under an English and under a
// Simplified Chinese system locale; under the English one it also takes the language sheet's
// pictures.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/WideText.h"
#include "localisation/Languages.h"
#include "model/Text.h"
#include "tests/e2e/E2eSupport_win32.h"

namespace norvi::e2e {
namespace {

// The log as it stands, emptied for the next step.
std::vector<std::string> TakeLog(const fs::path& log) {
  std::vector<std::string> lines;
  {
    std::ifstream in(log, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  std::ofstream(log, std::ios::trunc | std::ios::binary);
  return lines;
}

// Fields of one record: kind, root, window, class, rectangle, need, fit, missing glyphs, face,
// text.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

HWND WaitForLanguageMenu(HWND main) {
  HWND popup = nullptr;
  testkit::PumpUntil(
      [&] {
        popup = nullptr;
        while ((popup = ::FindWindowExW(nullptr, popup, L"NorviWindow", nullptr)))
          if (::GetWindow(popup, GW_OWNER) == main && ::IsWindowVisible(popup)) return true;
        return false;
      },
      kPatienceMs);
  return popup;
}

bool Gone(HWND w) {
  return testkit::PumpUntil([&] { return !::IsWindow(w) || !::IsWindowVisible(w); }, kPatienceMs);
}

class LanguageWalk : public ProgramTest {
 protected:
  // Checks what the step drew and keeps the count; `what` names the step in a failure.
  void Check(const std::string& language, const char* what) {
    const std::vector<std::string> lines = TakeLog(textLog_);
    EXPECT_FALSE(lines.empty()) << language << ", " << what << ": nothing drawn was recorded";
    for (const std::string& line : lines) {
      kept_ << language << '\t' << what << '\t' << line << '\n';
      const std::vector<std::string> f = Fields(line);
      ASSERT_EQ(f.size(), 10u) << line;
      ++texts_;
      EXPECT_EQ(f[6], "fits") << language << ", " << what << ": cut: " << line;
      EXPECT_EQ(f[7], "0") << language << ", " << what << ": glyphs missing: " << line;
    }
  }

  void Picture(HWND w, const std::string& code, const wchar_t* part) {
    if (!takePictures_) return;
    SaveScreenshot(
        w, (L"language-" + std::wstring(code.begin(), code.end()) + L"-" + part + L".png").c_str());
  }

  fs::path textLog_ = Installed().dir() / L"texts.log";
  // Every record of the walk, per system locale, for a look at the widest texts.
  std::ofstream kept_;
  bool takePictures_ = PRIMARYLANGID(::GetSystemDefaultLangID()) != LANG_CHINESE;
  int texts_ = 0;
};

// The file name without folder and extension: the language's code in picture names.
std::string CodeOf(const Language& language) {
  const fs::path file(std::wstring(WView(language.file)));
  const std::wstring stem = file.stem().wstring();
  return std::string(stem.begin(), stem.end());
}

TEST_F(LanguageWalk, EveryTextOfEveryWindowFitsAndHasItsGlyphsInEveryLanguage) {
  if (std::getenv("NORVI_EXPECT_CHINESE_SYSTEM")) {
    ASSERT_EQ(PRIMARYLANGID(::GetSystemDefaultLangID()), LANG_CHINESE);
  }
  kept_.open(fs::path(testkit::OutputPath(takePictures_ ? L"language-walk-texts-en.tsv"
                                                        : L"language-walk-texts-zh.tsv")),
             std::ios::binary);
  HWND main = Start({{L"NORVI_TEXT_LOG", textLog_.wstring()}});
  ASSERT_TRUE(main);
  for (const Language& language : kLanguages) {
    const std::string name = Utf16ToUtf8(language.menuText);
    const std::string code = CodeOf(language);
    SCOPED_TRACE(name);
    TakeLog(textLog_);
    // As at start-up: applied without the menu.
    ::SendMessageW(main, UM_LANGUAGE, kLanguageAtStartUp, language.index);
    PaintedOnScreen(main);
    Check(name, "main window");
    Picture(main, code, L"main");

    PostClick(MainControlWindow(main, MainControl::Language));
    HWND menu = WaitForLanguageMenu(main);
    ASSERT_TRUE(menu);
    Settle(menu);
    Check(name, "language menu");
    Picture(menu, code, L"menu");
    ::PostMessageW(menu, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Gone(menu));
    Settle(main);
    TakeLog(textLog_);  // the main window again, seen already

    PostClick(MainControlWindow(main, SlotControl(0)));
    HWND picker = WaitForPicker(main);
    ASSERT_TRUE(picker);
    for (int category = kCategoryBase; category <= kCategoryAdvance; ++category) {
      PostClick(
          ChildAt(picker, PlaceOf(TabOf(category)).rect.left, PlaceOf(TabOf(category)).rect.top));
      Settle(picker);
      PaintedOnScreen(picker);
      Check(name, category == kCategoryAdvance ? "picker, advanced page" : "picker, list page");
      if (category == kCategoryBase) Picture(picker, code, L"picker-1");
      if (category == kCategoryAdvance) Picture(picker, code, L"picker-5");
    }
    PostClick(ChildAt(picker, PlaceOf(PickerButton::Close).rect.left,
                      PlaceOf(PickerButton::Close).rect.top));
    ASSERT_TRUE(Gone(picker));
    Settle(main);
    TakeLog(textLog_);

    // The restore-defaults question (two buttons), cancelled.
    PostClick(MainControlWindow(main, MainControl::Defaults));
    HWND box = program_->WaitForWindow(kInfoTitle);
    ASSERT_TRUE(box);
    PaintedOnScreen(box);
    Check(name, "message box");
    Picture(box, code, L"box");
    ::PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Gone(box));
    Settle(main);
    TakeLog(textLog_);

    // The applied-and-saved message (OK alone).
    PostClick(MainControlWindow(main, MainControl::Ok));
    box = program_->WaitForWindow(kInfoTitle);
    ASSERT_TRUE(box);
    PaintedOnScreen(box);
    Check(name, "message box");
    ::PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Gone(box));
    Settle(main);
  }
  std::cout << texts_ << " drawn texts checked\n";
  EXPECT_EQ(program_->Close(main), 0u);
}

// The texts the step drew, in order.
std::vector<std::string> DrawnTexts(const fs::path& log) {
  std::vector<std::string> texts;
  for (const std::string& line : TakeLog(log)) texts.push_back(Fields(line).back());
  return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A damaged file (5 MB of '<') gives the English file's texts; a file that lacks keys gives
// its own and, with the English file damaged too, the built-in English texts for the rest.
TEST_F(LanguageWalk, DamagedOrIncompleteLanguageFilesLeaveNoButtonBlank) {
  const fs::path folder = Installed().dir() / L"Language";
  std::ofstream(folder / L"ger.xml", std::ios::binary) << std::string(5u << 20, '<');
  const int32_t german = 5;
  WriteProfileBytes(&german, sizeof german, LanguageChoicePath());
  HWND main = Start({{L"NORVI_TEXT_LOG", textLog_.wstring()}});
  ASSERT_TRUE(main);
  PaintedOnScreen(main);
  std::vector<std::string> texts = DrawnTexts(textLog_);
  EXPECT_TRUE(Has(texts, "Pair mouse") && Has(texts, "Default") && Has(texts, "OK"))
      << ::testing::PrintToString(texts);

  std::ofstream(folder / L"en.xml", std::ios::binary | std::ios::trunc)
      << std::string(5u << 20, '<');
  std::ofstream(folder / L"kor.xml", std::ios::binary | std::ios::trunc)
      << "<l><config><str_ok>\xED\x99\x95\xEC\x9D\xB8</str_ok></config></l>";
  ::SendMessageW(main, UM_LANGUAGE, kLanguageAtStartUp, 4);
  PaintedOnScreen(main);
  texts = DrawnTexts(textLog_);
  EXPECT_TRUE(Has(texts, "Pair mouse") && Has(texts, "Default") &&
              Has(texts, "\xED\x99\x95\xEC\x9D\xB8"))
      << ::testing::PrintToString(texts);
  EXPECT_EQ(program_->Close(main), 0u);
}

}  // namespace
}  // namespace norvi::e2e
