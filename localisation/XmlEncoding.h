#pragma once
// Finding a document's character encoding before its text is decoded.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norvi {

// The encoding an XML declaration at the start names, or that an HTML document's
// Content-Type meta element names before its head ends; empty when there is none.
std::u16string DeclaredEncoding(std::u16string_view head);

// Windows code page of an encoding name or alias, regardless of case.
std::optional<uint32_t> CodePageOfEncoding(std::u16string_view name);

// Strict: no overlong forms, no surrogates, nothing above U+10FFFF, nothing cut off.
bool IsValidUtf8(std::string_view bytes);

}  // namespace norvi
