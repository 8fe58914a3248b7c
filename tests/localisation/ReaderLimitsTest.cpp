// What a hostile or damaged language file can do to the reader: the account stays small,
// large files are read whole up to the limit, nothing throws, and a file the reader cannot
// hold leaves the strings shown so far in place.

#include <gtest/gtest.h>

#include <string>

#include "localisation/StringTable.h"
#include "localisation/XmlDoc.h"
#include "model/FileIO.h"
#include "model/SystemErrors.h"
#include "model/Text.h"
#include "tests/localisation/TextTestSupport.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

constexpr size_t kMiB = size_t{1} << 20;

using testkit::Occurrences;
using testkit::WriteText;

TEST(ReaderLimits, TheAccountKeepsThirtyTwoMessagesThenCountsTheRest) {
  XmlDoc doc;
  doc.SetText(std::u16string(5000, u'<'));
  // 4999 bad names, one cut-off tag at the end, no root element.
  EXPECT_EQ(Occurrences(doc.Result(), u"Incorrect tag name character"), 32u);
  EXPECT_EQ(Occurrences(doc.Result(), u"; "), 32u);
  EXPECT_TRUE(doc.Result().ends_with(u"at offset 31; 4969 more errors"))
      << Utf16ToUtf8(doc.Result());
  EXPECT_FALSE(doc.WellFormed());

  const std::u16string longName(300, u'b');
  doc.SetText(u"<r></" + longName + u">");
  EXPECT_EQ(doc.Result(), u"No start tag for end tag '" + longName.substr(0, 64) +
                              u"...' at offset 3; Element 'r' at offset 0 not ended");
}

TEST(ReaderLimits, AnUnknownEncodingNameIsReportedAndTheSystemCodePageUsed) {
  XmlDoc doc;
  const std::string bytes = "<?xml version=\"1.0\" encoding=\"klingon\"?><r>caf\xE9</r>";
  doc.LoadBytes(std::as_bytes(std::span(bytes.data(), bytes.size())));
  EXPECT_EQ(doc.Result().rfind(u"klingon length 51 (unknown encoding name, system code page used) "
                               u"to 51 wide chars ",
                               0),
            0u)
      << Utf16ToUtf8(doc.Result());
  EXPECT_NE(doc.Text().find(u"<r>café</r>"), std::u16string::npos);  // 1252 on test systems
}

TEST(ReaderLimits, ACharsetAfterTheHeadIsIgnored) {
  XmlDoc doc;
  const std::string bytes =
      "<html><head><title>t</title></head><body><meta http-equiv=\"Content-Type\" "
      "content=\"text/html; charset=koi8-r\"></body></html>";
  doc.LoadBytes(std::as_bytes(std::span(bytes.data(), bytes.size())));
  EXPECT_EQ(doc.Result().rfind(u"UTF-8 length", 0), 0u) << Utf16ToUtf8(doc.Result());
}

TEST(ReaderLimits, AKeyIsNotFoundUnderALongerNameItBegins) {
  XmlDoc doc;
  doc.SetText(u"<l><config><str_list_base_cut>Cut</str_list_base_cut></config></l>");
  EXPECT_EQ(LookupKey(doc, u"config", u"str_list_base"), u"");
  doc.SetText(
      u"<l><config><str_list_base_cut>Cut</str_list_base_cut><str_list_base>Edit</str_list_base>"
      u"</config></l>");
  EXPECT_EQ(LookupKey(doc, u"config", u"str_list_base"), u"Edit");
  EXPECT_EQ(LookupKey(doc, u"config", u"str_list_base_cut"), u"Cut");
}

TEST(ReaderLimits, AFileBeyondTheFirstReadIsReadWhole) {
  testkit::TempDir dir;
  std::string text = "<l><config>";
  while (text.size() < 200 * 1024) text += "<x>filler</x>";
  text += "<str_ok>end</str_ok></config></l>";
  WriteText(dir.u16("big.xml"), text);
  StringTable table;
  ASSERT_EQ(table.LoadLanguageStrings(dir.u16("big.xml")), 1);
  EXPECT_EQ(table.Document().Text().size(), text.size());
  EXPECT_EQ(table.Text("str_ok"), u"end");
}

// The two files of the report: a few megabytes of "<", and one element of fifty megabytes.
// Both must load within a 32-bit process without throwing.
TEST(ReaderLimits, HugeMalformedAndHugeSingleElementFilesLoad) {
  testkit::TempDir dir;
  WriteText(dir.u16("lt.xml"), std::string(5 * kMiB, '<'));
  std::string one = "<language>";
  one.append(50 * kMiB, 'x');
  one += "</language>";
  WriteText(dir.u16("one.xml"), one);
  const size_t oneSize = one.size();
  std::string().swap(one);

  StringTable table;
  table.Set("str_ok", u"OK");
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("lt.xml")), 1);
  EXPECT_LT(table.Document().Result().size(), 4096u);
  EXPECT_EQ(table.Text("str_ok"), u"OK");  // read, but it holds no keys: built in

  table.Set("str_ok", u"OK");
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("one.xml")), 1);
  EXPECT_TRUE(table.Document().WellFormed()) << Utf16ToUtf8(table.Document().Result());
  EXPECT_EQ(table.Document().Text().size(), oneSize);
  EXPECT_EQ(table.Document().RecordCount(), 2u);
}

TEST(ReaderLimits, AFileTooLargeForTheReaderGivesTheEnglishTexts) {
  testkit::TempDir dir;
  WriteText(dir.u16("ok.xml"), "<l><config><str_ok>Bien</str_ok></config></l>");
  WriteText(dir.u16("huge.xml"), std::string(64 * kMiB, ' '));
  StringTable table;
  ASSERT_EQ(table.LoadLanguageStrings(dir.u16("ok.xml")), 1);
  EXPECT_EQ(table.LoadLanguageStrings(dir.u16("huge.xml")), 0);
  EXPECT_EQ(table.Document().LoadError(), syserr::FileTooLarge);
  EXPECT_EQ(table.Document().RecordCount(), 1u);
  EXPECT_FALSE(table.Document().Result().empty());
  EXPECT_EQ(table.Text("str_ok"), u"OK");
}

}  // namespace
}  // namespace norvi
