// The installed language files, each in the encoding it is stored in: 8-bit files with a
// declaration (gb2312, big5, koi8-r, windows-1252, iso-8859-1), UTF-8 with and without a byte
// order mark or declaration, and UTF-16LE with a mark. Edit them with an editor that keeps
// the file's encoding (or convert with iconv and back); the tests below pin each one down.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

#include "localisation/Languages.h"
#include "localisation/StringTable.h"
#include "model/FileIO.h"
#include "model/FunctionCodes.h"
#include "model/FunctionName.h"
#include "model/Text.h"
#include "tests/localisation/TextTestSupport.h"

namespace norvi {
namespace {

using testkit::SourcePath;

struct Expected {
  std::u16string_view encoding;  // how the load account begins
  std::u16string_view ok;
  std::string_view key;  // a key whose text needs more than ASCII (where the language has any)
  std::u16string_view text;
};

// In language-table order.
const Expected kExpected[] = {
    {u"gb2312 ", u"确定", "str_list_base_copy", u"复制"},
    {u"utf-8 ", u"OK", "str_list_base_copy", u"Copy"},
    {u"UTF-8 BOM + ", u"OK", "str_list_base", u"Édition"},
    {u"UTF-16LE BOM + ", u"확인", "str_list_base_copy", u"복사"},
    {u"UTF-8 ", u"OK", "str_list_base_paste", u"Einfügen"},
    {u"windows-1252 ", u"OK", "str_list_media_vol_less", u"Volume giù"},
    {u"iso-8859-1 ", u"Aceptar", "str_msg3", u"¿Restaurar valores predeterminados?"},
    {u"UTF-8 BOM + ", u"OK", "str_list_base_copy", u"Kopiëren"},
    {u"UTF-16LE BOM + ", u"OK", "str_list_media", u"Multimédia"},
    {u"koi8-r ", u"ОК", "str_list_base_selectall", u"Выделить всё"},
    {u"UTF-16LE BOM + ", u"OK", "str_list_base_copy", u"Копіювати"},
    {u"big5 ", u"確定", "str_list_base_copy", u"複製"},
};
static_assert(std::size(kExpected) == kLanguages.size());

TEST(LanguageFiles, EveryFileLoadsAllKeysInItsOwnEncoding) {
  StringTable table;
  for (size_t i = 0; i < kLanguages.size(); ++i) {
    const Language& language = kLanguages[i];
    const Expected& expected = kExpected[i];
    SCOPED_TRACE(Utf16ToUtf8(language.file));
    ASSERT_EQ(table.LoadLanguageStrings(SourcePath(language.file)), 1);
    const XmlDoc& doc = table.Document();
    EXPECT_TRUE(doc.WellFormed()) << Utf16ToUtf8(doc.Result());
    EXPECT_EQ(doc.Result().rfind(expected.encoding, 0), 0u) << Utf16ToUtf8(doc.Result());
    for (std::string_view key : kLanguageKeys) EXPECT_FALSE(table.Text(key).empty()) << key;
    EXPECT_EQ(table.Text("str_ok"), expected.ok);
    EXPECT_EQ(table.Text(expected.key), expected.text);
    const std::u16string_view format = table.Text("str_msg2");
    EXPECT_EQ(testkit::Occurrences(format, u"%s"), 1u);
    EXPECT_EQ(testkit::Occurrences(format, u"%"), 1u);
    EXPECT_EQ(testkit::Occurrences(table.Text("str_msg5"), u"%"), 0u);
    // The profile's messages carry the path once, the program's settings item its file name;
    // the remapping notice has none.
    for (std::string_view key : {"str_msg_profile_unreadable", "str_msg_profile_not_saved",
                                 "str_msg_profile_applied_not_saved", "str_msg_config_elsewhere",
                                 "str_settings_for_program"}) {
      EXPECT_EQ(testkit::Occurrences(table.Text(key), u"%s"), 1u) << key;
      EXPECT_EQ(testkit::Occurrences(table.Text(key), u"%"), 1u) << key;
    }
    EXPECT_EQ(testkit::Occurrences(table.Text("str_msg_no_remapping"), u"%"), 0u);
  }
}

// Every function of the catalogue has its name in every language, and a page of the picker
// never shows two rows alike.
TEST(LanguageFiles, EveryFunctionIsNamedAndNoTwoOnAPageAlike) {
  StringTable table;
  for (const Language& language : kLanguages) {
    SCOPED_TRACE(Utf16ToUtf8(language.file));
    ASSERT_EQ(table.LoadLanguageStrings(SourcePath(language.file)), 1);
    std::map<std::pair<FunctionCategory, std::u16string>, int32_t> shown;
    for (const FunctionInfo& f : FunctionCatalogue()) {
      const std::u16string name = FunctionName(f.code, table);
      EXPECT_FALSE(name.empty()) << f.code;
      const auto [at, fresh] = shown.emplace(std::pair{f.category, name}, f.code);
      EXPECT_TRUE(fresh) << f.code << " is named as " << at->second;
    }
  }
}

// French sets a no-break space before ":", ";", "?" and "!", so that a line never breaks
// before the sign.
TEST(LanguageFiles, FrenchHighPunctuationFollowsANoBreakSpace) {
  StringTable table;
  ASSERT_EQ(table.LoadLanguageStrings(SourcePath(u"Language\\fre.xml")), 1);
  for (std::string_view key : kLanguageKeys) {
    const std::u16string_view text = table.Text(key);
    for (size_t i = 1; i < text.size(); ++i) {
      if (std::u16string_view(u":;?!").find(text[i]) != std::u16string_view::npos) {
        EXPECT_EQ(text[i - 1], u'\u00A0') << key;
      }
    }
  }
}

TEST(LanguageFiles, InstallationDefaultIsEnglish) {
  std::string ini(256, '\0');
  const FileResult read = ReadFilePrefix(SourcePath(u"skins\\languagetype.ini"),
                                         std::as_writable_bytes(std::span(ini)));
  ASSERT_TRUE(read.ok());
  ini.resize(read.bytes);
  EXPECT_NE(ini.find("[languagetype]"), std::string::npos);
  EXPECT_NE(ini.find("value=0"), std::string::npos);
}

}  // namespace
}  // namespace norvi
