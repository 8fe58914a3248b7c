#pragma once
// A diagnostic line built in a fixed buffer on the caller's stack: at most 255 code units,
// longer text is cut. Formatting allocates nothing, so the reader can trace every event.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace norvi {

class LineBuffer {
 public:
  static constexpr size_t kCapacity = 255;

  LineBuffer& Text(std::u16string_view text);
  LineBuffer& Decimal(int32_t value);  // like %d
  LineBuffer& Hex(uint32_t value);     // like %x: lower case, no prefix

  std::u16string_view View() const { return {units_, length_}; }
  // Terminated, for APIs that take a C string.
  const char16_t* CString() const { return units_; }

 private:
  void Put(char16_t unit);

  char16_t units_[kCapacity + 1] = {};
  size_t length_ = 0;
};

}  // namespace norvi
