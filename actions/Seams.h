#pragma once
// The action engine's view of the platform: input injection, the window system, system calls
// and the main window's timer (the debugger channel is model/DebugOutput.h). Each has one
// production implementation (Production_win32.h) and one test double
// (tests/actions/fakes/ActionFakes.h).
//
// Member names avoid the Win32 API names because <windows.h> turns those into macros.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "actions/InputEvent.h"

namespace norvi {

// A window handle as a plain value; 0 is "none".
using WindowHandle = std::uintptr_t;
constexpr WindowHandle kNoWindow = 0;

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Class names are read into a cleared buffer of this size.
constexpr size_t kClassNameUnits = 260;
using ClassNameBuffer = std::array<char16_t, kClassNameUnits>;

class IInputInjector {
 public:
  virtual ~IInputInjector() = default;
  // Injects key and mouse events (never pauses) as one uninterruptible batch, in order.
  virtual void Inject(std::span<const InputEvent> batch) = 0;
  virtual void Pause(uint32_t ms) = 0;
};

enum class WindowRelation : uint8_t { FirstChild, Next, Previous };

// Outcome of scrolling an embedded HTML view through its document object.
enum class HtmlScrollResult : uint8_t {
  NoDocument,      // no document or window object obtained: nothing was scrolled
  Scrolled,        // scrollBy succeeded
  ScrollByFailed,  // scrollBy returned a status other than 0
};

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;

  virtual ScreenPoint CursorPosition() = 0;
  virtual void MoveCursor(ScreenPoint to) = 0;
  virtual WindowHandle WindowAt(ScreenPoint p) = 0;
  virtual WindowHandle Desktop() = 0;
  virtual WindowHandle Foreground() = 0;
  // Clears the buffer, reads the class name into it and returns it (empty for none).
  virtual std::u16string_view ClassOf(WindowHandle w, ClassNameBuffer& buffer) = 0;
  virtual uint32_t StyleOf(WindowHandle w) = 0;
  virtual ScreenRect RectOf(WindowHandle w) = 0;  // screen coordinates
  virtual WindowHandle ParentOf(WindowHandle w) = 0;
  // The child of w at a screen point (converted to w's client coordinates), or none.
  virtual WindowHandle ChildAt(WindowHandle w, ScreenPoint p) = 0;
  virtual WindowHandle Related(WindowHandle w, WindowRelation relation) = 0;
  // The next child of parent after the given one (none: the first child).
  virtual WindowHandle ChildAfter(WindowHandle parent, WindowHandle after) = 0;
  // Calls back for every descendant of parent until the callback returns false. Returns
  // false when the enumeration itself failed.
  using EnumCallback = bool (*)(WindowHandle w, void* context);
  virtual bool EnumDescendants(WindowHandle parent, EnumCallback callback, void* context) = 0;
  virtual void Post(WindowHandle w, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  // Waits for the window to process the message, within a time limit.
  virtual intptr_t Send(WindowHandle w, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  virtual int32_t Metric(int32_t index) = 0;
  // Scrolls the HTML document shown by w horizontally by dx pixels.
  virtual HtmlScrollResult ScrollHtmlView(WindowHandle w, int32_t dx) = 0;
};

struct OsVersionInfo {
  uint32_t platformId = 0;
  uint32_t major = 0;
  uint32_t minor = 0;
};

using RedirectionState = void*;

// Target of a settings notification that goes to every top-level window (HWND_BROADCAST).
constexpr WindowHandle kBroadcastWindow = 0xFFFF;

// Messages, parameters, styles and metrics that the engine passes through IWindowSystem, and
// the sound flags it passes through ISystemCalls, as the Windows headers define them.
constexpr uint32_t kMessageKeyDown = 0x0100;        // WM_KEYDOWN
constexpr uint32_t kMessageKeyUp = 0x0101;          // WM_KEYUP
constexpr uint32_t kMessageSysCommand = 0x0112;     // WM_SYSCOMMAND
constexpr uint32_t kMessageHScroll = 0x0114;        // WM_HSCROLL
constexpr uintptr_t kLineLeft = 0;                  // SB_LINELEFT
constexpr uintptr_t kLineRight = 1;                 // SB_LINERIGHT
constexpr uintptr_t kCommandMinimize = 0xF020;      // SC_MINIMIZE
constexpr uintptr_t kCommandMaximize = 0xF030;      // SC_MAXIMIZE
constexpr uint32_t kStyleMaximizeBox = 0x00010000;  // WS_MAXIMIZEBOX
constexpr uint32_t kStyleMinimizeBox = 0x00020000;  // WS_MINIMIZEBOX
constexpr int32_t kMetricSwapButton = 23;           // SM_SWAPBUTTON
constexpr uint32_t kSoundFileAsync = 0x00020001;    // SND_FILENAME | SND_ASYNC

class ISystemCalls {
 public:
  virtual ~ISystemCalls() = default;

  // The system's version record; all zero when the query fails.
  virtual OsVersionInfo Version() = 0;
  // Puts the calling thread into a single-threaded COM apartment, as the shell needs before
  // Execute; the first successful call holds it until the object ends. False when the thread
  // already runs in another apartment.
  virtual bool EnterApartment() = 0;
  virtual void Execute(WindowHandle owner, const char16_t* verb, const char16_t* file,
                       const char16_t* parameters, const char16_t* directory, int32_t show) = 0;
  virtual void Sound(const char16_t* path, uintptr_t module, uint32_t flags) = 0;
  // False when the query function does not exist.
  virtual bool IsWow64() = 0;
  // False (and nothing done) when the redirection function does not exist.
  virtual bool DisableFsRedirection(RedirectionState& saved) = 0;
  virtual void RevertFsRedirection(RedirectionState saved) = 0;
  virtual void LockStation() = 0;
  // SystemParametersInfoW as it is: pvParam is a pointer or, for some actions, a value.
  virtual int32_t ParametersInfo(uint32_t action, uint32_t uiParam, void* pvParam,
                                 uint32_t winIni) = 0;
  // Sends WM_SETTINGCHANGE to a window (or kBroadcastWindow) and returns its result.
  virtual intptr_t SendSettingChange(WindowHandle target, uintptr_t wParam, intptr_t lParam) = 0;
};

// Timers of the main window.
class ITimer {
 public:
  virtual ~ITimer() = default;
  // Starts the timer, or restarts its period when it runs.
  virtual void Start(uint32_t id, uint32_t periodMs) = 0;
  virtual void Kill(uint32_t id) = 0;
};

}  // namespace norvi
