#pragma once
// The short entry the end-to-end probes log for one input message, so that a test writes what
// a window must receive as a plain list: "kd 11"/"ku 43" (key down and up, virtual key in
// hex), "ld"/"lu", "rd"/"ru", "md"/"mu", "xd 02"/"xu 01" (X button), "wheel", "hwheel",
// "hscroll 01"/"vscroll 00" (scroll code). Empty for any other message.
#include <windows.h>

#include <cstdio>
#include <string>

namespace norvi::e2e {

inline std::string InputEntry(UINT message, WPARAM wParam) {
  constexpr unsigned kNone = ~0u;
  const char* name = nullptr;
  unsigned value = kNone;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: name = "kd", value = static_cast<unsigned>(wParam); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: name = "ku", value = static_cast<unsigned>(wParam); break;
    case WM_LBUTTONDOWN: name = "ld"; break;
    case WM_LBUTTONUP: name = "lu"; break;
    case WM_RBUTTONDOWN: name = "rd"; break;
    case WM_RBUTTONUP: name = "ru"; break;
    case WM_MBUTTONDOWN: name = "md"; break;
    case WM_MBUTTONUP: name = "mu"; break;
    case WM_XBUTTONDOWN: name = "xd", value = HIWORD(wParam); break;
    case WM_XBUTTONUP: name = "xu", value = HIWORD(wParam); break;
    case WM_MOUSEWHEEL: name = "wheel"; break;
    case WM_MOUSEHWHEEL: name = "hwheel"; break;
    case WM_HSCROLL: name = "hscroll", value = LOWORD(wParam); break;
    case WM_VSCROLL: name = "vscroll", value = LOWORD(wParam); break;
    default: return {};
  }
  if (value == kNone) return name;
  char text[16];
  std::snprintf(text, sizeof text, "%s %02X", name, value & 0xFF);
  return text;
}

}  // namespace norvi::e2e
