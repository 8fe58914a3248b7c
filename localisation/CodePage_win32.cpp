#include <windows.h>

#include "base/WideText.h"
#include "localisation/CodePage.h"

namespace norvi {

static_assert(kAnsiCodePage == CP_ACP);

bool CodePageToUtf16(uint32_t codePage, std::string_view bytes, std::u16string& out) {
  if (bytes.empty()) return true;
  const int size = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (needed <= 0) return false;
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(needed));
  const int written =
      MultiByteToWideChar(codePage, 0, bytes.data(), size, W(out.data() + at), needed);
  out.resize(at + static_cast<size_t>(written > 0 ? written : 0));
  return written > 0;
}

std::u16string SystemErrorText(uint32_t error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text = n ? U16(std::wstring_view(buffer, n)) : std::u16string();
  LocalFree(buffer);
  // The system's texts end with a line break, which has no place in a one-line account.
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) text.pop_back();
  // Not every system has a text for every number (Wine lacks some): the number still tells.
  if (text.empty()) text = u"Error " + U16(std::to_wstring(error)) + u".";
  return text;
}

}  // namespace norvi
