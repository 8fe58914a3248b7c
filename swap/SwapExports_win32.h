#pragma once
// The two exports of Swap.dll: C linkage, caller-cleaned stack, exported by name.
// A host loads the library, calls InitEnumWindow once, then ShowSwapWindow on demand.

#include <windows.h>

#include <cstdint>

extern "C" {
// Prepares the window list (WMI) for the host window's thread; nothing is returned.
void __cdecl InitEnumWindow(HWND host);
// Opens the switcher, or moves an open one to the cursor. Null colours keep the defaults;
// mode 2 centred, 4 right edge, 8 left edge, other values at the cursor.
void __cdecl ShowSwapWindow(const COLORREF* windowBackground, const COLORREF* buttonBackground,
                            const COLORREF* buttonHover, const COLORREF* buttonText, int32_t mode);
}

// What a host binds with GetProcAddress.
using InitEnumWindowFn = void(__cdecl*)(HWND);
using ShowSwapWindowFn = void(__cdecl*)(const COLORREF*, const COLORREF*, const COLORREF*,
                                        const COLORREF*, int32_t);

// GetProcAddress typed; the detour through void (*)() is the sanctioned function-pointer cast.
template <typename Fn>
Fn BindExport(HMODULE library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}
