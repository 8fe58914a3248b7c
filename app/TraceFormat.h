#pragma once
// Trace lines are formatted from the program's own fixed texts, whose only conversion is %d.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace norvi {

// Replaces each "%d" of the format, in order, with the next number in decimal.
std::u16string FormatTrace(std::u16string_view format, std::initializer_list<int32_t> numbers);

}  // namespace norvi
