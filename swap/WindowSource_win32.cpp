#include "swap/WindowSource_win32.h"

#include <psapi.h>
#include <shellapi.h>

#include <vector>

#include "base/Handles_win32.h"
#include "base/WideText.h"

namespace norvi::swap {
namespace {

static_assert(kExToolWindow == WS_EX_TOOLWINDOW);
constexpr int kTextChars = 260;

void DestroyIconId(IconId icon) {
  ::DestroyIcon(ToHicon(icon));
}

// The file of the process's first module; error gets the failing call's code.
std::u16string FirstModulePath(uint32_t processId, DWORD& error) {
  UniqueHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  HMODULE first = nullptr;
  DWORD needed = 0;
  wchar_t path[kTextChars];
  DWORD length = 0;
  if (process && ::EnumProcessModules(process.get(), &first, sizeof first, &needed))
    length = ::GetModuleFileNameExW(process.get(), first, path, kTextChars);
  error = ::GetLastError();
  return U16(std::wstring_view(path, length));
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<WindowId>*>(list)->push_back(ToId(hwnd));
  return TRUE;
}

}  // namespace

bool Win32WindowSource::IsVisible(WindowId w) const {
  return ::IsWindowVisible(ToHwnd(w));
}

WindowId Win32WindowSource::Parent(WindowId w) const {
  return ToId(::GetParent(ToHwnd(w)));
}

int32_t Win32WindowSource::TitleLength(WindowId w) const {
  return ::GetWindowTextLengthW(ToHwnd(w));
}

uint32_t Win32WindowSource::ExStyle(WindowId w) const {
  return static_cast<uint32_t>(::GetWindowLongW(ToHwnd(w), GWL_EXSTYLE));
}

std::u16string Win32WindowSource::Title(WindowId w) const {
  wchar_t text[kTextChars];
  const int length = ::GetWindowTextW(ToHwnd(w), text, kTextChars);
  return U16(std::wstring_view(text, length > 0 ? length : 0));
}

uint32_t Win32WindowSource::ProcessId(WindowId w) const {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(ToHwnd(w), &pid);
  return pid;
}

std::u16string Win32WindowSource::ExecutablePath(uint32_t processId) {
  DWORD error = 0;
  std::u16string path = FirstModulePath(processId, error);
  if (!path.empty()) return path;
  trace_.Line(u"GetModuleFileNameEx failed, error code= %d", {error});
  return wmi_.ExecutablePath(processId);
}

OwnedIcon Win32WindowSource::FirstIcon(const std::u16string& path) {
  // 1 means "not a file with icons", which is no handle either.
  const HICON icon = ::ExtractIconW(module_, W(path), 0);
  if (reinterpret_cast<UINT_PTR>(icon) <= 1) return {};
  return OwnedIcon(reinterpret_cast<IconId>(icon), IconDestroyer{DestroyIconId});
}

void ListTopLevelWindows(IWindowSource& windows, const SwapTrace& trace, EntryTable& table,
                         ListingCache& cache) {
  // The whole z-order first: the cache learns which windows have gone before any is listed.
  std::vector<WindowId> zOrder;
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&zOrder));
  ListWindows(zOrder, windows, trace, table, cache);
}

}  // namespace norvi::swap
