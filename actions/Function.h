#pragma once
// The action executor: performs the function assigned to a button slot.
//
// Wiring (main window): construct one CFunction for the program's life with the profile
// image's slot table (held by reference, so later loads are seen) and the production seams of
// actions/Production_win32.h:
//     Win32InputInjector input; Win32WindowSystem windows; Win32SystemCalls system;
//     Win32WindowTimer timer(mainWindow); DebuggerOutput debug;
//     CFunction actions(image.Slots, {input, windows, system, timer, debug});
// then
//   - on each device event: actions.PerformSlot(slot);
//   - on each release of a button: actions.ReleaseSlot(slot) (a held key combination goes up);
//   - on WM_TIMER with id kAltReleaseTimerId: actions.OnAltReleaseTimer();
//   - on WM_TIMER with id kKeyRepeatTimerId: actions.OnKeyRepeatTimer();
//   - when the assignments in force change or the mouse goes: actions.ReleaseHeldKeys();
//   - when closing: actions.Shutdown(), so that no key stays held after exit.
// Everything runs on the main window's thread, never on a hook thread (injected input waits
// for every low-level hook to return). No call allocates or creates a window.

#include <cstdint>

#include "actions/KeyHold.h"
#include "actions/Seams.h"
#include "model/DebugOutput.h"
#include "model/ButtonSlot.h"

namespace norvi {

// Timer of the main window that releases the Alt key held by switch window.
constexpr uint32_t kAltReleaseTimerId = 5;
constexpr uint32_t kAltReleaseMs = 1500;

struct ActionSeams {
  IInputInjector& input;
  IWindowSystem& windows;
  ISystemCalls& system;
  ITimer& timer;
  IDebugOutput& debug;
};

class CFunction {
 public:
  CFunction(const SlotTable& slots, ActionSeams seams);
  CFunction(const CFunction&) = delete;
  CFunction& operator=(const CFunction&) = delete;

  // Performs the slot's applied function on its press; an index outside 0 to 7 does nothing.
  // Every function but a key combination is performed in full here; a combination on a button
  // stays down until ReleaseSlot.
  void PerformSlot(int slotIndex);
  // The slot's button went up: its held combination, if any, goes up.
  void ReleaseSlot(int slotIndex) { keys_.Release(slotIndex); }
  // Performs one function code; path is the slot's zero-terminated path (codes 81 to 85).
  void Perform(int32_t code, const char16_t* path);

  void OnAltReleaseTimer();
  void OnKeyRepeatTimer() { keys_.OnRepeatTimer(); }
  // Every held combination goes up.
  void ReleaseHeldKeys() { keys_.ReleaseAll(); }
  // Releases a held Alt key and every held combination, and stops their timers.
  void Shutdown();
  const KeyHold& Keys() const { return keys_; }
  bool AltHeld() const { return altHeld_; }

  // Action methods.
  void PlaySequence(int32_t code);
  void Zoom(bool zoomIn);
  void SwitchWindow();
  void LockPC();
  void Maximize();
  void Minimize();
  void PlaySoundFile(const char16_t* path);
  void OpenProgram(const char16_t* path);
  void OpenFileOrFolder(const char16_t* path);
  void ScrollLeft() { ScrollHorizontally(true); }
  void ScrollRight() { ScrollHorizontally(false); }
  void BrowserDocumentScroll(int32_t count, bool left);

 private:
  void ScrollHorizontally(bool left);
  void ArrowKeys(WindowHandle w, bool left);
  void ScrollBarMessages(WindowHandle target, bool left);
  void ArrowClicks(WindowHandle target, ScreenPoint cursor, bool left);
  void GenericScroll(WindowHandle w, bool htmlView, bool left);
  void SendSystemCommand(uint32_t boxStyle, uintptr_t command);
  void Open(const char16_t* file);

  const SlotTable& slots_;
  IInputInjector& input_;
  IWindowSystem& windows_;
  ISystemCalls& system_;
  ITimer& timer_;
  IDebugOutput& debug_;
  bool altHeld_ = false;  // switch window holds left Alt down until its timer fires
  KeyHold keys_;
};

}  // namespace norvi
