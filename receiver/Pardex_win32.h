#pragma once
// Entry points of the receiver library, C linkage and the C calling convention, exported
// without decoration so the program finds them by plain name.

#include <windows.h>

extern "C" {

// Opens the first present HID interface whose path carries idText ("Vid_%04X&Pid_%04X") and
// whose top-level collection has the usage page and usage. Writes its device path (UTF-16,
// terminated, at most pathBytes bytes) and returns the open handle; null when none matches.
__declspec(dllexport) HANDLE
    __cdecl OpenHidDevice(USHORT usagePage, USHORT usage, const wchar_t* idText, wchar_t* path,
                          DWORD pathBytes);

// Reads one input report; buffer[0] holds the report id on entry. Non-zero on success.
__declspec(dllexport) BOOLEAN __cdecl GetInputReport(HANDLE device, BYTE* buffer, DWORD length);

// Whether a matching receiver interface is present; nothing is opened.
__declspec(dllexport) BOOL
    __cdecl FindHidDevice(USHORT usagePage, USHORT usage, const wchar_t* idText);
}

using OpenHidDeviceFn = HANDLE(__cdecl*)(USHORT, USHORT, const wchar_t*, wchar_t*, DWORD);
using GetInputReportFn = BOOLEAN(__cdecl*)(HANDLE, BYTE*, DWORD);
using FindHidDeviceFn = BOOL(__cdecl*)(USHORT, USHORT, const wchar_t*);
