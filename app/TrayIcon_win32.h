#pragma once
// The program's icon in the notification area and its watch on USB device removals.

#include <windows.h>
// After windows.h, which they need.
#include <dbt.h>
#include <shellapi.h>

#include <string_view>

namespace norvi {

// The icon data as the shell receives it: the main window's only icon, with its tip and the
// start-up balloon. `icon` stays the caller's.
NOTIFYICONDATAW MakeTrayIconData(HWND window, HICON icon);

// The device-interface filter for every USB device.
DEV_BROADCAST_DEVICEINTERFACE_W MakeUsbInterfaceFilter();

// Owns the icon in the notification area: added on Add, removed with the same data on Remove or
// when the owner goes. The shell call is a parameter so that tests see the exact data.
class TrayIcon {
 public:
  using NotifyFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
  explicit TrayIcon(NotifyFn notify = &::Shell_NotifyIconW) : notify_(notify) {}
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon() { Remove(); }

  void Add(HWND window, HICON icon);
  // After the shell's taskbar came back: the icon it lost is added again.
  void AddAgain();
  void Remove();
  // Changes the tip, now when the icon is shown, and for every later add.
  void SetTip(std::u16string_view tip);
  bool Added() const { return added_; }

 private:
  NotifyFn notify_;
  NOTIFYICONDATAW data_{};
  bool added_ = false;
};

// Owns a registration for device notifications of one window.
class DeviceNotification {
 public:
  DeviceNotification() = default;
  DeviceNotification(const DeviceNotification&) = delete;
  DeviceNotification& operator=(const DeviceNotification&) = delete;
  ~DeviceNotification() { Reset(); }

  // USB device interfaces, delivered to `window` as WM_DEVICECHANGE.
  bool RegisterUsb(HWND window);
  void Reset();

 private:
  HDEVNOTIFY handle_ = nullptr;
};

}  // namespace norvi
