#pragma once
// Windows API values that more than one part of the portable core hands to Windows: virtual
// keys and key-event flags (the action engine and the switcher inject keys), show commands,
// the private-message base, the wheel notch and the Simplified Chinese language id. Spelt as
// numbers so the core builds without the Windows headers; every Win32 adapter that passes one
// on checks it against those headers with static_assert.

#include <cstdint>

namespace norvi {

// Virtual keys (VK_*).
constexpr uint8_t kVkTab = 0x09;
constexpr uint8_t kVkReturn = 0x0D;
constexpr uint8_t kVkControl = 0x11;
constexpr uint8_t kVkEscape = 0x1B;
constexpr uint8_t kVkSpace = 0x20;
constexpr uint8_t kVkLeft = 0x25;
constexpr uint8_t kVkRight = 0x27;
constexpr uint8_t kVkD = 0x44;
constexpr uint8_t kVkLeftWin = 0x5B;
constexpr uint8_t kVkF4 = 0x73;
constexpr uint8_t kVkLeftAlt = 0xA4;
constexpr uint8_t kVkOemPlus = 0xBB;
constexpr uint8_t kVkOemMinus = 0xBD;

// Key-event flags (KEYEVENTF_*).
constexpr uint32_t kKeyExtended = 0x0001;
constexpr uint32_t kKeyUp = 0x0002;

// Show commands (SW_*).
constexpr int32_t kShowNormal = 1;
constexpr int32_t kShowMaximized = 3;
constexpr int32_t kShow = 5;
constexpr int32_t kShowRestore = 9;

// The first private window message (WM_USER).
constexpr uint32_t kWmUser = 0x0400;

// One wheel notch (WHEEL_DELTA).
constexpr int32_t kWheelDelta = 120;

// Language id of Simplified Chinese (China), as the system's default language reports it.
constexpr uint16_t kLangChineseSimplified = 0x0804;

}  // namespace norvi
