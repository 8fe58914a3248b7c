#pragma once
// Conversion of 8-bit text in a Windows code page to UTF-16, and the system's text for an
// error code. The product uses the Windows API; the native build uses iconv.

#include <cstdint>
#include <string>
#include <string_view>

namespace norvi {

// The system's ANSI code page (windows-1252 in the native build).
constexpr uint32_t kAnsiCodePage = 0;

// Appends the converted text to out; false (out unchanged) when there is no converter for
// the code page. Bytes that are invalid in the code page become a replacement character.
bool CodePageToUtf16(uint32_t codePage, std::string_view bytes, std::u16string& out);

// The operating system's description of a Windows error code.
std::u16string SystemErrorText(uint32_t error);

}  // namespace norvi
