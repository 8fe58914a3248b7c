// The host program: loads the library by full path and opens the switcher on demand.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "SwapSupport_win32.h"

namespace norvi::swap {
namespace {

using namespace norvi::testkit;

HWND FindWindowOf(DWORD pid, const wchar_t* className, const wchar_t* title) {
  HWND found = nullptr;
  while ((found = ::FindWindowExW(nullptr, found, className, title))) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(found, &owner);
    if (owner == pid) return found;
  }
  return nullptr;
}

// The host started with a command line; killed if it is still running at the end.
class HostProcess {
 public:
  explicit HostProcess(std::wstring arguments) {
    std::wstring command = L"\"" + BesideTest(L"SwapHost.exe") + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info)) {
      process_.reset(info.hProcess);
      ::CloseHandle(info.hThread);
      pid_ = info.dwProcessId;
    }
  }
  ~HostProcess() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT)
      ::TerminateProcess(process_.get(), 99);
  }
  DWORD pid() const { return pid_; }
  // The exit code once the host has ended within the time-out, else -1.
  long ExitCode(DWORD timeoutMs) const {
    DWORD code = 0;
    if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    ::GetExitCodeProcess(process_.get(), &code);
    return static_cast<long>(code);
  }

 private:
  UniqueHandle process_;
  DWORD pid_ = 0;
};

TEST(SwapHost, OpensTheSwitcherAtTheLeftEdgeAndClosesItOnEscape) {
  HostProcess host(L"--show --mode 8");
  ASSERT_NE(host.pid(), 0u);
  HWND switcher = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] { return (switcher = FindWindowOf(host.pid(), L"#32770", L"FastSwapWindow")); }, 20000));
  // The host may still be placing the window it just created.
  RECT r{};
  PumpUntil([&] { return ::GetWindowRect(switcher, &r) && r.left == 2; }, 3000);
  EXPECT_EQ(r.left, 2);
  // Painted by the host's thread, whenever its loop gets there.
  EXPECT_TRUE(PumpUntil([&] { return PaintedRows(switcher) >= 2; }, 3000))
      << "the host's window and the desktop";
  // The host's loop only dispatches: the key reaches the switcher's window procedure.
  ::PostMessageW(switcher, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(switcher); }));
  const HWND window = FindWindowOf(host.pid(), nullptr, L"Swap host");
  ASSERT_NE(window, nullptr);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(host.ExitCode(10000), 0);
}

// The host's switcher lists this test's windows beside the host's own, in z-order, and a
// click on a window's row brings that window to the front.
TEST(SwapHost, ListsTheTestsWindowsAndActivatesTheOneClicked) {
  const UniqueWindow first = MakeWindow(L"Host probe one");
  const UniqueWindow second = MakeWindow(L"Host probe two");
  HostProcess host(L"--show");
  ASSERT_NE(host.pid(), 0u);
  HWND switcher = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] { return (switcher = FindWindowOf(host.pid(), L"#32770", L"FastSwapWindow")); }, 20000));
  const HWND hostWindow = FindWindowOf(host.pid(), nullptr, L"Swap host");
  ASSERT_NE(hostWindow, nullptr);

  struct Search {
    std::vector<HWND> candidates, listed;
  } search{{hostWindow, first.get(), second.get()}, {}};
  ::EnumWindows(
      [](HWND w, LPARAM lp) {
        auto& s = *reinterpret_cast<Search*>(lp);
        if (std::find(s.candidates.begin(), s.candidates.end(), w) != s.candidates.end())
          s.listed.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  ASSERT_EQ(search.listed.size(), 3u);
  EXPECT_TRUE(PumpUntil([&] { return PaintedRows(switcher) == 4; }, 3000))
      << PaintedRows(switcher) << " rows; the three windows and the desktop expected";
  const int row = static_cast<int>(
      std::find(search.listed.begin(), search.listed.end(), second.get()) - search.listed.begin());
  // Wine now and then loses one half of a click that goes to another process: a row that is
  // still there is clicked once more (the 10 s timer closes it without activating anything).
  for (int attempt = 0; attempt < 2 && ::IsWindow(switcher); ++attempt) {
    ClickAt(RowCentre(switcher, row));
    PumpUntil([&] { return !::IsWindow(switcher); }, 3000);
  }
  EXPECT_FALSE(::IsWindow(switcher));
  EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == second.get(); }));
  ::PostMessageW(hostWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(host.ExitCode(10000), 0);
}

TEST(SwapHost, ReportsALibraryThatDoesNotLoad) {
  HostProcess host(L"--library C:\\nowhere\\Swap.dll");
  EXPECT_EQ(host.ExitCode(20000), 2);
}

}  // namespace
}  // namespace norvi::swap
