#pragma once
// Owners of kernel handles, windows, modules and hooks. Closing twice or leaking is
// impossible by type.

#include <windows.h>

#include "framework/UniqueResource.h"

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

}  // namespace norvi
