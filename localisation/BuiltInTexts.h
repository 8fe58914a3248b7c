#pragma once
// The last fallback of every interface string, built into the program: no control is ever
// left without a text, even when no language file can be read.

#include <array>
#include <string_view>

#include "localisation/StringTable.h"

namespace norvi {

extern const std::array<std::u16string_view, kLanguageKeys.size()> kBuiltInEnglish;

}  // namespace norvi
