#include "app/TrayIcon_win32.h"

#include <algorithm>
#include <iterator>

#include "app/Messages.h"
#include "app/Startup.h"
#include "base/WideText.h"

namespace norvi {
namespace {

constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
static_assert(kTrayFlags == 0x17);
constexpr UINT kBalloonTimeoutMs = 5000;
constexpr wchar_t kBalloonTitle[] = L"Running";
// The full structure of the shell this program is written for; its size follows the pointers.
static_assert(sizeof(NOTIFYICONDATAW) == (sizeof(void*) == 4 ? 956 : 976));
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) == 32);
// USB devices.
constexpr GUID kUsbDeviceInterface{
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

}  // namespace

NOTIFYICONDATAW MakeTrayIconData(HWND window, HICON icon) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 0;
  data.uFlags = kTrayFlags;
  data.uCallbackMessage = UM_TRAY_NOTIFY;
  data.hIcon = icon;
  lstrcpynW(data.szTip, W(kMainWindowTitle), ARRAYSIZE(data.szTip));
  lstrcpynW(data.szInfo, W(kMainWindowTitle), ARRAYSIZE(data.szInfo));
  data.uTimeout = kBalloonTimeoutMs;
  lstrcpynW(data.szInfoTitle, kBalloonTitle, ARRAYSIZE(data.szInfoTitle));
  data.dwInfoFlags = NIIF_INFO;
  return data;
}

DEV_BROADCAST_DEVICEINTERFACE_W MakeUsbInterfaceFilter() {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = kUsbDeviceInterface;
  return filter;
}

void TrayIcon::Add(HWND window, HICON icon) {
  Remove();
  data_ = MakeTrayIconData(window, icon);
  notify_(NIM_ADD, &data_);  // a failing shell is not examined: the icon may come later
  added_ = true;
}

void TrayIcon::AddAgain() {
  if (added_) notify_(NIM_ADD, &data_);
}

void TrayIcon::Remove() {
  if (!added_) return;
  notify_(NIM_DELETE, &data_);
  added_ = false;
}

bool DeviceNotification::RegisterUsb(HWND window) {
  Reset();
  DEV_BROADCAST_DEVICEINTERFACE_W filter = MakeUsbInterfaceFilter();
  handle_ = ::RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  return handle_ != nullptr;
}

void DeviceNotification::Reset() {
  if (handle_) ::UnregisterDeviceNotification(handle_);
  handle_ = nullptr;
}

void TrayIcon::SetTip(std::u16string_view tip) {
  const size_t n = std::min(tip.size(), std::size(data_.szTip) - 1);
  std::copy_n(tip.data(), n, data_.szTip);
  data_.szTip[n] = L'\0';
  if (!added_) return;
  NOTIFYICONDATAW change = data_;
  change.uFlags = NIF_TIP;  // no balloon again
  notify_(NIM_MODIFY, &change);
}

}  // namespace norvi
