#pragma once
// Follows the window in front and names the program it belongs to. The main window's timer
// compares the foreground handle with the last one; the process is only looked up when the
// handle changed, and its name is cached, so nothing happens per mouse event.

#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace norvi {

class ForegroundTracker {
 public:
  // changed receives the executable file name of the program now in front, or empty when
  // it cannot be read (an elevated process, a process gone already). Windows of this program
  // itself are not reported: the program in front before them stays in force.
  explicit ForegroundTracker(std::function<void(const std::u16string&)> changed)
      : changed_(std::move(changed)) {}

  // The last program other than this one that was in front; empty before the first.
  const std::u16string& LastProgram() const { return last_; }

  // Reports the window in front when it differs from the last one seen.
  void Check();

 private:
  void WindowInFront(HWND window);
  std::u16string NameOfProcess(DWORD processId);

  std::function<void(const std::u16string&)> changed_;
  // Resolved names by process and start time, so that a reused process id is read again.
  std::map<std::pair<DWORD, ULONGLONG>, std::u16string> names_;
  std::u16string last_;
  HWND lastWindow_ = nullptr;
};

}  // namespace norvi
