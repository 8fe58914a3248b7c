#include "swap/SwapTrace.h"

#include <cstdio>

namespace norvi::swap {
namespace {

void AppendNumber(std::u16string& out, char conversion, int64_t value) {
  char digits[16];
  if (conversion == 'x')
    std::snprintf(digits, sizeof digits, "%x", static_cast<uint32_t>(value));
  else
    std::snprintf(digits, sizeof digits, "%d", static_cast<int32_t>(value));
  for (const char* p = digits; *p; ++p) out += static_cast<char16_t>(*p);
}

void AppendArg(std::u16string& out, char conversion, const TraceArg* arg) {
  if (!arg) return;
  if (const auto* n = std::get_if<int64_t>(&arg->value()))
    AppendNumber(out, conversion, *n);
  else
    out += std::get<std::u16string_view>(arg->value());
}

}  // namespace

std::u16string FormatTrace(std::u16string_view format, std::initializer_list<TraceArg> args) {
  std::u16string out;
  const TraceArg* next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    char16_t c = format[++i];
    if (c == u'%') {
      out += c;
      continue;
    }
    if (c == u'w' && i + 1 < format.size()) c = format[++i];  // %ws
    AppendArg(out, static_cast<char>(c), next != args.end() ? next++ : nullptr);
  }
  if (out.size() > kTraceLineMax) out.resize(kTraceLineMax);
  return out;
}

}  // namespace norvi::swap
