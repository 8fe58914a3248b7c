#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "localisation/CodePage.h"
#include "localisation/XmlDoc.h"
#include "localisation/XmlEncoding.h"
#include "model/FileIO.h"
#include "model/Text.h"
#include "tests/support/TempDir.h"

namespace norvi {
namespace {

std::vector<std::byte> Bytes(std::string_view s) {
  std::vector<std::byte> out;
  for (char c : s) out.push_back(static_cast<std::byte>(c));
  return out;
}

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string out;
  for (char16_t c : text) {
    const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  }
  return out;
}

XmlDoc Loaded(std::string_view bytes) {
  XmlDoc doc;
  doc.LoadBytes(Bytes(bytes));
  return doc;
}

std::u16string Count(size_t n) {
  return AsciiToUtf16(std::to_string(n));
}

XmlDoc Parsed(std::u16string text) {
  XmlDoc doc;
  doc.SetText(std::move(text));
  return doc;
}

// Text of the first element named name under the root.
std::u16string TextOf(XmlDoc& doc, std::u16string_view name) {
  doc.Rewind();
  return doc.FindChild(name) ? doc.ChildText() : u"<missing>";
}

const std::u16string kSample = u"<root>\n<a>Grüße, 确定 &amp; Ω</a>\n</root>\n";

TEST(XmlDocEncoding, MarksAndUndeclaredUtf8GiveTheSameText) {
  const std::string utf8 = Utf16ToUtf8(kSample);
  const std::string utf16le = Utf16Bytes(kSample, false), utf16be = Utf16Bytes(kSample, true);
  const std::u16string bytes8 = Count(utf8.size()), units = Count(kSample.size());
  const std::u16string chars = u" to " + units + u" wide chars ";
  const struct {
    std::string bytes;
    uint32_t flags;
    std::u16string result;
  } cases[] = {
      {"\xEF\xBB\xBF" + utf8, docflag::Utf8Mark, u"UTF-8 BOM + length " + bytes8 + chars},
      {"\xFF\xFE" + utf16le, docflag::Utf16LE, u"UTF-16LE BOM + length " + units + chars},
      {"\xFE\xFF" + utf16be, docflag::Utf16BE,
       u"UTF-16BE BOM + length " + units + u" endian swap" + chars},
      {utf8, 0, u"UTF-8 length " + bytes8 + chars},
  };
  for (const auto& c : cases) {
    XmlDoc doc = Loaded(c.bytes);
    EXPECT_EQ(doc.Text(), kSample);
    EXPECT_EQ(doc.Flags(), c.flags);
    EXPECT_EQ(doc.Result(), c.result);
    EXPECT_EQ(TextOf(doc, u"a"), u"Grüße, 确定 & Ω");
  }
}

TEST(XmlDocEncoding, DeclaredLegacyEncodingsConvertThroughTheirCodePage) {
  // "确定" in code page 936, "Привет" in KOI8-R, "café" in windows-1252.
  XmlDoc gb = Loaded("<?xml version=\"1.0\" encoding=\"GB2312\"?><r><a>\xC8\xB7\xB6\xA8</a></r>");
  EXPECT_EQ(TextOf(gb, u"a"), u"确定");
  EXPECT_EQ(gb.Result().rfind(u"GB2312 length 57 to 55 wide chars", 0), 0u)
      << Utf16ToUtf8(gb.Result());
  XmlDoc koi =
      Loaded("<?xml version='1.0' encoding='koi8-r'?><r><a>\xF0\xD2\xC9\xD7\xC5\xD4</a></r>");
  EXPECT_EQ(TextOf(koi, u"a"), u"Привет");
  XmlDoc html = Loaded(
      "<!DOCTYPE html><HTML><Head><title>x</title><meta http-equiv=\"content-type\" "
      "content=\"text/html; charset = windows-1252\"></head><body><p>caf\xE9</p></body></HTML>");
  EXPECT_EQ(html.Result().rfind(u"windows-1252 ", 0), 0u) << Utf16ToUtf8(html.Result());
  EXPECT_NE(html.Text().find(u"café"), std::u16string::npos);
}

TEST(XmlDocEncoding, UndeclaredTextIsDetectedAsUtf8OrElseAnsi) {
  XmlDoc utf8 = Loaded(" <r>Grüße</r>");
  // The account names the encoding known before the detection ran.
  EXPECT_EQ(utf8.Result(), u"ANSI length 15 (used UTF-8 detection) to 13 wide chars ");
  EXPECT_EQ(utf8.Text(), u" <r>Grüße</r>");
  XmlDoc ansi = Loaded(
      " <r>Gr\xFC\xDF"
      "e</r>");
  EXPECT_EQ(ansi.Result(), u"ANSI length 13 (used UTF-8 detection) to 13 wide chars ");
  EXPECT_EQ(ansi.Text(), u" <r>Grüße</r>");  // the ANSI code page of the test systems is 1252
}

TEST(XmlDocEncoding, NullUnitsAreRemovedAndLengthsReported) {
  XmlDoc eight = Loaded(std::string("<r>a\0b\0</r>", 11));
  EXPECT_EQ(eight.Text(), u"<r>ab</r>");
  EXPECT_EQ(eight.Result(), u"UTF-8 length 11 (2 nulls removed) to 9 wide chars ");
  XmlDoc wide = Loaded("\xFF\xFE" + Utf16Bytes(std::u16string(u"<r>\0</r>x", 9), false) + "z");
  EXPECT_EQ(wide.Text(), u"<r></r>x");
  EXPECT_EQ(wide.Result(), u"UTF-16LE BOM + length 9 (1 nulls removed) to 8 wide chars ");
  XmlDoc empty = Loaded("\xEF\xBB\xBF");
  EXPECT_EQ(empty.Result(), u"UTF-8 BOM + 0 length Empty document");
  EXPECT_EQ(empty.RecordCount(), 1u);
}

TEST(XmlDocEncoding, NamesAndAliasesMapToCodePagesRegardlessOfCase) {
  const std::pair<std::u16string_view, uint32_t> names[] = {
      {u"utf-8", 65001},      {u"UTF-7", 65000},        {u"unicode", 1200},
      {u"unicodeFFFE", 1201}, {u"gb2312", 936},         {u"Chinese", 936},
      {u"big5", 950},         {u"csBig5", 950},         {u"Shift_JIS", 932},
      {u"euc-kr", 949},       {u"ks_c_5601-1987", 949}, {u"KOI8-R", 20866},
      {u"us-ascii", 20127},   {u"ISO-8859-1", 28591},   {u"latin1", 28591},
      {u"windows-1252", 1252}};
  for (const auto& [name, codePage] : names) EXPECT_EQ(CodePageOfEncoding(name), codePage);
  EXPECT_FALSE(CodePageOfEncoding(u"klingon").has_value());
  EXPECT_FALSE(CodePageOfEncoding(u"").has_value());
}

TEST(CodePage, ConvertsKnownPagesAndRefusesUnknownOnes) {
  std::u16string out = u">";
  EXPECT_TRUE(CodePageToUtf16(950, "\xBD\x54\xA9\x77", out));  // Big5
  EXPECT_TRUE(CodePageToUtf16(1251, "\xCE\xCA", out));
  EXPECT_EQ(out, u">確定ОК");
  EXPECT_FALSE(CodePageToUtf16(12345, "abc", out));
  EXPECT_EQ(out, u">確定ОК");
}

TEST(XmlDocEncoding, UnavailableCodePagesFallBackToAnsi) {
  XmlDoc doc = Loaded("<?xml version=\"1.0\" encoding=\"unicode\"?><r>\xE9</r>");
  EXPECT_NE(doc.Result().find(u"(no converter for code page 1200) "), std::u16string::npos);
  EXPECT_NE(doc.Text().find(u"<r>é</r>"), std::u16string::npos);
}

TEST(XmlDocLoad, MissingFileLeavesNoElementsAndEveryFindFails) {
  testkit::TempDir dir;
  XmlDoc doc;
  ASSERT_TRUE(WriteWholeFile(dir.u16("ok.xml"), Bytes("<r><config/></r>")).ok());
  ASSERT_TRUE(doc.LoadFile(dir.u16("ok.xml")));
  EXPECT_EQ(doc.RecordCount(), 3u);
  EXPECT_FALSE(doc.LoadFile(dir.u16("missing.xml")));
  EXPECT_EQ(doc.RecordCount(), 1u);
  EXPECT_TRUE(doc.Text().empty());
  EXPECT_FALSE(doc.Result().empty());  // the system's reason
  EXPECT_FALSE(doc.FindChild(u""));
  EXPECT_FALSE(doc.FindSibling(u""));
  EXPECT_EQ(doc.Flags(), 0u);
}

TEST(XmlDocText, CharacterReferencesDecodeOnce) {
  XmlDoc doc = Parsed(
      u"<r><a>&amp;lt;</a><b>&#65;&#x41;&#X41;</b><c>&bogus; &amp &#0; &#xD800; &;</c>"
      u"<d>&Oslash;&oslash;&euro;&apos;&#x1F600;</d><e>&verylongname;x</e>"
      u"<f>&AMP;&Quot;&OSLASH;&EuRo;</f></r>");
  EXPECT_EQ(TextOf(doc, u"a"), u"&lt;");
  EXPECT_EQ(TextOf(doc, u"b"), u"AAA");
  EXPECT_EQ(TextOf(doc, u"c"), u"&bogus; &amp &#0; &#xD800; &;");
  EXPECT_EQ(TextOf(doc, u"d"), u"Øø€'\U0001F600");
  EXPECT_EQ(TextOf(doc, u"e"), u"&verylongname;x");
  EXPECT_EQ(TextOf(doc, u"f"), u"&\"Ø€");  // other cases give the first one listed
}

TEST(XmlDocText, ElementsWithChildrenOrNoContentHaveEmptyText) {
  XmlDoc doc = Parsed(
      u"<r><empty/><pair></pair><mixed>a<i>b</i>c</mixed>"
      u"<cdata>x<![CDATA[<&amp;>]]><!-- note --><?pi skip?>y</cdata><sp> two  </sp></r>");
  EXPECT_EQ(TextOf(doc, u"empty"), u"");
  EXPECT_EQ(TextOf(doc, u"pair"), u"");
  EXPECT_EQ(TextOf(doc, u"mixed"), u"");
  EXPECT_EQ(TextOf(doc, u"cdata"), u"x<&amp;>y");
  EXPECT_EQ(TextOf(doc, u"sp"), u" two  ");
  EXPECT_TRUE(doc.WellFormed());
}

TEST(XmlDocNavigation, FindsByNameWithTerminatorsAndMovesDown) {
  XmlDoc doc = Parsed(
      u"<?xml version='1.0'?><root><con/><config id='1'><k>1</k></config>"
      u"<config><k>2</k></config></root>");
  EXPECT_TRUE(doc.FindChild(u"config"));
  EXPECT_EQ(doc.TagName(doc.Current()), u"root");
  EXPECT_EQ(doc.Parent(), 0u);
  EXPECT_TRUE(doc.FindChild(u"config"));  // the next one after the child found before
  EXPECT_TRUE(doc.EnterChild());
  EXPECT_TRUE(doc.FindChild(u"k"));
  EXPECT_EQ(doc.ChildText(), u"2");
  EXPECT_FALSE(doc.FindChild(u"k"));
  EXPECT_EQ(doc.ChildText(), u"2");  // failure changes nothing
  doc.Rewind();
  EXPECT_TRUE(doc.FindChild(u"config attr"));  // a name may go on with " =/[]"
  EXPECT_FALSE(doc.FindSibling(u""));          // nothing follows the root at the top
  doc.Rewind();
  EXPECT_FALSE(doc.EnterChild());
  EXPECT_TRUE(doc.FindSibling(u""));
  EXPECT_EQ(doc.TagName(doc.Current()), u"root");
}

TEST(XmlDocParse, RecordsHoldOffsetsLengthsAndLinks) {
  XmlDoc doc = Parsed(u"<r a='>'><b/><c>t</c ></r>");
  ASSERT_EQ(doc.RecordCount(), 4u);
  const ElemRecord& r = doc.Record(1);
  EXPECT_EQ(r.start, 0u);
  EXPECT_EQ(r.length, 26u);
  EXPECT_EQ(r.StartTagLength(), 9u);
  EXPECT_EQ(r.EndTagLength(), 4u);
  EXPECT_EQ(doc.Record(0).firstChild, 1u);
  EXPECT_EQ(r.firstChild, 2u);
  EXPECT_EQ(doc.Record(2).nextSibling, 3u);
  EXPECT_EQ(doc.Record(3).prevSibling, 2u);
  EXPECT_EQ(doc.Record(2).StartTagLength(), doc.Record(2).length);
  EXPECT_EQ(doc.Record(3).EndTagLength(), 5u);
  EXPECT_EQ(doc.Record(3).parent, 1u);
}

TEST(XmlDocParse, EveryWellFormednessMessage) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"", u"Empty document"},
      {u"text only", u"No root element"},
      {u"<a/><b/>", u"Root element has sibling"},
      {u"<a></b></a>", u"No start tag for end tag 'b' at offset 3"},
      {u"<a><b></a>", u"End tag 'a' at offset 6 does not match start tag 'b' at offset 3"},
      {u"<a><b>", u"Element 'b' at offset 3 not ended; Element 'a' at offset 0 not ended"},
      {u"<a x='1", u"Element tag at offset 0 unterminated; No root element"},
      {u"<a></a", u"Element end tag at offset 3 unterminated; Element 'a' at offset 0 not ended"},
      {u"<a/><![CDATA[x", u"CDATA Section at offset 4 unterminated"},
      {u"<a/><?pi", u"Processing instruction at offset 4 unterminated"},
      {u"<a/><!-- x", u"Comment at offset 4 unterminated"},
      {u"<!DOCTYPE a [ <!ENTITY b 'c'> ", u"Doctype at offset 0 unterminated; No root element"},
      {u"<a/><", u"tag at offset 4 unterminated"},
      {u"<a/>< b", u"Incorrect tag name character at offset 4"},
      {u"<a/><!1>", u"Incorrect ! tag at offset 4"},
      {u"<a/><!-x>", u"Incorrect comment tag at offset 4"},
      {u"<a <b/>", u"Incorrect tag at offset 0"},
  };
  for (const auto& [text, message] : cases) {
    XmlDoc doc = Parsed(text);
    EXPECT_EQ(doc.Result(), message) << Utf16ToUtf8(text);
    EXPECT_FALSE(doc.WellFormed()) << Utf16ToUtf8(text);
  }
  XmlDoc fine = Parsed(u"<!DOCTYPE a [<!ENTITY b '>'>]><!-- c --><a><![CDATA[</a>]]></a>");
  EXPECT_TRUE(fine.WellFormed()) << Utf16ToUtf8(fine.Result());
  EXPECT_TRUE(fine.Result().empty());
}

TEST(XmlDocParse, AMismatchedEndTagClosesTheElementOfItsName) {
  XmlDoc doc = Parsed(u"<a><b><c>t</a><d/>");
  // b and c end where "</a>" starts; a ends with it; d follows at the top.
  EXPECT_EQ(doc.Record(3).length, 4u);
  EXPECT_EQ(doc.Record(2).length, 7u);
  EXPECT_TRUE(doc.Record(3).flags & elemflag::Unended);
  EXPECT_EQ(doc.Record(1).length, 14u);
  EXPECT_EQ(doc.Record(1).nextSibling, 4u);
  EXPECT_EQ(doc.ElementText(3), u"t");
}

TEST(XmlDocParse, ElementTableGrowsPastOneSegment) {
  std::u16string text = u"<r>";
  for (int i = 0; i < 70000; ++i) text += u"<e/>";
  text += u"</r>";
  XmlDoc doc = Parsed(text);
  ASSERT_EQ(doc.RecordCount(), 70002u);
  EXPECT_EQ(doc.Record(70001).start, 3u + 4u * 69999u);
  EXPECT_EQ(doc.Record(70001).prevSibling, 70000u);
  EXPECT_EQ(doc.Record(65536).parent, 1u);
}

}  // namespace
}  // namespace norvi
