#pragma once
// UTF-16 text helpers for the portable core (the product's text is UTF-16 everywhere).

#include <string>
#include <string_view>

namespace norvi {

// Lone surrogates and malformed bytes become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// Appends one code point (at most U+10FFFF, no surrogate) as one or two UTF-16 units.
void AppendUtf16(std::u16string& out, char32_t c);

// ASCII only: for the program's own literals and identifiers.
std::u16string AsciiToUtf16(std::string_view text);

// The format with its first "%s" replaced by value (the messages name one path or program).
std::u16string FillIn(std::u16string_view format, std::u16string_view value);

}  // namespace norvi
