// The tray icon's data as the shell receives it, and the order of the shell calls over the
// icon's life.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/TrayIcon_win32.h"

namespace norvi {
namespace {

const HWND kWindow = reinterpret_cast<HWND>(uintptr_t{0x1234});
const HICON kIcon = reinterpret_cast<HICON>(uintptr_t{0x5678});

struct ShellCall {
  DWORD what;
  NOTIFYICONDATAW data;
};
std::vector<ShellCall> calls;

BOOL WINAPI RecordShell(DWORD what, PNOTIFYICONDATAW data) {
  calls.push_back({what, *data});
  return TRUE;
}

TEST(TrayIconData, CarriesTheFieldsTheShellIsGiven) {
  const NOTIFYICONDATAW d = MakeTrayIconData(kWindow, kIcon);
  EXPECT_EQ(d.cbSize, sizeof(void*) == 4 ? 956u : 976u);
  EXPECT_EQ(d.hWnd, kWindow);
  EXPECT_EQ(d.uID, 0u);
  EXPECT_EQ(d.uFlags, 0x17u);
  EXPECT_EQ(d.uCallbackMessage, 1132u);
  EXPECT_EQ(d.hIcon, kIcon);
  EXPECT_STREQ(d.szTip, L"Zarqo Norvi Mouse Driver");
  EXPECT_STREQ(d.szInfo, L"Zarqo Norvi Mouse Driver");
  EXPECT_STREQ(d.szInfoTitle, L"Running");
  EXPECT_EQ(d.uTimeout, 5000u);
  EXPECT_EQ(d.dwInfoFlags, 1u);
  // Zero-filled: no stale state, no balloon icon or identity the flags do not name.
  EXPECT_EQ(d.dwState | d.dwStateMask, 0u);
  EXPECT_EQ(d.hBalloonIcon, nullptr);
  EXPECT_EQ(d.szTip[std::wcslen(d.szTip) + 1], L'\0');
  const GUID none{};
  EXPECT_EQ(std::memcmp(&d.guidItem, &none, sizeof none), 0);
}

TEST(TrayIconData, UsbFilterIsTheDeviceInterfaceRecordOfUsbDevices) {
  const DEV_BROADCAST_DEVICEINTERFACE_W f = MakeUsbInterfaceFilter();
  const GUID usb{0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
  EXPECT_EQ(f.dbcc_size, 32u);
  EXPECT_EQ(f.dbcc_devicetype, 5u);
  EXPECT_EQ(std::memcmp(&f.dbcc_classguid, &usb, sizeof usb), 0);
}

// Each step of the icon's life and the shell calls it must make (none where nothing shows).
TEST(TrayIcon, ShellCallsOverTheIconsLife) {
  const struct {
    const char* steps;  // a: add, g: added again by the taskbar, r: remove, d: owner destroyed
    std::vector<DWORD> expected;
  } cases[] = {
      {"ard", {NIM_ADD, NIM_DELETE}},
      {"ad", {NIM_ADD, NIM_DELETE}},
      {"agrd", {NIM_ADD, NIM_ADD, NIM_DELETE}},
      {"arrgd", {NIM_ADD, NIM_DELETE}},  // after shutdown the taskbar brings nothing back
      {"gd", {}},
      {"aad", {NIM_ADD, NIM_DELETE, NIM_ADD, NIM_DELETE}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.steps);
    calls.clear();
    {
      TrayIcon tray(&RecordShell);
      for (const char* s = c.steps; *s; ++s) {
        if (*s == 'a') tray.Add(kWindow, kIcon);
        if (*s == 'g') tray.AddAgain();
        if (*s == 'r') tray.Remove();
        if (*s == 'd') break;
      }
    }
    std::vector<DWORD> seen;
    for (const ShellCall& call : calls) {
      seen.push_back(call.what);
      // Every call names the same icon with the same data as the first add.
      EXPECT_EQ(std::memcmp(&call.data, &calls.front().data, sizeof call.data), 0);
    }
    EXPECT_EQ(seen, c.expected);
  }
}

}  // namespace
}  // namespace norvi
