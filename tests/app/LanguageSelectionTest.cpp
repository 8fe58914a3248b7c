// The language choice file, the start-up language and the steps of applying a language, seen
// through a recording main window with a real string table.
#include "app/LanguageSelection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "localisation/StringTable.h"
#include "model/Text.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

std::u16string SourceFolder() {
  const char* root = std::getenv("NORVI_SOURCE_DIR");
  std::u16string path = Utf8ToUtf16(root ? root : ".");
#ifdef _WIN32
  if (!path.empty() && path[0] == u'/') path = u"Z:" + path;
  std::replace(path.begin(), path.end(), u'/', u'\\');
#endif
  return path;
}

void WriteBytes(const test::TempDir& dir, const std::vector<char>& bytes) {
  std::ofstream(dir.path() / "Language.cfg", std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<char> ReadBytes(const test::TempDir& dir) {
  std::ifstream in(dir.path() / "Language.cfg", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Records every step as one line and keeps the choice in a real "Language.cfg".
class RecordingWindow : public ILanguageWindow {
 public:
  explicit RecordingWindow(const test::TempDir& config) : config_(config) {}
  bool LanguageMenuOpen() const override { return menuOpen; }
  void SetChineseInterface(bool c) override {
    chinese = c;
    log += "chinese " + std::to_string(c) + ";";
  }
  void LoadLanguageStrings(std::u16string_view file) override {
    strings.LoadLanguageStrings(SourceFolder() + u"\\" + std::u16string(file));
    log += "strings " + Utf16ToUtf8(file) + ";";
  }
  void ShowFlag(int32_t index) override { log += "flag " + std::to_string(index) + ";"; }
  void StoreLanguageChoice(int32_t index) override {
    WriteLanguageChoice(LanguageChoicePathIn(config_.u16()), index);
    log += "store " + std::to_string(index) + ";";
  }
  void RefreshLanguageTexts() override { log += "texts;"; }
  void CloseLanguageMenu() override {
    menuOpen = false;
    log += "close;";
  }

  bool menuOpen = false;
  bool chinese = true;
  StringTable strings;
  std::string log;

 private:
  const test::TempDir& config_;
};

TEST(LanguageChoice, ReadsTheLittleEndianIndexAndTellsAFirstRunApart) {
  struct Case {
    const char* what;
    bool write;
    std::vector<char> bytes;
    int32_t index;
    bool stored, missing;
    int32_t englishStart;  // the start-up language of an English installation
  };
  const Case cases[] = {
      {"no file: first run", false, {}, 1, false, true, 2},
      {"13", true, {13, 0, 0, 0}, 13, true, false, 13},
      {"Chinese", true, {1, 0, 0, 0}, 1, true, false, 1},
      {"longer file", true, {5, 0, 0, 0, 9, 9}, 5, true, false, 5},
      {"all bytes count", true, {2, 1, 0, 0}, 258, true, false, 258},
      {"cut short", true, {2, 0}, 1, false, false, 2},
      {"empty", true, {}, 1, false, false, 2},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    if (c.write) WriteBytes(dir, c.bytes);
    const LanguageChoiceRead read = ReadLanguageChoice(LanguageChoicePathIn(dir.u16()));
    EXPECT_EQ(read.index, c.index) << c.what;
    EXPECT_EQ(read.stored, c.stored) << c.what;
    EXPECT_EQ(read.missing, c.missing) << c.what;
    EXPECT_EQ(StartLanguageIndex(read, BasicLanguage(0)), c.englishStart) << c.what;
  }
  // A folder that is not there is a first run too; other failures give Chinese.
  EXPECT_TRUE(ReadLanguageChoice(u"/no/such/folder/Language.cfg").missing);
  EXPECT_EQ(StartLanguageIndex({1, false, false, 5}, BasicLanguage(0)), 1);
  EXPECT_EQ(StartLanguageIndex({1, false, true, 2}, BasicLanguage(1)), 1);
}

TEST(LanguageChoice, WritesExactlyFourBytesAndSaysWhichMessageAFailureNeeds) {
  test::TempDir dir;
  WriteBytes(dir, {7, 7, 7, 7, 7, 7, 7, 7});
  EXPECT_TRUE(WriteLanguageChoice(LanguageChoicePathIn(dir.u16()), -2).ok());
  EXPECT_EQ(ReadBytes(dir), (std::vector<char>{'\xFE', '\xFF', '\xFF', '\xFF'}));
  EXPECT_EQ(WriteLanguageChoice(u"/no/such/folder/Language.cfg", 1).ok(), false);
  EXPECT_EQ(LanguageSaveMessageKey(2), "str_msg2");
  EXPECT_EQ(LanguageSaveMessageKey(5), "str_msg5");
  EXPECT_EQ(LanguageSaveMessageKey(3), "");
}

TEST(ApplyLanguage, StepsForEachSenderAndIndex) {
  struct Case {
    uint32_t wParam;
    int32_t lParam;
    bool menuOpen;
    std::string log;
  };
  const Case cases[] = {
      {kLanguageAtStartUp, 2, false,
       "chinese 0;chinese 0;strings Language\\en.xml;flag 2;store 2;texts;"},
      {kLanguageAtStartUp, 1, false,
       "chinese 0;chinese 1;strings Language\\sc.xml;flag 1;store 1;texts;"},
      {kLanguageAtStartUp, 13, false, "chinese 0;store 13;texts;"},
      {kLanguageAtStartUp, -1, false, "chinese 0;store -1;texts;"},
      {0, 12, true, "chinese 0;chinese 0;strings Language\\tw.xml;flag 12;store 12;texts;close;"},
      {0, 3, false, ""},                   // no menu open
      {0, 0, true, ""},                    // the menu closed without a choice
      {kLanguageAtStartUp, 0, false, ""},  //
      {7, 4, false, ""},                   // neither start-up nor an open menu
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    RecordingWindow window(dir);
    window.menuOpen = c.menuOpen;
    ApplyLanguage(c.wParam, c.lParam, window);
    EXPECT_EQ(window.log, c.log) << c.wParam << " " << c.lParam;
  }
}

TEST(ApplyLanguage, IndexOutsideTheTableKeepsTheStringsAndIsWrittenBack) {
  test::TempDir dir;
  WriteBytes(dir, {13, 0, 0, 0});
  RecordingWindow window(dir);
  window.LoadLanguageStrings(BasicLanguage(0).file);
  const LanguageChoiceRead read = ReadLanguageChoice(LanguageChoicePathIn(dir.u16()));
  ApplyLanguage(kLanguageAtStartUp, StartLanguageIndex(read, BasicLanguage(0)), window);
  EXPECT_FALSE(window.chinese);
  EXPECT_EQ(window.strings.Text("str_ok"), u"OK");
  EXPECT_EQ(ReadBytes(dir), (std::vector<char>{13, 0, 0, 0}));
}

TEST(ApplyLanguage, ChineseInstallationWithEnglishChosenEndsEnglish) {
  test::TempDir dir;
  WriteBytes(dir, {2, 0, 0, 0});
  RecordingWindow window(dir);
  window.LoadLanguageStrings(BasicLanguage(1).file);
  const std::u16string chineseOk(window.strings.Text("str_ok"));
  const LanguageChoiceRead read = ReadLanguageChoice(LanguageChoicePathIn(dir.u16()));
  ApplyLanguage(kLanguageAtStartUp, StartLanguageIndex(read, BasicLanguage(1)), window);
  EXPECT_NE(chineseOk, u"OK");
  EXPECT_EQ(window.strings.Text("str_ok"), u"OK");
  EXPECT_EQ(window.strings.Text("str_openPair"), u"Pair mouse");
  EXPECT_FALSE(window.chinese);
  EXPECT_NE(window.log.find("flag 2;"), std::string::npos);
}

TEST(ApplyLanguage, FirstRunAppliesAndStoresTheBasicLanguage) {
  for (int type : {0, 1}) {
    test::TempDir dir;
    RecordingWindow window(dir);
    const LanguageChoiceRead read = ReadLanguageChoice(LanguageChoicePathIn(dir.u16()));
    ApplyLanguage(kLanguageAtStartUp, StartLanguageIndex(read, BasicLanguage(type)), window);
    const char index = type == 1 ? 1 : 2;
    EXPECT_EQ(ReadBytes(dir), (std::vector<char>{index, 0, 0, 0})) << type;
    EXPECT_EQ(window.chinese, type == 1);
  }
}

}  // namespace
}  // namespace norvi
