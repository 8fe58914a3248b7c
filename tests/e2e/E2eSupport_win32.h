#pragma once
// What the end-to-end tests share: the installed layout in a fresh folder, the program
// started from it, real pointer input through the X server, the input probe, and the ways to
// the picker and the tray menu.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainLayout.h"
#include "app/Messages.h"
#include "controls/ImageHelpers_win32.h"
#include "base/Handles_win32.h"
#include "model/ProfileImage.h"
#include "picker/SettingLayout.h"
#include "tests/e2e/InputEntry_win32.h"
#include "tests/support/DialogInput_win32.h"
#include "tests/support/MessageLog_win32.h"
#include "tests/support/Picture_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi::e2e {

namespace fs = std::filesystem;

constexpr wchar_t kMainTitle[] = L"Zarqo Norvi Mouse Driver";
constexpr wchar_t kInfoTitle[] = L"ZarqoPelkoInfoDlg";
constexpr DWORD kPatienceMs = 30000;

inline fs::path BuildRoot() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  // The test sits in <build>\tests\e2e.
  return fs::path(self).parent_path().parent_path().parent_path();
}

// The installed layout.
inline fs::path Dist() {
  return BuildRoot() / L"dist";
}

// The main window's pictures of one basic language under their installed names.
inline fs::path MainPictures(int languageType) {
  return BuildRoot() / L"art" / (languageType == 1 ? L"skins-zh" : L"skins-en");
}

inline fs::path ProfilePath() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  return fs::path(temp) / L"Zarqo" / L"Norvi" / L"Profile.cfg";
}

inline fs::path LanguageChoicePath() {
  return ProfilePath().parent_path() / L"Language.cfg";
}

// The language index in "Language.cfg"; -1 when there is no such file.
inline int32_t StoredLanguage() {
  std::ifstream in(LanguageChoicePath(), std::ios::binary);
  int32_t index = -1;
  in.read(reinterpret_cast<char*>(&index), sizeof index);
  return in ? index : -1;
}

inline ProfileImage SavedProfile() {
  ProfileImage image{};
  std::ifstream(ProfilePath(), std::ios::binary)
      .read(reinterpret_cast<char*>(&image), kProfileSize);
  return image;
}

// Any bytes as a stored profile, its folder created first.
inline void WriteProfileBytes(const void* bytes, size_t size, const fs::path& to = ProfilePath()) {
  fs::create_directories(to.parent_path());
  std::ofstream(to, std::ios::binary)
      .write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

inline void WriteProfile(const ProfileImage& profile, const fs::path& to = ProfilePath()) {
  WriteProfileBytes(&profile, kProfileSize, to);
}

// Starts a Windows program; false when the system refuses. Its process goes to `process` when
// asked for; folder: the working folder (default: this one's).
inline bool Launch(std::wstring command, UniqueHandle* process = nullptr,
                   const wchar_t* folder = nullptr) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &si,
                        &pi))
    return false;
  UniqueHandle owned(pi.hProcess);
  ::CloseHandle(pi.hThread);
  if (process) *process = std::move(owned);
  return true;
}

// A copy of the installed layout, optionally without some files, removed afterwards.
class Installation {
 public:
  explicit Installation(std::initializer_list<const wchar_t*> without = {}) {
    dir_ = fs::temp_directory_path() /
           (L"norvi-e2e-" + std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(++count_));
    fs::copy(Dist(), dir_, fs::copy_options::recursive);
    for (const wchar_t* name : without) fs::remove(dir_ / name);
    log_ = dir_ / L"messages.log";
  }
  ~Installation() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  const fs::path& dir() const { return dir_; }
  const fs::path& log() const { return log_; }
  std::string Messages() const {
    std::ifstream in(log_, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  // The setting together with the pictures drawn for that layout, as an installation of
  // that basic language has them.
  void SetBasicLanguage(int type) const {
    std::ofstream(dir_ / L"skins" / L"languagetype.ini")
        << "[languagetype]\r\nvalue=" << type << "\r\n";
    for (const auto& picture : fs::directory_iterator(MainPictures(type)))
      fs::copy_file(picture.path(), dir_ / L"skins" / picture.path().filename(),
                    fs::copy_options::overwrite_existing);
  }

 private:
  fs::path dir_;
  fs::path log_;
  static inline int count_ = 0;
};

// Environment the program inherits; the previous values come back afterwards.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const std::map<std::wstring, std::wstring>& values) {
    for (const auto& [name, value] : values) {
      wchar_t old[1024];
      const DWORD n = ::GetEnvironmentVariableW(name.c_str(), old, 1024);
      saved_[name] = n ? std::optional<std::wstring>(old) : std::nullopt;
      ::SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_)
      ::SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
  }

 private:
  std::map<std::wstring, std::optional<std::wstring>> saved_;
};

// Lets the program finish what its queue holds (painting included).
inline void Settle(HWND w) {
  DWORD_PTR ignored;
  for (int i = 0; i < 3; ++i) ::SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
}

// Whether the shell holds the icon of this program window: only an icon it holds can be
// modified, and a modification of nothing changes nothing.
inline bool TrayIconShown(HWND main) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = main;
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

class Program {
 public:
  // folder: where the program file lies (default: the installation's own folder); the
  // working folder is always the installation's.
  Program(const Installation& at, std::map<std::wstring, std::wstring> env,
          const fs::path& folder = {}) {
    env.emplace(L"NORVI_MESSAGE_LOG", at.log().wstring());
    env.emplace(L"NORVI_SIMULATED_RECEIVER", L"1");
    ScopedEnvironment scoped(env);
    const fs::path where = folder.empty() ? at.dir() : folder;
    // The working folder stays short: Windows refuses a longer one.
    Launch(L"\"" + (where / L"NorviDriver.exe").wstring() + L"\"", &process_, at.dir().c_str());
  }
  ~Program() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT)
      ::TerminateProcess(process_.get(), 99);
  }
  bool Started() const { return static_cast<bool>(process_); }
  HANDLE handle() const { return process_.get(); }

  // The top-level window with this title, once it is visible; null when the program ends or
  // the time runs out first.
  HWND WaitForWindow(const wchar_t* title) const {
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kPatienceMs;) {
      HWND w = ::FindWindowW(nullptr, title);
      if (w && ::IsWindowVisible(w)) return w;
      if (::WaitForSingleObject(process_.get(), 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
  }
  // The main window once shown, with what its queue held done; null as WaitForWindow.
  HWND ShownMain() const {
    HWND main = WaitForWindow(kMainTitle);
    if (main) Settle(main);
    return main;
  }
  // The exit code, or STILL_ACTIVE when the program did not end in time.
  DWORD WaitForExit() const {
    ::WaitForSingleObject(process_.get(), kPatienceMs);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
  }
  // Closes a window of the program (the main window ends it); the exit code as WaitForExit.
  DWORD Close(HWND window) const {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForExit();
  }

 private:
  UniqueHandle process_;
};

// Has the window paint everything now and waits until the screen shows it; the pause only lets
// the X server catch up with the drawing, which no message reports.
inline void PaintedOnScreen(HWND w) {
  ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Settle(w);
  ::Sleep(500);
}

inline void SaveScreenshot(HWND w, const wchar_t* name) {
  PaintedOnScreen(w);
  RECT r;
  ::GetWindowRect(w, &r);
  EXPECT_TRUE(testkit::SavePng(testkit::CaptureScreen(r), name)) << name;
}

inline RECT ClientRectOf(HWND control, HWND parent) {
  RECT r;
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Each test starts as a first run, with an installation of its own; most start the program
// from it once. The layout is copied when a case first asks for it, so that a case that makes
// its own copies (files left out, one installation after another) copies none here.
class ProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    std::error_code ec;
    fs::remove(ProfilePath(), ec);
    fs::remove(LanguageChoicePath(), ec);
  }
  const Installation& Installed() {
    if (!installed_) installed_.emplace();
    return *installed_;
  }
  // Starts the program from Installed(); its main window, shown and settled, or null.
  HWND Start(std::map<std::wstring, std::wstring> env = {}) {
    program_.emplace(Installed(), std::move(env));
    return program_->ShownMain();
  }
  GdiplusSession gdiplus_;
  std::optional<Installation> installed_;  // before the program, which ends first
  std::optional<Program> program_;
};

// Real pointer input through the X server, as a hardware mouse would give it. The caller
// pumps for the effect: for a Unix program Wine returns no usable process information, and
// its handle fields hold stale values that may name any handle of this process (closing them
// once closed this test's standard output), so none of them is touched.
inline bool StartXdotool(const std::wstring& arguments) {
  std::wstring command = L"Z:\\usr\\bin\\xdotool " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION ignored{};
  return ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &ignored) != FALSE;
}

// Where the pointer rests between steps: the screen's top left corner, off the windows the
// tests drive (Wine's own tray window lies there once an icon is in it).
constexpr POINT kPointerRest{3, 3};
inline const std::wstring kToRest =
    L"mousemove " + std::to_wstring(kPointerRest.x) + L" " + std::to_wstring(kPointerRest.y);

// xdotool steps for one click as a person gives it at "x y": the pointer moved there, a short
// rest, one click, a short rest.
inline std::wstring ClickAsAPerson(const std::wstring& at) {
  return L"mousemove " + at + L" sleep 0.3 click 1 sleep 0.3";
}

// Runs the xdotool steps and then a move to the rest point that marks their end; true once the
// pointer got there. Under Wine, input that a low-level hook passes on (the program's) goes to
// the window under the pointer when the hook is done, so the pointer stays a moment first:
// moved away at once, half a click could end up on the desktop.
inline bool PointerDone(const std::wstring& steps) {
  if (!StartXdotool(steps + L" sleep 0.3 " + kToRest)) return false;
  return testkit::PumpUntil(
      [] {
        POINT p;
        return ::GetCursorPos(&p) && p.x == kPointerRest.x && p.y == kPointerRest.y;
      },
      kPatienceMs);
}

// The screen point at the centre of a control of the English layout, as xdotool takes it.
inline std::wstring ScreenCentre(HWND main, MainControl control) {
  RECT window;
  ::GetWindowRect(main, &window);
  const LayoutRect r = PlaceOf(control, false);
  return std::to_wstring(window.left + (r.left + r.right) / 2) + L" " +
         std::to_wstring(window.top + (r.top + r.bottom) / 2);
}

// A window with scroll bars, standing in for the user's application, that logs in order
// every input message it receives as InputEntry writes it. Low-level hooks (InputHooks) feed
// the same recorder while the probe lives.
class InputProbe {
 public:
  HWND hwnd() const { return window_.get(); }
  std::vector<std::string> Log() const {
    std::vector<std::string> entries;
    for (const testkit::Message& m : log_.Messages()) {
      std::string entry = m.window ? InputEntry(m.message, m.wParam) : std::string();
      if (!entry.empty()) entries.push_back(std::move(entry));
    }
    return entries;
  }
  bool Saw(const std::string& entry) const {
    const std::vector<std::string> entries = Log();
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
  }
  // The injected keys that low-level hooks saw go down and not yet up, as virtual keys.
  std::vector<WPARAM> InjectedKeysHeld() const {
    std::vector<WPARAM> held;
    for (const testkit::Message& m : log_.Messages()) {
      if (m.window || !(m.lParam & LLKHF_INJECTED)) continue;
      const auto at = std::find(held.begin(), held.end(), m.wParam);
      const bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
      if (down && at == held.end()) held.push_back(m.wParam);
      if (!down && at != held.end()) held.erase(at);
    }
    return held;
  }

 private:
  static constexpr RECT kPlace{1000, 760, 1240, 960};
  testkit::MessageLog log_;
  // Not topmost: under Wine, once a topmost window of this process has gone, real clicks no
  // longer reach the windows of a program started afterwards.
  testkit::ProbeWindow window_{&kPlace, L"Norvi input probe", WS_HSCROLL | WS_VSCROLL, 0};
};

// What a probe receives for forward set to copy, and for forward as it is.
inline const std::vector<std::string> kCopyKeys{"kd 11", "kd 43", "ku 43", "ku 11"};
inline const std::vector<std::string> kForwardClick{"xd 02", "xu 02"};

// Brings a window of this process to the front with the keyboard focus; false when the system
// would not.
inline bool BringToFront(HWND w) {
  ::SetForegroundWindow(w);
  ::SetFocus(w);
  return testkit::PumpUntil([&] { return ::GetForegroundWindow() == w; }, 5000);
}

// The entries with the left click that ends each look at a probe.
inline std::vector<std::string> WithMarker(std::vector<std::string> entries) {
  entries.insert(entries.end(), {"ld", "lu"});
  return entries;
}

// The probe in front, the real steps over it, and once `count` entries have come, a left click
// that marks the end: what the probe logged in between, the marker included. A button that
// should have been swallowed shows before the marker. The pointer stays over the probe all the
// while: what the program injects, and what its hook passes on, goes to the window under the
// pointer at that moment.
inline std::vector<std::string> ProbeSees(const InputProbe& probe, const std::wstring& steps,
                                          size_t count) {
  const size_t mark = probe.Log().size();
  const auto since = [&] {
    const std::vector<std::string> log = probe.Log();
    return std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(mark), log.end());
  };
  if (!BringToFront(probe.hwnd())) return {"(the probe is not in front)"};
  // The marker comes with a small move: after a swallowed button, Wine lost a click that had no
  // motion before it now and then. With nothing to wait for, it follows in the same run.
  const std::wstring marker = L" mousemove 1102 852 click 1";
  if (!StartXdotool(L"mousemove 1100 850 " + steps + (count ? L"" : marker)))
    return {"(no xdotool)"};
  if (count) {
    testkit::PumpUntil([&] { return since().size() >= count; }, 10000);
    StartXdotool(marker);
  }
  testkit::PumpUntil(
      [&] {
        const std::vector<std::string> entries = since();
        return !entries.empty() && entries.back() == "lu";
      },
      10000);
  return since();
}

// The child of `parent` whose top-left corner sits at (left, top) of its client area.
inline HWND ChildAt(HWND parent, int left, int top) {
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    const RECT r = ClientRectOf(c, parent);
    if (r.left == left && r.top == top) return c;
  }
  return nullptr;
}

inline HWND MainControlWindow(HWND main, MainControl control) {
  const LayoutRect r = PlaceOf(control, false);
  return ChildAt(main, r.left, r.top);
}

using testkit::PostClick;

// The picker: the program's other shown dialog without a title.
struct PickerSearch {
  DWORD process;
  HWND main;
  HWND found;
};

inline BOOL CALLBACK FindPicker(HWND w, LPARAM lp) {
  auto& s = *reinterpret_cast<PickerSearch*>(lp);
  DWORD process = 0;
  ::GetWindowThreadProcessId(w, &process);
  wchar_t title[8]{};
  if (process == s.process && w != s.main && ::IsWindowVisible(w) &&
      ::GetWindowTextW(w, title, 8) == 0 && ::GetWindow(w, GW_CHILD))
    s.found = w;
  return s.found == nullptr;
}

inline HWND WaitForPicker(HWND main) {
  PickerSearch search{0, main, nullptr};
  ::GetWindowThreadProcessId(main, &search.process);
  testkit::PumpUntil(
      [&] {
        search.found = nullptr;
        ::EnumWindows(&FindPicker, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      kPatienceMs);
  return search.found;
}

// Opens the picker from a slot button, presses one of its buttons and waits until it is gone.
inline void PickWith(HWND main, int slot, int buttonLeft, int buttonTop) {
  PostClick(MainControlWindow(main, SlotControl(slot)));
  HWND picker = WaitForPicker(main);
  ASSERT_TRUE(picker);
  HWND button = ChildAt(picker, buttonLeft, buttonTop);
  ASSERT_TRUE(button);
  PostClick(button);
  EXPECT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(picker); }, kPatienceMs));
  Settle(main);
}

constexpr POINT kPickerOk{321, 255};
constexpr POINT kPickerDefault{249, 255};

// A shown top-level window of this class of the process that owns `main` and that `fits`
// (a predicate on the window), once there is one; null when the time runs out.
template <class Fits>
HWND WaitForWindowOf(HWND main, const wchar_t* windowClass, Fits fits) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(main, &process);
  HWND found = nullptr;
  testkit::PumpUntil(
      [&] {
        for (found = ::FindWindowW(windowClass, nullptr); found;
             found = ::FindWindowExW(nullptr, found, windowClass, nullptr)) {
          DWORD owner = 0;
          ::GetWindowThreadProcessId(found, &owner);
          if (owner == process && ::IsWindowVisible(found) && fits(found)) return true;
        }
        return false;
      },
      kPatienceMs);
  return found;
}

// The tray menu the program tracks: a shown system menu window of its process.
inline HWND WaitForTrayMenu(HWND main) {
  return WaitForWindowOf(main, L"#32768", [](HWND) { return true; });
}

// A right click on the tray icon, then the menu's item `row` places above its end by keys
// (0 Exit, 1 Config, 2 the settings of the program last in front, when it has one).
inline void ChooseFromTrayMenu(HWND main, int row) {
  // A user right-clicks the icon once it is there: a menu opened while Wine's own tray window
  // (no window manager holds the icons here) comes up for it closes unanswered.
  HWND tray = nullptr;
  ASSERT_TRUE(testkit::PumpUntil(
      [&] {
        tray = ::FindWindowW(L"__winex11_standalone_tray", nullptr);
        return tray && ::IsWindowVisible(tray);
      },
      kPatienceMs));
  Settle(tray);
  ::PostMessageW(main, UM_TRAY_NOTIFY, 0, kTrayRightButtonUp);
  HWND menu = WaitForTrayMenu(main);
  ASSERT_TRUE(menu);
  EXPECT_FALSE(::IsWindowVisible(main));  // the menu alone, not the window
  for (int i = 0; i <= row; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}

// "x y" on the screen of a point in the client area of w, as xdotool takes it.
inline std::wstring At(HWND w, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(w, &p);
  return std::to_wstring(p.x) + L" " + std::to_wstring(p.y);
}

inline std::wstring CentreOf(HWND w, const EdgeRect& r) {
  return At(w, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// A page control's rectangle in the picker's client area.
inline EdgeRect OnPage(const EdgeRect& r) {
  return {kPickerPageRect.left + r.left, kPickerPageRect.top + r.top,
          kPickerPageRect.left + r.right, kPickerPageRect.top + r.bottom};
}

// Real clicks: the slot's hotspot, the basic page's tab and the row of `code`, the picker's OK.
inline void ChooseFromBasicList(HWND main, int slot, int32_t code) {
  ASSERT_TRUE(PointerDone(ClickAsAPerson(ScreenCentre(main, SlotControl(slot)))));
  HWND picker = WaitForPicker(main);
  ASSERT_TRUE(picker);
  Settle(picker);
  const auto rows = ListRows(kCategoryBase);
  const int index = static_cast<int>(std::find(rows.begin(), rows.end(), code) - rows.begin());
  const EdgeRect row = OnPage(
      {kListRect.left, index * kListRowHeight, kListRect.right - 30, (index + 1) * kListRowHeight});
  ASSERT_TRUE(PointerDone(ClickAsAPerson(CentreOf(picker, PlaceOf(PickerButton::TabBase).rect)) +
                          L" " + ClickAsAPerson(CentreOf(picker, row)) + L" " +
                          ClickAsAPerson(CentreOf(picker, PlaceOf(PickerButton::Ok).rect))));
  ASSERT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(picker); }, kPatienceMs));
  Settle(main);
}

}  // namespace norvi::e2e
