#pragma once
// A diagnostic line built in a fixed buffer on the caller's stack: at most 255 code units,
// longer text is cut. Nothing here allocates, so the device reader, the dispatch path and the
// switcher's enumeration may all format lines.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace norvi {

// One argument of a formatted line: a number (%d signed, %x hexadecimal, both 32 bits) or a
// text (%ws).
class TraceArg {
 public:
  template <typename T>
  requires std::is_integral_v<T> TraceArg(T value) : value_(static_cast<int64_t>(value)) {}
  TraceArg(std::u16string_view text) : value_(text) {}
  TraceArg(const std::u16string& text) : value_(std::u16string_view(text)) {}
  TraceArg(const char16_t* text) : value_(std::u16string_view(text)) {}

  const std::variant<int64_t, std::u16string_view>& value() const { return value_; }

 private:
  std::variant<int64_t, std::u16string_view> value_;
};

class TraceLine {
 public:
  // The longest line; with its terminator it fills a 256-unit buffer.
  static constexpr size_t kCapacity = 255;

  TraceLine& Text(std::u16string_view text);
  TraceLine& Decimal(int32_t value);  // like %d
  TraceLine& Hex(uint32_t value);     // like %x: lower case, no prefix

  std::u16string_view View() const { return {units_, length_}; }
  // Terminated, for APIs that take a C string.
  const char16_t* CString() const { return units_; }

 private:
  void Put(char16_t unit);

  char16_t units_[kCapacity + 1] = {};
  size_t length_ = 0;
};

// printf-style: %d, %x and %ws take the next argument in order, %% is a percent sign. A
// conversion whose argument is missing writes nothing; a number under any other conversion
// letter is written in decimal.
TraceLine FormatTrace(std::u16string_view format, std::initializer_list<TraceArg> args);

}  // namespace norvi
