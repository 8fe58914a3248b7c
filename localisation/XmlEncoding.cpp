#include "localisation/XmlEncoding.h"

#include <cstddef>

#include "localisation/XmlSyntax.h"

namespace norvi {
namespace {

using xml::EqualsIgnoringCase;
using xml::StartsWith;

struct EncodingName {
  std::u16string_view name;
  uint32_t codePage;
};

// Names and aliases as documents write them, with the Windows code page of each.
// clang-format off
constexpr EncodingName kEncodings[] = {
    {u"utf-8", 65001}, {u"unicode-1-1-utf-8", 65001}, {u"unicode-2-0-utf-8", 65001},
    {u"x-unicode20utf8", 65001}, {u"utf-7", 65000}, {u"csunicode11utf7", 65000},
    {u"unicode-1-1-utf-7", 65000}, {u"unicode-2-0-utf-7", 65000}, {u"x-unicode20utf7", 65000},
    {u"unicode", 1200}, {u"utf-16", 1200}, {u"utf-16le", 1200}, {u"ucs-2", 1200},
    {u"unicodefffe", 1201}, {u"utf-16be", 1201},
    {u"gb2312", 936}, {u"chinese", 936}, {u"cn-gb", 936}, {u"csgb2312", 936},
    {u"csgb231280", 936}, {u"csiso58gb231280", 936}, {u"gb_2312-80", 936}, {u"gb231280", 936},
    {u"gbk", 936}, {u"iso-ir-58", 936}, {u"gb18030", 54936},
    {u"big5", 950}, {u"csbig5", 950}, {u"cn-big5", 950}, {u"x-x-big5", 950},
    {u"shift_jis", 932}, {u"shift-jis", 932}, {u"sjis", 932}, {u"csshiftjis", 932},
    {u"cswindows31j", 932}, {u"ms_kanji", 932}, {u"x-sjis", 932},
    {u"euc-kr", 949}, {u"ks_c_5601-1987", 949}, {u"ks_c_5601", 949}, {u"ks_c_5601-1989", 949},
    {u"ks_c_5601_1987", 949}, {u"ksc_5601", 949}, {u"korean", 949}, {u"csksc56011987", 949},
    {u"iso-ir-149", 949}, {u"johab", 1361},
    {u"koi8-r", 20866}, {u"cskoi8r", 20866}, {u"koi", 20866}, {u"koi8", 20866},
    {u"koi8-u", 21866}, {u"koi8-ru", 21866},
    {u"us-ascii", 20127}, {u"ascii", 20127}, {u"us", 20127}, {u"ansi_x3.4-1968", 20127},
    {u"iso646-us", 20127}, {u"cp367", 20127}, {u"ibm367", 20127},
    {u"iso-8859-1", 28591}, {u"latin1", 28591}, {u"l1", 28591}, {u"iso_8859-1", 28591},
    {u"iso8859-1", 28591}, {u"cp819", 28591}, {u"ibm819", 28591}, {u"iso-ir-100", 28591},
    {u"csisolatin1", 28591},
    {u"iso-8859-2", 28592}, {u"latin2", 28592}, {u"iso-8859-3", 28593}, {u"latin3", 28593},
    {u"iso-8859-4", 28594}, {u"latin4", 28594}, {u"iso-8859-5", 28595}, {u"cyrillic", 28595},
    {u"iso-8859-6", 28596}, {u"arabic", 28596}, {u"iso-8859-7", 28597}, {u"greek", 28597},
    {u"iso-8859-8", 28598}, {u"hebrew", 28598}, {u"iso-8859-9", 28599}, {u"latin5", 28599},
    {u"iso-8859-13", 28603}, {u"iso-8859-15", 28605}, {u"latin9", 28605},
    {u"windows-1250", 1250}, {u"x-cp1250", 1250}, {u"cp1250", 1250},
    {u"windows-1251", 1251}, {u"x-cp1251", 1251}, {u"cp1251", 1251},
    {u"windows-1252", 1252}, {u"x-ansi", 1252}, {u"cp1252", 1252},
    {u"windows-1253", 1253}, {u"windows-1254", 1254}, {u"windows-1255", 1255},
    {u"windows-1256", 1256}, {u"windows-1257", 1257}, {u"windows-1258", 1258},
    {u"windows-874", 874}, {u"tis-620", 874},
    {u"ibm437", 437}, {u"cp437", 437}, {u"ibm850", 850}, {u"ibm852", 852},
    {u"cp866", 866}, {u"ibm866", 866}, {u"macintosh", 10000},
};
// clang-format on

std::u16string_view TagName(std::u16string_view text, size_t lt) {
  return text.substr(lt + 1, xml::NameEnd(text, lt + 1) - (lt + 1));
}

// The value after "charset" and "=" in a Content-Type value.
std::u16string_view CharsetOf(std::u16string_view content) {
  static constexpr std::u16string_view kCharset = u"charset";
  for (size_t i = 0; i + kCharset.size() <= content.size(); ++i) {
    if (!EqualsIgnoringCase(content.substr(i, kCharset.size()), kCharset)) continue;
    size_t p = i + kCharset.size();
    while (p < content.size() && xml::IsSpace(content[p])) ++p;
    if (p >= content.size() || content[p] != u'=') continue;
    ++p;
    while (p < content.size() && xml::IsSpace(content[p])) ++p;
    size_t end = p;
    while (end < content.size() && content[end] != u';' && content[end] != u'"' &&
           content[end] != u'\'' && !xml::IsSpace(content[end]))
      ++end;
    return content.substr(p, end - p);
  }
  return {};
}

std::u16string_view HtmlCharset(std::u16string_view head) {
  bool first = true;
  size_t pos = 0;
  while ((pos = head.find(u'<', pos)) != std::u16string_view::npos) {
    if (StartsWith(head, pos, xml::kCommentOpen)) {
      pos = xml::SkipPast(head, pos + xml::kCommentOpen.size(), xml::kCommentClose);
      continue;
    }
    if (StartsWith(head, pos, u"<!") || StartsWith(head, pos, xml::kPiOpen)) {
      pos = xml::SkipPast(head, pos, u">");
      continue;
    }
    if (StartsWith(head, pos, u"</")) {
      if (first || EqualsIgnoringCase(TagName(head, pos + 1), u"head")) return {};
      pos += 2;
      continue;
    }
    const std::u16string_view name = TagName(head, pos);
    const std::u16string_view tag = xml::TagAt(head, pos);
    if (first) {
      if (!EqualsIgnoringCase(name, u"html")) return {};
      first = false;
    } else if (EqualsIgnoringCase(name, u"meta") &&
               EqualsIgnoringCase(xml::AttributeValue(tag, u"http-equiv", true), u"Content-Type")) {
      const std::u16string_view charset = CharsetOf(xml::AttributeValue(tag, u"content", true));
      if (!charset.empty()) return charset;
    }
    pos += tag.size();
  }
  return {};
}

}  // namespace

std::u16string DeclaredEncoding(std::u16string_view head) {
  if (StartsWith(head, 0, u"<?xml") && head.size() > 5 && xml::IsSpace(head[5]))
    return std::u16string(xml::AttributeValue(xml::TagAt(head, 0), u"encoding", false));
  return std::u16string(HtmlCharset(head));
}

std::optional<uint32_t> CodePageOfEncoding(std::u16string_view name) {
  for (const EncodingName& e : kEncodings)
    if (EqualsIgnoringCase(e.name, name)) return e.codePage;
  return std::nullopt;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    const size_t extra = (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : 0;
    if (extra == 0 || i + extra >= bytes.size()) return false;
    char32_t c = b & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
      const auto t = static_cast<uint8_t>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

}  // namespace norvi
