#pragma once
// The main window's part in the notification area: the icon with its tip, the shell's return
// after a taskbar restart, and the menu with "Settings for <program>...", "Config" and "Exit",
// whose commands reach the window as WM_COMMAND.

#include <windows.h>

#include <string>
#include <string_view>

#include "app/MainServices_win32.h"
#include "app/TrayIcon_win32.h"
#include "controls/XPMenu_win32.h"

namespace norvi {

class MainTray {
 public:
  explicit MainTray(const MainServices& services) : services_(services) {}
  MainTray(const MainTray&) = delete;
  MainTray& operator=(const MainTray&) = delete;

  // Adds the icon for window, which receives its notifications.
  void Add(HWND window);
  void Remove() { icon_.Remove(); }
  void SetTip(std::u16string_view tip) { icon_.SetTip(tip); }
  // True when msg is the shell's "taskbar created": the lost icon is added again.
  bool OnShellMessage(UINT msg);

  // Tracks the menu until it closes. program is the program last in front (empty: none);
  // its own item stands above Config.
  void ShowMenu(HWND window, const std::u16string& program);
  // The program the menu offered last.
  const std::u16string& MenuProgram() const { return menuProgram_; }
  // WM_MEASUREITEM and WM_DRAWITEM of the menu while it is tracked.
  bool HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const;

 private:
  const MainServices& services_;
  TrayIcon icon_;
  UINT taskbarCreated_ = 0;
  const CXPMenu* tracked_ = nullptr;
  std::u16string menuProgram_;
};

// "Settings for <program>...": the tray item and the hint while a program's own assignments
// are edited.
std::u16string AppModeText(const MainServices& services, std::u16string_view program);

}  // namespace norvi
