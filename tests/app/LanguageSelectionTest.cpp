// The language choice file, the start-up language and the steps of applying a language, seen
// through a recording main window with a real string table and a real "Language.cfg".
#include "app/LanguageSelection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/Messages.h"
#include "localisation/StringTable.h"
#include "model/ProfileStore.h"
#include "model/Text.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

using Bytes = std::vector<char>;

std::u16string SourceFolder() {
  const char* root = std::getenv("NORVI_SOURCE_DIR");
  std::u16string path = Utf8ToUtf16(root ? root : ".");
#ifdef _WIN32
  if (!path.empty() && path[0] == u'/') path = u"Z:" + path;
  std::replace(path.begin(), path.end(), u'/', u'\\');
#endif
  return path;
}

class RecordingWindow : public ILanguageWindow {
 public:
  bool LanguageMenuOpen() const override { return menuOpen; }
  void SetChineseInterface(bool c) override {
    log += "chinese " + std::to_string(chinese = c) + ";";
  }
  void LoadLanguageStrings(std::u16string_view file) override {
    strings.LoadLanguageStrings(SourceFolder() + u"\\" + std::u16string(file));
    log += "strings " + Utf16ToUtf8(file) + ";";
  }
  void ShowFlag(int32_t index) override { log += "flag " + std::to_string(index) + ";"; }
  void StoreLanguageChoice(int32_t index) override {
    WriteLanguageChoice(LanguageChoicePathIn(config.u16()), index);
    log += "store " + std::to_string(index) + ";";
  }
  void RefreshLanguageTexts() override { log += "texts;"; }
  void CloseLanguageMenu() override { log += "close;"; }

  // "Language.cfg" as it is, or "none".
  Bytes Stored() const {
    std::ifstream in(config.path() / "Language.cfg", std::ios::binary);
    return in ? Bytes(std::istreambuf_iterator<char>(in), {}) : Bytes{'n', 'o', 'n', 'e'};
  }

  testkit::TempDir config;
  bool menuOpen = false;
  bool chinese = true;
  StringTable strings;
  std::string log;
};

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
    RecordingWindow window;
    window.menuOpen = c.menuOpen;
    ApplyLanguage(c.wParam, c.lParam, window, true);
    EXPECT_EQ(window.log, c.log) << c.wParam << " " << c.lParam;
  }
}

// The whole start: basic language, "Language.cfg" read, the posted application.
TEST(ApplyLanguage, StartUpFromTheInstallationAndTheStoredChoice) {
  struct Case {
    const char* what;
    int languageType;
    bool write;
    Bytes file;
    std::u16string_view ok;  // str_ok at the end
    bool chinese;
    Bytes stored;
  };
  const Case cases[] = {
      {"first run, English", 0, false, {}, u"OK", false, {2, 0, 0, 0}},
      {"first run, Chinese", 1, false, {}, u"\u786e\u5b9a", true, {1, 0, 0, 0}},
      {"Chinese installation, English chosen", 1, true, {2, 0, 0, 0}, u"OK", false, {2, 0, 0, 0}},
      {"13: nothing loaded, kept", 0, true, {13, 0, 0, 0}, u"OK", false, {13, 0, 0, 0}},
      {"all four bytes count", 0, true, {2, 1, 0, 0}, u"OK", false, {2, 1, 0, 0}},
      {"longer file: the first four", 0, true, {3, 0, 0, 0, 9}, u"OK", false, {3, 0, 0, 0, 9}},
      // Cut short: no choice, the installation's language, and the file kept as it is. The
      // two bytes would read as English, which a Chinese installation tells apart.
      {"cut short: no choice", 1, true, {2, 0}, u"\u786e\u5b9a", true, {2, 0}},
      {"cut short, English installation", 0, true, {1}, u"OK", false, {1}},
  };
  for (const Case& c : cases) {
    RecordingWindow window;
    if (c.write)
      std::ofstream(window.config.path() / "Language.cfg", std::ios::binary)
          .write(c.file.data(), static_cast<std::streamsize>(c.file.size()));
    const Language& basic = BasicLanguage(c.languageType);
    window.LoadLanguageStrings(basic.file);
    const LanguageChoiceRead read = ReadLanguageChoice(LanguageChoicePathIn(window.config.u16()));
    EXPECT_EQ(read.missing, !c.write) << c.what;
    const StartLanguage start = StartLanguageFrom(read, basic);
    ApplyLanguage(kLanguageAtStartUp, start.index, window, start.store);
    EXPECT_EQ(window.strings.Text("str_ok"), c.ok) << c.what;
    EXPECT_EQ(window.chinese, c.chinese) << c.what;
    EXPECT_EQ(window.Stored(), c.stored) << c.what;
  }
}

// Lost: the user's language, switched to Chinese and stored over by a file that could not be
// read at that moment. It is read again with pauses; when it stays unreadable the run uses
// the installation's language and the file is kept until the user chooses one.
TEST(LanguageChoice, AFileThatCannotBeReadIsRetriedThenKeptUntilTheUserChooses) {
  RecordingWindow window;
  const std::filesystem::path file = window.config.path() / "Language.cfg";
  std::filesystem::create_directory(file);  // exists, cannot be read
  int pauses = 0;
  const std::u16string path = LanguageChoicePathIn(window.config.u16());
  const LanguageChoiceRead read = ReadLanguageChoice(path, [&] { ++pauses; });
  EXPECT_EQ(pauses, kProfileReadAttempts - 1);
  EXPECT_FALSE(read.stored);
  EXPECT_FALSE(read.missing);
  EXPECT_EQ(StartLanguageFrom(read, BasicLanguage(0)).index, kEnglishIndex);
  const StartLanguage start = StartLanguageFrom(read, BasicLanguage(0));
  EXPECT_EQ(start.index, kEnglishIndex);
  EXPECT_FALSE(start.store);
  ApplyLanguage(kLanguageAtStartUp, start.index, window, start.store);
  EXPECT_EQ(window.log, "chinese 0;chinese 0;strings Language\\en.xml;flag 2;texts;");
  EXPECT_TRUE(std::filesystem::is_directory(file));

  // Readable on a later try: the stored choice holds.
  std::filesystem::remove(file);
  std::ofstream(file, std::ios::binary).write("\x05\0\0\0", 4);
  std::filesystem::rename(file, window.config.path() / "held");
  std::filesystem::create_directory(file);
  pauses = 0;
  const LanguageChoiceRead later = ReadLanguageChoice(path, [&] {
    if (++pauses == 2) {
      std::filesystem::remove(file);
      std::filesystem::rename(window.config.path() / "held", file);
    }
  });
  EXPECT_EQ(pauses, 2);
  EXPECT_TRUE(later.stored);
  EXPECT_EQ(StartLanguageFrom(later, BasicLanguage(0)).index, 5);

  // The user's own choice from the menu is stored, whatever start-up found.
  window.menuOpen = true;
  ApplyLanguage(0, 4, window, false);
  EXPECT_EQ(window.Stored(), (Bytes{4, 0, 0, 0}));
}

TEST(LanguageChoice, FailuresGiveTheBasicLanguageOrTheirMessage) {
  const LanguageChoiceRead noFolder = ReadLanguageChoice(u"/no/such/folder/Language.cfg");
  EXPECT_TRUE(noFolder.missing);  // a first run as well
  EXPECT_TRUE(StartLanguageFrom(noFolder, BasicLanguage(1)).store);
  EXPECT_EQ(StartLanguageFrom({1, false, false, 5}, BasicLanguage(0)).index, kEnglishIndex);
  EXPECT_FALSE(WriteLanguageChoice(u"/no/such/folder/Language.cfg", 1).ok());
  EXPECT_EQ(LanguageSaveMessageKey(2), "str_msg2");
  EXPECT_EQ(LanguageSaveMessageKey(5), "str_msg5");
  EXPECT_EQ(LanguageSaveMessageKey(3), "");
}

}  // namespace
}  // namespace norvi
