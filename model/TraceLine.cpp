#include "model/TraceLine.h"

namespace norvi {

void TraceLine::Put(char16_t unit) {
  if (length_ < kCapacity) units_[length_++] = unit;
}

TraceLine& TraceLine::Text(std::u16string_view text) {
  for (char16_t unit : text) Put(unit);
  return *this;
}

TraceLine& TraceLine::Decimal(int32_t value) {
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

TraceLine& TraceLine::Hex(uint32_t value) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  bool started = false;
  for (int shift = 28; shift >= 0; shift -= 4) {
    uint32_t nibble = (value >> shift) & 0xF;
    started = started || nibble != 0 || shift == 0;
    if (started) Put(kDigits[nibble]);
  }
  return *this;
}

namespace {

void PutArg(TraceLine& line, char16_t conversion, const TraceArg& arg) {
  if (const auto* number = std::get_if<int64_t>(&arg.value())) {
    if (conversion == u'x')
      line.Hex(static_cast<uint32_t>(*number));
    else
      line.Decimal(static_cast<int32_t>(*number));
  } else {
    line.Text(std::get<std::u16string_view>(arg.value()));
  }
}

}  // namespace

TraceLine FormatTrace(std::u16string_view format, std::initializer_list<TraceArg> args) {
  TraceLine line;
  const TraceArg* next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%' || i + 1 == format.size()) {
      line.Text(format.substr(i, 1));
      continue;
    }
    char16_t conversion = format[++i];
    if (conversion == u'%') {
      line.Text(u"%");
      continue;
    }
    if (conversion == u'w' && i + 1 < format.size()) conversion = format[++i];  // %ws
    if (next != args.end()) PutArg(line, conversion, *next++);
  }
  return line;
}

}  // namespace norvi
