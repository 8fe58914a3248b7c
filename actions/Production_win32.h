#pragma once
// The production side of the action engine's seams, on the Windows API.

#include <windows.h>

#include <optional>

#include "actions/Seams.h"
#include "framework/Com_win32.h"
#include "base/Handles_win32.h"

namespace norvi {

// SendInput with one record per event; Sleep for pauses.
class Win32InputInjector : public IInputInjector {
 public:
  void Inject(std::span<const InputEvent> batch) override;
  void Pause(uint32_t ms) override;
};

class Win32WindowSystem : public IWindowSystem {
 public:
  ScreenPoint CursorPosition() override;
  void MoveCursor(ScreenPoint to) override;
  WindowHandle WindowAt(ScreenPoint p) override;
  WindowHandle Desktop() override;
  WindowHandle Foreground() override;
  std::u16string_view ClassOf(WindowHandle w, ClassNameBuffer& buffer) override;
  uint32_t StyleOf(WindowHandle w) override;
  ScreenRect RectOf(WindowHandle w) override;
  WindowHandle ParentOf(WindowHandle w) override;
  WindowHandle ChildAt(WindowHandle w, ScreenPoint p) override;
  WindowHandle Related(WindowHandle w, WindowRelation relation) override;
  WindowHandle ChildAfter(WindowHandle parent, WindowHandle after) override;
  bool EnumDescendants(WindowHandle parent, EnumCallback callback, void* context) override;
  void Post(WindowHandle w, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  intptr_t Send(WindowHandle w, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  int32_t Metric(int32_t index) override;
  HtmlScrollResult ScrollHtmlView(WindowHandle w, int32_t dx) override;
};

class Win32SystemCalls : public ISystemCalls {
 public:
  OsVersionInfo Version() override;
  bool EnterApartment() override;
  void Execute(WindowHandle owner, const char16_t* verb, const char16_t* file,
               const char16_t* parameters, const char16_t* directory, int32_t show) override;
  void Sound(const char16_t* path, uintptr_t module, uint32_t flags) override;
  bool IsWow64() override;
  bool DisableFsRedirection(RedirectionState& saved) override;
  void RevertFsRedirection(RedirectionState saved) override;
  void LockStation() override;
  int32_t ParametersInfo(uint32_t action, uint32_t uiParam, void* pvParam,
                         uint32_t winIni) override;
  intptr_t SendSettingChange(WindowHandle target, uintptr_t wParam, intptr_t lParam) override;

 private:
  UniqueModule kernel_;  // held while file-system redirection is off
  // Entered on first use, left when the object ends (on the same thread).
  std::optional<ComApartment> apartment_;
};

// SetTimer / KillTimer on one window (the main window); WM_TIMER goes to that window.
class Win32WindowTimer : public ITimer {
 public:
  explicit Win32WindowTimer(HWND owner = nullptr) : owner_(owner) {}
  // For an owner whose window exists only after the executor was made.
  void SetOwner(HWND owner) { owner_ = owner; }
  void Start(uint32_t id, uint32_t periodMs) override { ::SetTimer(owner_, id, periodMs, nullptr); }
  void Kill(uint32_t id) override { ::KillTimer(owner_, id); }

 private:
  HWND owner_;
};

inline HWND ToHwnd(WindowHandle w) {
  return reinterpret_cast<HWND>(w);
}
inline WindowHandle ToHandle(HWND w) {
  return reinterpret_cast<WindowHandle>(w);
}

}  // namespace norvi
