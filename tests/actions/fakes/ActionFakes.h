#pragma once
// Test doubles of the action engine's seams: an input recorder, a fake window tree, a
// system-call recorder and a timer on a fake clock. They share one clock so that tests can
// see when each event happened.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "actions/Seams.h"

namespace norvi::fakes {

struct FakeClock {
  uint64_t nowMs = 0;
};

class InputRecorder : public IInputInjector {
 public:
  explicit InputRecorder(FakeClock& clock) : clock_(clock) {}
  void Inject(std::span<const InputEvent> batch) override;
  void Pause(uint32_t ms) override;

  std::vector<InputEvent> events;  // pauses included, in order
  std::vector<uint64_t> times;     // clock time of each entry of events
  std::vector<size_t> batchSizes;  // one entry per Inject call

 private:
  FakeClock& clock_;
};

struct PostedMessage {
  bool sent;  // SendMessage rather than PostMessage
  WindowHandle to;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  uint64_t atMs;
  friend bool operator==(const PostedMessage&, const PostedMessage&) = default;
};

class FakeWindowTree : public IWindowSystem {
 public:
  explicit FakeWindowTree(FakeClock& clock);

  // Adds a window on top of its siblings' list end (the list is in z-order, top first).
  WindowHandle Add(std::u16string windowClass, ScreenRect rect, uint32_t style = 0,
                   WindowHandle parent = kNoWindow);

  ScreenPoint CursorPosition() override { return cursor; }
  void MoveCursor(ScreenPoint to) override;
  WindowHandle WindowAt(ScreenPoint) override { return pointed; }
  WindowHandle Desktop() override { return desktop; }
  WindowHandle Foreground() override { return foreground; }
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

  ScreenPoint cursor;
  WindowHandle pointed = kNoWindow;  // what WindowAt answers
  WindowHandle desktop;
  WindowHandle foreground = kNoWindow;
  bool buttonsSwapped = false;
  bool enumerationFails = false;
  HtmlScrollResult htmlResult = HtmlScrollResult::Scrolled;

  std::vector<PostedMessage> messages;
  std::vector<ScreenPoint> cursorMoves;
  std::vector<std::pair<WindowHandle, int32_t>> htmlScrolls;

 private:
  struct Node {
    std::u16string windowClass;
    ScreenRect rect;
    uint32_t style;
    WindowHandle parent;
    std::vector<WindowHandle> children;
  };
  const std::vector<WindowHandle>& SiblingsOf(WindowHandle w) const;
  bool Enumerate(WindowHandle parent, EnumCallback callback, void* context) const;

  FakeClock& clock_;
  std::map<WindowHandle, Node> nodes_;
  std::vector<WindowHandle> topLevel_;
  WindowHandle next_ = 0x100;
};

struct ParametersCall {
  uint32_t action;
  uint32_t uiParam;
  uintptr_t pvParam;  // the pointer argument's value
  uint32_t winIni;
  friend bool operator==(const ParametersCall&, const ParametersCall&) = default;
};

struct SettingChange {
  WindowHandle target;
  uintptr_t wParam;
  intptr_t lParam;
  friend bool operator==(const SettingChange&, const SettingChange&) = default;
};

class SystemRecorder : public ISystemCalls {
 public:
  OsVersionInfo Version() override { return version; }
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

  // Answers.
  OsVersionInfo version;
  bool wow64 = false;
  bool hasRedirection = true;
  int32_t parametersResult = 1;
  // Called for each ParametersInfo call, for example to fill a query's output.
  std::function<void(uint32_t action, uint32_t uiParam, void* pvParam)> parametersAnswer;

  // Every call, in order, as readable UTF-8 lines.
  std::vector<std::string> calls;
  std::vector<ParametersCall> parameters;
  std::vector<SettingChange> settingChanges;
};

// Timers on the fake clock. Advance fires every due timer through onFire.
class FakeTimer : public ITimer {
 public:
  explicit FakeTimer(FakeClock& clock) : clock_(clock) {}
  void Start(uint32_t id, uint32_t periodMs) override;
  void Kill(uint32_t id) override;
  void AdvanceTo(uint64_t timeMs, const std::function<void(uint32_t id)>& onFire);
  bool Running(uint32_t id) const { return timers_.count(id) != 0; }

  std::vector<std::string> calls;  // "start 5 1500 @0", "kill 5 @3000"

 private:
  struct Timer {
    uint32_t periodMs;
    uint64_t dueMs;
  };
  FakeClock& clock_;
  std::map<uint32_t, Timer> timers_;
};

}  // namespace norvi::fakes
