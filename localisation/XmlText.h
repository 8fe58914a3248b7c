#pragma once
// Text content of an element: character references decoded, CDATA kept as written,
// comments and processing instructions dropped.

#include <cstdint>
#include <string>
#include <string_view>

namespace norvi::xml {

// Appends text with its character references decoded once. A reference that is unknown,
// not closed by ";" within 9 characters, or names code point 0 stays as written.
void AppendDecoded(std::u16string_view text, std::u16string& out);

// The text of an element's content that holds no child element.
std::u16string ContentText(std::u16string_view content);

// Code point of a named character entity, the exact spelling before other cases; 0 when
// unknown.
uint32_t EntityCodePoint(std::u16string_view name);

}  // namespace norvi::xml
