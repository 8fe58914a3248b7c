#include "app/ForegroundTracker_win32.h"

#include "base/WideText.h"
#include "model/AppProfiles.h"

namespace norvi {
namespace {

constexpr size_t kCachedProcesses = 256;

// The tracker whose hook delivers on this thread: an event procedure gets no context.
thread_local ForegroundTracker* t_tracker = nullptr;

ULONGLONG StartTimeOf(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The desktop, the taskbar and its notification area are not programs whose assignments
// anyone means to choose: the taskbar comes to the front when the user opens this program's
// tray menu, and Wine puts its desktop window in front for a moment on each click.
bool IsShell(HWND window) {
  if (window == ::GetDesktopWindow() || window == ::GetShellWindow()) return true;
  wchar_t name[40] = {};
  if (::GetClassNameW(window, name, ARRAYSIZE(name)) == 0) return false;
  for (const wchar_t* taskbar :
       {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd", L"NotifyIconOverflowWindow"}) {
    if (::lstrcmpW(name, taskbar) == 0) return true;
  }
  return false;
}

}  // namespace

ForegroundTracker::ForegroundTracker(std::function<void(const std::u16string&)> changed)
    : changed_(std::move(changed)) {
  t_tracker = this;
  // Out of context: the events arrive through this thread's message loop, from every process.
  hook_.reset(::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                &ForegroundTracker::OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT));
}

ForegroundTracker::~ForegroundTracker() {
  hook_.reset();
  if (t_tracker == this) t_tracker = nullptr;
}

void CALLBACK ForegroundTracker::OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG, DWORD,
                                         DWORD) {
  if (event != EVENT_SYSTEM_FOREGROUND || t_tracker == nullptr) return;
  t_tracker->delivered_ = true;
  if (window != t_tracker->lastWindow_) t_tracker->WindowInFront(window);
}

void ForegroundTracker::Check() {
  const HWND window = ::GetForegroundWindow();
  if (window != lastWindow_) WindowInFront(window);
}

void ForegroundTracker::WindowInFront(HWND window) {
  lastWindow_ = window;
  DWORD processId = 0;
  if (window == nullptr || ::GetWindowThreadProcessId(window, &processId) == 0) return;
  if (processId == ::GetCurrentProcessId() || IsShell(window)) return;
  last_ = NameOfProcess(processId);
  changed_(last_);
}

std::u16string ForegroundTracker::NameOfProcess(DWORD processId) {
  const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};  // elevated or gone: the default assignments
  const auto key = std::make_pair(processId, StartTimeOf(process.get()));
  if (const auto found = names_.find(key); found != names_.end()) return found->second;
  wchar_t image[MAX_PATH * 2];
  DWORD length = ARRAYSIZE(image);
  if (!::QueryFullProcessImageNameW(process.get(), 0, image, &length)) return {};
  std::u16string name(ExecutableNameOf(U16(std::wstring_view(image, length))));
  if (names_.size() >= kCachedProcesses) names_.clear();  // processes come and go
  names_.emplace(key, name);
  return name;
}

}  // namespace norvi
