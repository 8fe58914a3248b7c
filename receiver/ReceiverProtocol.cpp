#include "receiver/ReceiverProtocol.h"

#include <cstdio>

#include "model/Text.h"

namespace norvi {

std::u16string ReceiverIdText(uint32_t id) {
  char text[32];
  std::snprintf(text, sizeof text, "Vid_%04X&Pid_%04X", static_cast<unsigned>(id >> 16),
                static_cast<unsigned>(id & 0xFFFF));
  return AsciiToUtf16(text);
}

int32_t ReceiverInfoValue(bool answered, std::span<const uint8_t> answer) {
  if (!answered || answer.size() < 4 || answer[0] == 0) return 0;
  return answer[1] * 65536 + answer[2] * 256 + answer[3];
}

bool ContainsIgnoringAsciiCase(std::u16string_view text, std::u16string_view part) {
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
  if (part.size() > text.size()) return false;
  for (size_t at = 0; at + part.size() <= text.size(); ++at) {
    size_t i = 0;
    while (i < part.size() && lower(text[at + i]) == lower(part[i])) ++i;
    if (i == part.size()) return true;
  }
  return false;
}

}  // namespace norvi
