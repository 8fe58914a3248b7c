#pragma once
// Owners of kernel handles, windows, modules, hooks, icons and menus. Closing twice or leaking is
// impossible by type.

#include <windows.h>

#include "base/UniqueResource.h"

namespace norvi {

struct CloseKernelHandle {
  void operator()(HANDLE h) const { ::CloseHandle(h); }
};
// Files, devices and device-information sets fail with this instead of NULL.
inline HANDLE InvalidHandleValue() {
  return INVALID_HANDLE_VALUE;
}

// Events, semaphores, threads, mutexes: NULL on failure.
using UniqueHandle = UniqueResource<HANDLE, CloseKernelHandle>;
// Files and devices: INVALID_HANDLE_VALUE on failure.
using UniqueFileHandle = UniqueResource<HANDLE, CloseKernelHandle, InvalidHandleValue>;

// A file search from FindFirstFileW: INVALID_HANDLE_VALUE on failure.
struct CloseFindHandle {
  void operator()(HANDLE h) const { ::FindClose(h); }
};
using UniqueFindHandle = UniqueResource<HANDLE, CloseFindHandle, InvalidHandleValue>;

// A parent may already have destroyed the window along with itself.
struct DestroyLiveWindow {
  void operator()(HWND h) const {
    if (::IsWindow(h)) ::DestroyWindow(h);
  }
};
using UniqueWindow = UniqueResource<HWND, DestroyLiveWindow>;

// A module from LoadLibraryW.
struct FreeLibraryModule {
  void operator()(HMODULE h) const { ::FreeLibrary(h); }
};
using UniqueModule = UniqueResource<HMODULE, FreeLibraryModule>;

// A hook from SetWindowsHookExW.
struct RemoveHook {
  void operator()(HHOOK h) const { ::UnhookWindowsHookEx(h); }
};
using UniqueHook = UniqueResource<HHOOK, RemoveHook>;

// An event hook from SetWinEventHook.
struct RemoveWinEventHook {
  void operator()(HWINEVENTHOOK h) const { ::UnhookWinEvent(h); }
};
using UniqueWinEventHook = UniqueResource<HWINEVENTHOOK, RemoveWinEventHook>;

// An icon made by LoadImageW, CreateIcon... (not a shared one from LoadIcon).
struct DestroyIconHandle {
  void operator()(HICON h) const { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueResource<HICON, DestroyIconHandle>;

// A menu no window holds (a window destroys its own menu bar).
struct DestroyMenuHandle {
  void operator()(HMENU h) const { ::DestroyMenu(h); }
};
using UniqueMenu = UniqueResource<HMENU, DestroyMenuHandle>;

}  // namespace norvi
