#pragma once
// Follows the window in front and names the program it belongs to. The system reports each
// change through an out-of-context event hook on the installing thread (the main thread,
// whose message loop delivers it); the process is looked up only then, and its name is
// cached, so nothing happens per mouse event and nothing while the user is idle.
//
// Systems that never raise the foreground event (Wine 8 raises none at all) are noticed by
// its absence: until the first event arrives, the owner calls Check() after user input.

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "base/Handles_win32.h"

namespace norvi {

class ForegroundTracker {
 public:
  // changed receives the executable file name of the program now in front, or empty when
  // it cannot be read (an elevated process, a process gone already). Windows of this program
  // itself and of the desktop and taskbar are not reported: the program in front before them stays
  // in force. Installs the hook on the calling thread; one tracker per thread.
  explicit ForegroundTracker(std::function<void(const std::u16string&)> changed);
  ~ForegroundTracker();
  ForegroundTracker(const ForegroundTracker&) = delete;
  ForegroundTracker& operator=(const ForegroundTracker&) = delete;

  // The last program other than this one that was in front; empty before the first.
  const std::u16string& LastProgram() const { return last_; }
  // The window in front at the last look or event, whoever owns it.
  HWND LastWindow() const { return lastWindow_; }
  // Whether the system has delivered a foreground event; until then Check() stands in.
  bool EventsDelivered() const { return delivered_; }

  // Reports the window in front when it differs from the last one seen.
  void Check();

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                               LONG child, DWORD thread, DWORD time);
  void WindowInFront(HWND window);
  std::u16string NameOfProcess(DWORD processId);

  std::function<void(const std::u16string&)> changed_;
  // Resolved names by process and start time, so that a reused process id is read again.
  std::map<std::pair<DWORD, ULONGLONG>, std::u16string> names_;
  std::u16string last_;
  HWND lastWindow_ = nullptr;
  bool delivered_ = false;
  UniqueWinEventHook hook_;
};

}  // namespace norvi
