#include <gtest/gtest.h>

#include <string>

#include "localisation/BuiltInTexts.h"
#include "localisation/Languages.h"
#include "localisation/StringTable.h"
#include "model/FileIO.h"
#include "model/FunctionCodes.h"
#include "model/FunctionName.h"
#include "model/Text.h"
#include "tests/localisation/TextTestSupport.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

using testkit::WriteText;

TEST(LookupKey, FindsKeysInNestedConfigButNotDirectlyUnderTheRoot) {
  XmlDoc doc;
  doc.SetText(
      u"<lang><str_ok>root</str_ok><other><str_cancel>no</str_cancel></other>"
      u"<config><str_ok>OK</str_ok><config><str_cancel>Cancel</str_cancel>"
      u"<config><str_msg1>deep</str_msg1></config></config></config></lang>");
  EXPECT_EQ(LookupKey(doc, u"config", u"str_ok"), u"OK");
  EXPECT_EQ(LookupKey(doc, u"config", u"str_cancel"), u"Cancel");
  EXPECT_EQ(LookupKey(doc, u"config", u"str_msg1"), u"deep");
  EXPECT_EQ(LookupKey(doc, u"config", u"str_msg2"), u"");
  XmlDoc flat;
  flat.SetText(u"<lang><str_ok>OK</str_ok></lang>");
  EXPECT_EQ(LookupKey(flat, u"config", u"str_ok"), u"");
}

TEST(StringTable, EveryLoadReplacesAllStringsAndMissingKeysTakeTheBuiltInEnglishText) {
  testkit::TempDir dir;  // no en.xml beside the files
  WriteText(dir.u16("one.xml"),
            "<l><config><str_ok>D'accord</str_ok><str_msg1>Saved &amp; applied</str_msg1>"
            "<str_msg4>four</str_msg4></config></l>");
  WriteText(dir.u16("two.xml"), "<l><config><str_msg1>Gespeichert</str_msg1></config></l>");
  StringTable table;
  EXPECT_EQ(table.Text("str_ok"), u"");  // nothing loaded yet
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("one.xml")), 1);
  EXPECT_EQ(table.Text("str_ok"), u"D'accord");
  EXPECT_EQ(table.Text("str_msg1"), u"Saved & applied");
  EXPECT_EQ(table.Text("str_msg4"), u"four");
  EXPECT_EQ(table.Text("str_cancel"), u"Cancel");
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("two.xml")), 1);
  EXPECT_EQ(table.Text("str_ok"), u"OK");  // not the earlier language's
  EXPECT_EQ(table.Text("str_msg4"), u"Please plug in the receiver.");
  EXPECT_EQ(table.Text("str_msg1"), u"Gespeichert");
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("missing.xml")), 0);
  EXPECT_EQ(table.Text("str_msg1"), u"Settings saved and applied.");
}

// A key the chosen file lacks or leaves empty comes from the English file beside it; one the
// English file lacks too, from the built-in texts. A damaged file is a file without keys.
TEST(StringTable, MissingStringsComeFromTheEnglishFileThenFromTheBuiltInTexts) {
  testkit::TempDir dir;
  WriteText(dir.u16("en.xml"),
            "<l><config><str_ok>OK (file)</str_ok><str_cancel>Cancel (file)</str_cancel>"
            "</config></l>");
  WriteText(dir.u16("ger.xml"),
            "<l><config><str_cancel>Abbrechen</str_cancel><str_panel></str_panel></config></l>");
  WriteText(dir.u16("kor.xml"), std::string(5u << 20, '<'));
  StringTable table;
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("ger.xml")), 1);
  EXPECT_EQ(table.Text("str_cancel"), u"Abbrechen");
  EXPECT_EQ(table.Text("str_ok"), u"OK (file)");
  EXPECT_EQ(table.Text("str_panel"), u"Choose a function");
  EXPECT_EQ(table.LanguageIndex(), 5);

  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("kor.xml")), 1);
  EXPECT_FALSE(table.Document().WellFormed());
  EXPECT_EQ(table.Text("str_cancel"), u"Cancel (file)");
  EXPECT_EQ(table.Text("str_ok"), u"OK (file)");
  EXPECT_EQ(table.LanguageIndex(), 4);  // the chosen language's face, English texts
  for (const std::string_view key : kLanguageKeys) EXPECT_FALSE(table.Text(key).empty()) << key;

  // The English file itself is not read twice: what it lacks is built in.
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("en.xml")), 1);
  EXPECT_EQ(table.Text("str_ok"), u"OK (file)");
  EXPECT_EQ(table.Text("str_list_base_cut"), u"Cut");
}

TEST(StringTable, BuiltInTextsAreTheEnglishFilesTexts) {
  const std::u16string english = testkit::SourcePath(u"Language\\en.xml");
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFile(english));
  for (const std::string_view key : kLanguageKeys) {
    EXPECT_FALSE(BuiltInEnglish(key).empty()) << key;
    EXPECT_EQ(BuiltInEnglish(key), LookupKey(doc, u"config", AsciiToUtf16(key))) << key;
  }
}

TEST(LanguageOfFile, NamesTheLanguageByFileNameInAnyFolderAndCase) {
  EXPECT_EQ(LanguageOfFile(u"C:\\Program Files\\Norvi\\Language\\sc.xml"), 1);
  EXPECT_EQ(LanguageOfFile(u"Language\\KOR.XML"), 4);
  EXPECT_EQ(LanguageOfFile(u"/tmp/x/tw.xml"), 12);
  EXPECT_EQ(LanguageOfFile(u"en.xml"), 2);
  EXPECT_EQ(LanguageOfFile(u"Language\\xsc.xml"), 0);
  EXPECT_EQ(LanguageOfFile(u"Language\\sc.xml.bak"), 0);
  EXPECT_EQ(LanguageOfFile(u""), 0);
  EXPECT_EQ(TextFaceFor(1).charset, 134);
  EXPECT_EQ(TextFaceFor(12).face, u"Microsoft JhengHei");
  EXPECT_EQ(TextFaceFor(4).charset, 129);
  EXPECT_EQ(TextFaceFor(10).face, u"MS Shell Dlg");
  EXPECT_EQ(TextFaceFor(0).charset, 1);
}

TEST(StringTable, SetReplacesOneKnownStringOnly) {
  StringTable table;
  EXPECT_EQ(table.Set("str_ok", u"确定"), 1);
  EXPECT_EQ(table.Text("str_ok"), u"确定");
  EXPECT_EQ(table.Set("str_nonsense", u"x"), 0);
  EXPECT_EQ(table.Text("str_nonsense"), u"");
}

TEST(StringTable, ServesFunctionNamesOfTheCatalogue) {
  StringTable table;
  for (const FunctionInfo& f : FunctionCatalogue())
    EXPECT_EQ(table.Set(f.key, AsciiToUtf16(f.key)), 1) << f.key;
  for (FunctionCategory c :
       {FunctionCategory::Base, FunctionCategory::Windows, FunctionCategory::Media,
        FunctionCategory::Mouse, FunctionCategory::Advance})
    EXPECT_EQ(table.Set(CategoryHeaderKey(c), u"tab"), 1) << CategoryHeaderKey(c);
  EXPECT_EQ(table.Set(kDefaultChoiceKey, u"Default"), 1);
  EXPECT_EQ(FunctionName(35, table), u"str_list_windows_lock_PC");
  EXPECT_EQ(FunctionName(96, table), table.Text("str_list_disable"));
  EXPECT_EQ(FunctionName(9, table), u"");
  EXPECT_EQ(FunctionName(0, table), u"");
}

}  // namespace
}  // namespace norvi
