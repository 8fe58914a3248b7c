#pragma once
// Private window messages, commands and timers of the main window (UM_DEVICE_EVENT belongs to
// the device link, kAltReleaseTimerId to the action engine). Portable: plain numbers, checked
// against the Windows headers by the main window.

#include <cstdint>
#include <string_view>

#include "model/PlatformValues.h"

namespace norvi {

constexpr uint32_t UM_LANGUAGE = kWmUser + 1;          // wParam 272 at start-up, lParam language
constexpr uint32_t UM_TRAY_NOTIFY = kWmUser + 108;     // lParam: the mouse message
constexpr uint32_t UM_SPEED_CHANGED = kWmUser + 1024;  // wParam: position, lParam: slider id
constexpr uint32_t UM_HOVER_TEXT = kWmUser + 1029;     // lParam: hovered control 1 to 14
constexpr uint32_t UM_RESET_PROFILE = kWmUser + 1030;
// Posted by the built-in filter after user input while the foreground event is not seen.
constexpr uint32_t UM_FOREGROUND_CHECK = kWmUser + 1031;

constexpr uint32_t kLanguageAtStartUp = 272;   // the value of WM_INITDIALOG
constexpr int32_t kTrayLeftDoubleClick = 515;  // WM_LBUTTONDBLCLK
constexpr int32_t kTrayRightButtonUp = 517;    // WM_RBUTTONUP

constexpr uint32_t kCommandConfig = 0x6000;
constexpr uint32_t kCommandExit = 0x6001;
constexpr uint32_t kCommandAppSettings = 0x6002;
constexpr uint32_t kCommandAbout = 0x10;  // system menu item without a handler

// Language key of the message shown when button events cannot be received.
constexpr std::string_view kNoRemappingKey = "str_msg_no_remapping";
// The tray item for the program last in front; %s is its executable file name.
constexpr std::string_view kAppSettingsKey = "str_settings_for_program";

constexpr uint32_t kWheelLinesTimer = 152;
constexpr uint32_t kWheelLinesPeriodMs = 4000;
// Adds the tray icon once, right after the window's first paint: the shell's answer is not
// needed to show the window.
constexpr uint32_t kTrayIconTimer = 154;
// Closes the program once the box that was open when the close came has gone.
constexpr uint32_t kCloseAfterBoxTimer = 155;
constexpr uint32_t kCloseAfterBoxMs = 50;

}  // namespace norvi
