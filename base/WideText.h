#pragma once
// The one bridge between the core's UTF-16 text (char16_t) and the Win32 API (wchar_t,
// also 16 bits on Windows).

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 layer needs 16-bit wchar_t");

namespace norvi {

inline const wchar_t* W(const std::u16string& s) {
  return reinterpret_cast<const wchar_t*>(s.c_str());
}
inline const wchar_t* W(const char16_t* s) {
  return reinterpret_cast<const wchar_t*>(s);
}
inline wchar_t* W(char16_t* s) {
  return reinterpret_cast<wchar_t*>(s);
}

inline std::u16string U16(const wchar_t* s) {
  return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}
inline std::u16string U16(std::wstring_view s) {
  return {reinterpret_cast<const char16_t*>(s.data()), s.size()};
}
inline std::wstring_view WView(std::u16string_view s) {
  return {reinterpret_cast<const wchar_t*>(s.data()), s.size()};
}

}  // namespace norvi
