#include "actions/Production_win32.h"

// After <windows.h>, which these rely on.
#include <mmsystem.h>
#include <shellapi.h>

#include "actions/Sequences.h"
#include "framework/LateLibrary_win32.h"
#include "base/WideText.h"

namespace norvi {
namespace {

constexpr DWORD kVersionRecordSize = 276;  // OSVERSIONINFOW
static_assert(sizeof(OSVERSIONINFOW) == kVersionRecordSize);

// What the portable engine passes to these calls and reads from the version record.
static_assert(kSoundFileAsync == (SND_FILENAME | SND_ASYNC) && kShowNormal == SW_SHOWNORMAL);
static_assert(kPlatformWindows == VER_PLATFORM_WIN32_WINDOWS &&
              kPlatformNt == VER_PLATFORM_WIN32_NT);

template <class Function>
Function Lookup(HMODULE module, const char* name) {
  return module
             ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
             : nullptr;
}

}  // namespace

OsVersionInfo Win32SystemCalls::Version() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = kVersionRecordSize;
  // Deprecated but still the source of the version classes; a failure leaves zeros.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&info)) info = OSVERSIONINFOW{};
#pragma GCC diagnostic pop
  return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

bool Win32SystemCalls::EnterApartment() {
  if (!apartment_) apartment_.emplace();
  return static_cast<bool>(*apartment_);
}

void Win32SystemCalls::Execute(WindowHandle owner, const char16_t* verb, const char16_t* file,
                               const char16_t* parameters, const char16_t* directory,
                               int32_t show) {
  ::ShellExecuteW(ToHwnd(owner), W(verb), W(file), W(parameters), W(directory), show);
}

void Win32SystemCalls::Sound(const char16_t* path, uintptr_t module, uint32_t flags) {
  // The multimedia library (with its audio set-up) is loaded at the first sound.
  static LateLibrary multimedia(L"winmm.dll");
  static const auto play = multimedia.Export<decltype(&::PlaySoundW)>("PlaySoundW");
  if (play) play(W(path), reinterpret_cast<HMODULE>(module), flags);
}

bool Win32SystemCalls::IsWow64() {
  using IsWow64Function = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto query = Lookup<IsWow64Function>(::GetModuleHandleW(L"kernel32"), "IsWow64Process");
  BOOL wow64 = FALSE;
  if (query && !query(::GetCurrentProcess(), &wow64)) wow64 = FALSE;
  return wow64 != FALSE;
}

bool Win32SystemCalls::DisableFsRedirection(RedirectionState& saved) {
  using DisableFunction = BOOL(WINAPI*)(PVOID*);
  kernel_.reset(::LoadLibraryW(L"Kernel32.dll"));
  const auto disable = Lookup<DisableFunction>(kernel_.get(), "Wow64DisableWow64FsRedirection");
  if (!disable) {
    kernel_.reset();
    return false;
  }
  disable(&saved);
  return true;
}

void Win32SystemCalls::RevertFsRedirection(RedirectionState saved) {
  using RevertFunction = BOOL(WINAPI*)(PVOID);
  if (const auto revert = Lookup<RevertFunction>(kernel_.get(), "Wow64RevertWow64FsRedirection"))
    revert(saved);
  kernel_.reset();
}

void Win32SystemCalls::LockStation() {
  using LockFunction = BOOL(WINAPI*)();
  UniqueModule user(::LoadLibraryW(L"user32.dll"));
  if (const auto lock = Lookup<LockFunction>(user.get(), "LockWorkStation")) lock();
}

int32_t Win32SystemCalls::ParametersInfo(uint32_t action, uint32_t uiParam, void* pvParam,
                                         uint32_t winIni) {
  return ::SystemParametersInfoW(action, uiParam, pvParam, winIni);
}

intptr_t Win32SystemCalls::SendSettingChange(WindowHandle target, uintptr_t wParam,
                                             intptr_t lParam) {
  return ::SendMessageW(ToHwnd(target), WM_SETTINGCHANGE, wParam, lParam);
}

}  // namespace norvi
