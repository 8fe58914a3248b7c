#pragma once
// Small pieces of XML syntax shared by the encoding sniffer, the parser and the text reader.

#include <cstdint>
#include <string_view>

namespace norvi::xml {

// Markers of the constructs that are not elements.
constexpr std::u16string_view kCommentOpen = u"<!--", kCommentClose = u"-->";
constexpr std::u16string_view kCdataOpen = u"<![CDATA[", kCdataClose = u"]]>";
constexpr std::u16string_view kPiOpen = u"<?", kPiClose = u"?>";

inline bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Characters that end a tag name.
inline bool EndsName(char16_t c) {
  // All but the backslash are below 64: one bit each.
  constexpr uint64_t kBelow64 = 1ull << ' ' | 1ull << '\t' | 1ull << '\n' | 1ull << '\r' |
                                1ull << '<' | 1ull << '>' | 1ull << '=' | 1ull << '/' |
                                1ull << '?' | 1ull << '!' | 1ull << '"' | 1ull << '\'' |
                                1ull << ';';
  return c < 64 ? (kBelow64 >> c) & 1 : c == u'\\';
}

// Index of the first name terminator at or after pos (text.size() when none).
inline size_t NameEnd(std::u16string_view text, size_t pos) {
  while (pos < text.size() && !EndsName(text[pos])) ++pos;
  return pos;
}

constexpr char16_t FoldAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

inline bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

inline bool StartsWith(std::u16string_view text, size_t pos, std::u16string_view prefix) {
  return text.size() >= pos && text.substr(pos, prefix.size()) == prefix;
}

// Index just past the first end marker at or after from; npos when there is none.
inline size_t SkipPast(std::u16string_view text, size_t from, std::u16string_view endMarker) {
  const size_t end = text.find(endMarker, from);
  return end == std::u16string_view::npos ? end : end + endMarker.size();
}

// The tag starting at text[pos] ("<"), through its ">" outside quoted values; the rest of
// the text when the tag is not closed.
std::u16string_view TagAt(std::u16string_view text, size_t pos);

// The value of one attribute (or pseudo-attribute) of a tag; empty when absent.
std::u16string_view AttributeValue(std::u16string_view tag, std::u16string_view name,
                                   bool ignoreCase);

}  // namespace norvi::xml
