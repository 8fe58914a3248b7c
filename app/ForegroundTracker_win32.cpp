#include "app/ForegroundTracker_win32.h"

#include "model/AppProfiles.h"
#include "framework/Handles_win32.h"
#include "framework/WideText.h"

namespace norvi {
namespace {

constexpr size_t kCachedProcesses = 256;

ULONGLONG StartTimeOf(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

void ForegroundTracker::Check() {
  const HWND window = ::GetForegroundWindow();
  if (window != lastWindow_) WindowInFront(window);
}

void ForegroundTracker::WindowInFront(HWND window) {
  lastWindow_ = window;
  DWORD processId = 0;
  if (window == nullptr || ::GetWindowThreadProcessId(window, &processId) == 0) return;
  if (processId == ::GetCurrentProcessId()) return;
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
