// The drawing step every text goes through: what it records about a text that is cut, covered
// by a control, or lacks glyphs; the faces it picks for the CJK languages; and every message
// of every language in the real message box, read back from the step's own record.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/WideText.h"
#include "controls/DlgInfo_win32.h"
#include "controls/TextDraw_win32.h"
#include "localisation/Languages.h"
#include "localisation/StringTable.h"
#include "model/Text.h"
#include "tests/localisation/TextTestSupport.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

// Points the step's record at a file of its own for one test.
class TextLog {
 public:
  TextLog() : path_(dir_.path() / "texts.log") {
    ::SetEnvironmentVariableW(L"NORVI_TEXT_LOG", path_.wstring().c_str());
  }
  ~TextLog() { ::SetEnvironmentVariableW(L"NORVI_TEXT_LOG", nullptr); }
  // Each record's fields (kind, root, window, class, rectangle, need, fit, missing, face,
  // text); the log is emptied.
  std::vector<std::vector<std::string>> Take() {
    std::vector<std::vector<std::string>> records;
    {
      std::ifstream in(path_, std::ios::binary);
      for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::stringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        records.push_back(fields);
      }
    }
    std::ofstream(path_, std::ios::trunc);
    return records;
  }

 private:
  testkit::TempDir dir_;
  std::filesystem::path path_;
};

class StepTest : public ::testing::Test {
 protected:
  StepTest() {
    window_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr,
                                nullptr, nullptr, nullptr);
  }
  ~StepTest() override { ::DestroyWindow(window_); }

  // Draws into a memory DC for the window, as the skinned windows do, and returns the record.
  std::vector<std::string> Draw(std::u16string_view text, RECT rect, UINT flags,
                                int32_t language = 2) {
    WindowDC screen(window_);
    MemoryCanvas canvas(screen.get(), 300, 100);
    {
      const TextPainter painter(window_, canvas.dc(), language, kTextFont, 0);
      painter.Draw(text, rect, flags);
    }
    auto records = log_.Take();
    EXPECT_EQ(records.size(), 1u);
    return records.empty() ? std::vector<std::string>(10) : records[0];
  }
  int Width(std::u16string_view text) {
    const std::vector<std::string> r = Draw(text, {0, 0, 300, 20}, DT_SINGLELINE);
    return std::stoi(r[5]);
  }

  TextLog log_;
  HWND window_ = nullptr;
};

TEST_F(StepTest, ASingleLineFitsUpToItsRectanglesLastPixelAndIsCutBeyond) {
  const int width = Width(u"Abrir programa");
  ASSERT_GT(width, 20);
  const UINT flags = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  std::vector<std::string> r = Draw(u"Abrir programa", {10, 0, 10 + width, 20}, flags);
  EXPECT_EQ(r[0], "text");
  EXPECT_EQ(r[4], "10,0," + std::to_string(10 + width) + ",20");
  EXPECT_EQ(r[6], "fits");
  EXPECT_EQ(r[9], "Abrir programa");
  r = Draw(u"Abrir programa", {10, 0, 9 + width, 20}, flags);
  EXPECT_EQ(r[6], "CUT");  // the ellipsis would hide it on screen
  // Too low for its line.
  EXPECT_EQ(Draw(u"Abrir programa", {10, 0, 200, 8}, flags)[6], "CUT");
}

TEST_F(StepTest, BrokenLinesMustFitTheRectanglesHeightAndALongWordItsWidth) {
  const std::u16string words = u"The button and mouse settings could not be saved";
  EXPECT_EQ(Draw(words, {0, 0, 120, 80}, DT_WORDBREAK)[6], "fits");
  EXPECT_EQ(Draw(words, {0, 0, 120, 20}, DT_WORDBREAK)[6], "CUT");
  const std::u16string path = u"C:\\Users\\Somebody\\AppData\\Local\\Temp\\Zarqo\\Norvi";
  EXPECT_EQ(Draw(path, {0, 0, 120, 30}, DT_WORDBREAK)[6], "CUT");
  // Broken inside the word too, it needs more lines.
  EXPECT_EQ(Draw(path, {0, 0, 120, 80}, DT_WORDBREAK | DT_EDITCONTROL)[6], "fits");
}

TEST_F(StepTest, ATextUnderAShownChildWindowIsCovered) {
  HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 60, 0, 100, 20, window_,
                                 nullptr, nullptr, nullptr);
  const int width = Width(u"Reproduzir som");
  ASSERT_GT(width, 50);
  // The rectangle runs under the child; the text needs more than the 50 pixels before it.
  EXPECT_EQ(Draw(u"Reproduzir som", {10, 0, 200, 20}, DT_SINGLELINE)[6], "CUT");
  ::ShowWindow(child, SW_HIDE);
  EXPECT_EQ(Draw(u"Reproduzir som", {10, 0, 200, 20}, DT_SINGLELINE)[6], "fits");
  ::ShowWindow(child, SW_SHOW);
  // Centred far right of the child, it is clear of it.
  EXPECT_EQ(Draw(u"Som", {160, 0, 300, 20}, DT_SINGLELINE | DT_CENTER)[6], "fits");
  ::DestroyWindow(child);
}

TEST_F(StepTest, CountsCharactersWithoutAGlyphInTheDrawingFont) {
  EXPECT_EQ(Draw(u"Open", {0, 0, 200, 20}, DT_SINGLELINE)[7], "0");
  // Private-use characters are in no font.
  EXPECT_EQ(Draw(u"A\ue000\ue001", {0, 0, 200, 20}, DT_SINGLELINE)[7], "2");
}

// The faces of the CJK languages have their script under any system locale; the shell dialog
// face has no CJK glyphs of its own (Wine's, at least), which is why they are chosen.
TEST_F(StepTest, EachCjkLanguageDrawsItsScriptWithItsOwnFace) {
  struct Sample {
    int32_t language;
    std::u16string_view text;
  };
  for (const Sample s :
       {Sample{1, u"打开文件夹"}, Sample{12, u"開啟資料夾"}, Sample{4, u"프로그램 실행"}}) {
    const std::vector<std::string> r = Draw(s.text, {0, 0, 200, 20}, DT_SINGLELINE, s.language);
    EXPECT_EQ(r[7], "0") << r[8] << " " << r[9];
  }
}

// The message box in its real drawing, every message in every language: each message shows
// whole and every character has a glyph. Messages with a path get a long one.
class ShownInfo : public CDlgInfo {
 public:
  using CDlgInfo::CDlgInfo;
  HWND Handle() const { return hwnd(); }

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = CDlgInfo::OnInitDialog();
    Post(WM_APP);
    return result;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_APP) return CDlgInfo::HandleMessage(msg, wp, lp);
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EndDialog(IDOK);
    return 0;
  }
};

std::u16string WithPath(std::u16string_view format) {
  std::u16string text(format);
  const size_t at = text.find(u"%s");
  if (at != text.npos)
    text.replace(at, 2, u"C:\\Users\\Somebody\\AppData\\Local\\Temp\\Zarqo\\Norvi\\Profile.cfg");
  return text;
}

TEST(MessageBoxTexts, EveryMessageOfEveryLanguageShowsWholeWithEveryGlyph) {
  TextLog log;
  StringTable strings;
  int checked = 0;
  for (const Language& language : kLanguages) {
    ASSERT_EQ(strings.LoadLanguageStrings(testkit::SourcePath(language.file)), 1);
    for (const char* key : {"str_notfind", "str_msg1", "str_msg2", "str_msg3", "str_msg5",
                            "str_msg_profile_unreadable", "str_msg_profile_not_saved",
                            "str_msg_profile_applied_not_saved", "str_msg_no_remapping"}) {
      for (const bool twoButtons : {false, true}) {
        ShownInfo box(InfoSettings{strings, language.index == kSimplifiedChineseIndex});
        box.SetMessage(WithPath(strings.Text(key)));
        box.SetTwoButtons(twoButtons);
        box.Run();
        const auto records = log.Take();
        EXPECT_GE(records.size(), 3u);  // message, title, OK
        for (const auto& r : records) {
          ASSERT_EQ(r.size(), 10u);
          ++checked;
          EXPECT_EQ(r[6], "fits") << Utf16ToUtf8(language.menuText) << " " << key << ": " << r[3]
                                  << " " << r[4] << " needs " << r[5] << ": " << r[9];
          EXPECT_EQ(r[7], "0") << Utf16ToUtf8(language.menuText) << " " << key << " in " << r[8]
                               << ": " << r[9];
        }
      }
    }
  }
  std::cout << checked << " drawn texts checked\n";
}

}  // namespace
}  // namespace norvi
