#include "device/LineFormat.h"

namespace norvi {

void LineBuffer::Put(char16_t unit) {
  if (length_ < kCapacity) units_[length_++] = unit;
}

LineBuffer& LineBuffer::Text(std::u16string_view text) {
  for (char16_t unit : text) Put(unit);
  return *this;
}

LineBuffer& LineBuffer::Decimal(int32_t value) {
  // Widened so that the most negative value has a magnitude.
  int64_t wide = value;
  if (wide < 0) {
    Put(u'-');
    wide = -wide;
  }
  char16_t digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + wide % 10);
    wide /= 10;
  } while (wide != 0);
  while (count > 0) Put(digits[--count]);
  return *this;
}

LineBuffer& LineBuffer::Hex(uint32_t value) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  bool started = false;
  for (int shift = 28; shift >= 0; shift -= 4) {
    uint32_t nibble = (value >> shift) & 0xF;
    started = started || nibble != 0 || shift == 0;
    if (started) Put(kDigits[nibble]);
  }
  return *this;
}

}  // namespace norvi
