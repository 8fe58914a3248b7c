#include <gtest/gtest.h>

#include <string>

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

TEST(StringTable, EveryLoadReplacesAllStringsAndMissingKeysBecomeEmpty) {
  testkit::TempDir dir;
  WriteText(dir.u16("one.xml"),
            "<l><config><str_ok>OK</str_ok><str_msg1>Saved &amp; applied</str_msg1>"
            "<str_msg4>four</str_msg4></config></l>");
  WriteText(dir.u16("two.xml"), "<l><config><str_msg1>Gespeichert</str_msg1></config></l>");
  StringTable table;
  EXPECT_EQ(table.Text("str_ok"), u"");
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("one.xml")), 1);
  EXPECT_EQ(table.Text("str_ok"), u"OK");
  EXPECT_EQ(table.Text("str_msg1"), u"Saved & applied");
  EXPECT_EQ(table.Text("str_msg4"), u"four");
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("two.xml")), 1);
  EXPECT_EQ(table.Text("str_ok"), u"");
  EXPECT_EQ(table.Text("str_msg4"), u"");
  EXPECT_EQ(table.Text("str_msg1"), u"Gespeichert");
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("missing.xml")), 0);
  EXPECT_EQ(table.Text("str_msg1"), u"");
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
