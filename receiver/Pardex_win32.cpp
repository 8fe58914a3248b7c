// The receiver library: finds the receiver's vendor HID collection and reads its reports.
// With NORVI_SIMULATED_RECEIVER set it reports a receiver that exists only in software.

#include <windows.h>

#include <setupapi.h>
// These headers declare C functions without saying so.
extern "C" {
#include <hidsdi.h>
}

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/Handles_win32.h"
#include "base/WideText.h"
#include "receiver/Pardex_win32.h"
#include "receiver/ReceiverProtocol.h"

namespace norvi {
namespace {

enum class Mode { Real, SimulatedPlugged, SimulatedUnplugged };

Mode CurrentMode() {
  wchar_t value[MAX_PATH];
  // An empty value also returns 0; only a cleared error tells it from an absent variable.
  ::SetLastError(ERROR_SUCCESS);
  const DWORD n = ::GetEnvironmentVariableW(W(kSimulationVariable), value, MAX_PATH);
  if (n == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return Mode::Real;
  if (n >= MAX_PATH) return Mode::SimulatedUnplugged;  // no file has a name that long
  if (n == 0 || std::wstring_view(value) == L"1") return Mode::SimulatedPlugged;
  return ::GetFileAttributesW(value) == INVALID_FILE_ATTRIBUTES ? Mode::SimulatedUnplugged
                                                                : Mode::SimulatedPlugged;
}

bool IsReceiver(USHORT usagePage, USHORT usage, const wchar_t* idText) {
  const std::u16string expected = ReceiverIdText(ReceiverId);
  return usagePage == kReceiverUsagePage && usage == kReceiverUsage && idText &&
         std::wcslen(idText) == expected.size() && ContainsIgnoringAsciiCase(expected, U16(idText));
}

// Copies a path into the caller's buffer, cut and terminated within pathBytes.
void CopyPath(std::u16string_view from, wchar_t* to, DWORD pathBytes) {
  const size_t units = pathBytes / sizeof(wchar_t);
  if (!to || units == 0) return;
  const size_t n = std::min(from.size(), units - 1);
  std::copy_n(from.data(), n, reinterpret_cast<char16_t*>(to));
  to[n] = L'\0';
}

HANDLE OpenForReports(const wchar_t* path) {
  return ::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

struct FreePreparsedData {
  void operator()(PHIDP_PREPARSED_DATA data) const { ::HidD_FreePreparsedData(data); }
};
using UniquePreparsedData = UniqueResource<PHIDP_PREPARSED_DATA, FreePreparsedData>;

bool HasCollection(HANDLE device, USHORT usagePage, USHORT usage) {
  PHIDP_PREPARSED_DATA raw = nullptr;
  if (!::HidD_GetPreparsedData(device, &raw)) return false;
  const UniquePreparsedData data(raw);
  HIDP_CAPS caps{};
  return ::HidP_GetCaps(data.get(), &caps) == HIDP_STATUS_SUCCESS && caps.UsagePage == usagePage &&
         caps.Usage == usage;
}

struct DestroyDeviceInfoList {
  void operator()(HDEVINFO set) const { ::SetupDiDestroyDeviceInfoList(set); }
};
using UniqueDeviceInfoSet = UniqueResource<HDEVINFO, DestroyDeviceInfoList, InvalidHandleValue>;

std::u16string InterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& itf) {
  DWORD needed = 0;
  ::SetupDiGetDeviceInterfaceDetailW(set, &itf, nullptr, 0, &needed, nullptr);
  if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return {};
  std::vector<BYTE> buffer(needed);
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  if (!::SetupDiGetDeviceInterfaceDetailW(set, &itf, detail, needed, nullptr, nullptr)) return {};
  return U16(detail->DevicePath);
}

// Walks the present HID interfaces; returns the open handle of the first match.
UniqueFileHandle OpenRealReceiver(USHORT usagePage, USHORT usage, const wchar_t* idText,
                                  std::u16string& path) {
  GUID hid;
  ::HidD_GetHidGuid(&hid);
  const UniqueDeviceInfoSet set(
      ::SetupDiGetClassDevsW(&hid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!set || !idText) return {};
  SP_DEVICE_INTERFACE_DATA itf{};
  itf.cbSize = sizeof itf;
  for (DWORD i = 0; ::SetupDiEnumDeviceInterfaces(set.get(), nullptr, &hid, i, &itf); ++i) {
    std::u16string candidate = InterfacePath(set.get(), itf);
    if (candidate.empty() || !ContainsIgnoringAsciiCase(candidate, U16(idText))) continue;
    UniqueFileHandle device(OpenForReports(W(candidate)));
    if (device && HasCollection(device.get(), usagePage, usage)) {
      path = std::move(candidate);
      return device;
    }
  }
  return {};
}

}  // namespace
}  // namespace norvi

using namespace norvi;

extern "C" HANDLE __cdecl OpenHidDevice(USHORT usagePage, USHORT usage, const wchar_t* idText,
                                        wchar_t* path, DWORD pathBytes) {
  std::u16string found;
  UniqueFileHandle device;
  switch (CurrentMode()) {
    case Mode::Real: device = OpenRealReceiver(usagePage, usage, idText, found); break;
    case Mode::SimulatedPlugged:
      if (IsReceiver(usagePage, usage, idText)) {
        found = u"\\\\.\\NUL";
        device = UniqueFileHandle(OpenForReports(W(found)));
      }
      break;
    case Mode::SimulatedUnplugged: break;
  }
  if (!device) return nullptr;
  CopyPath(found, path, pathBytes);
  return device.release();
}

extern "C" BOOLEAN __cdecl GetInputReport(HANDLE device, BYTE* buffer, DWORD length) {
  if (!UniqueFileHandle::Holds(device) || !buffer || length == 0) return FALSE;
  switch (CurrentMode()) {
    case Mode::Real: return ::HidD_GetInputReport(device, buffer, length) ? TRUE : FALSE;
    case Mode::SimulatedPlugged:
      std::memset(buffer, 0, length);
      std::memcpy(buffer, kSimulatedAnswer, std::min<DWORD>(length, sizeof kSimulatedAnswer));
      return TRUE;
    case Mode::SimulatedUnplugged: break;
  }
  return FALSE;
}

extern "C" BOOL __cdecl FindHidDevice(USHORT usagePage, USHORT usage, const wchar_t* idText) {
  wchar_t path[kReceiverPathBytes / sizeof(wchar_t)];
  UniqueFileHandle device(OpenHidDevice(usagePage, usage, idText, path, sizeof path));
  return device ? TRUE : FALSE;
}
