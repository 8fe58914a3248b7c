#pragma once
// The last fallback of every interface string, built into the program: no control is ever
// left without a text, even when no language file can be read.

#include <string_view>

namespace norvi {

// The built-in English text of a language key; empty for a key it does not know.
std::u16string_view BuiltInEnglish(std::string_view key);

}  // namespace norvi
