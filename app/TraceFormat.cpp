#include "app/TraceFormat.h"

#include <charconv>

namespace norvi {

std::u16string FormatTrace(std::u16string_view format, std::initializer_list<int32_t> numbers) {
  std::u16string line;
  line.reserve(format.size() + 11 * numbers.size());
  auto next = numbers.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == u'%' && i + 1 < format.size() && format[i + 1] == u'd' &&
        next != numbers.end()) {
      char digits[12];
      const auto end = std::to_chars(digits, digits + sizeof digits, *next++).ptr;
      line.append(digits, end);
      ++i;
    } else {
      line += format[i];
    }
  }
  return line;
}

}  // namespace norvi
