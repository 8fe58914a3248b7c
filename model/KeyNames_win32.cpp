#include "model/KeyNames_win32.h"

#include <windows.h>

namespace norvi {

std::u16string Win32KeyNames::Name(uint8_t vk) const {
  const UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  if (scan == 0) return {};
  // Bit 24 tells the extended key (right Ctrl, arrows) from its twin (left Ctrl, pad keys);
  // bit 25 off keeps left and right apart where the layout names them apart.
  LPARAM lp = static_cast<LPARAM>(scan & 0xFF) << 16;
  if (IsExtendedKey(vk)) lp |= LPARAM{1} << 24;
  wchar_t name[64] = {};
  const int n = ::GetKeyNameTextW(static_cast<LONG>(lp), name, static_cast<int>(std::size(name)));
  if (n <= 0) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(n));
}

}  // namespace norvi
