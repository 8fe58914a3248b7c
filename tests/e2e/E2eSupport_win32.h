#pragma once
// What the end-to-end tests share: the installed layout in a fresh folder, the program
// started from it, real pointer input through the X server, the input probe, and the ways to
// the picker and the tray menu.
#include <gtest/gtest.h>
#include <windows.h>

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
#include "framework/Handles_win32.h"
#include "model/ProfileImage.h"
#include "picker/SettingLayout.h"
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
    std::wstring command = L"\"" + (where / L"NorviDriver.exe").wstring() + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // The working folder stays short: Windows refuses a longer one.
    const std::wstring current = at.dir().wstring();
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         current.c_str(), &si, &pi)) {
      process_.reset(pi.hProcess);
      ::CloseHandle(pi.hThread);
    }
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
  // The exit code, or STILL_ACTIVE when the program did not end in time.
  DWORD WaitForExit() const {
    ::WaitForSingleObject(process_.get(), kPatienceMs);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
  }

 private:
  UniqueHandle process_;
};

// Lets the program finish what its queue holds (painting included).
inline void Settle(HWND w) {
  DWORD_PTR ignored;
  for (int i = 0; i < 3; ++i) ::SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
}

inline void SaveScreenshot(HWND w, const wchar_t* name) {
  // Paint everything now; the pause only lets the X server catch up with the drawing.
  ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Settle(w);
  ::Sleep(500);
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

class ProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    std::error_code ec;
    fs::remove(ProfilePath(), ec);
    fs::remove(LanguageChoicePath(), ec);  // every test starts as a first run
  }
  GdiplusSession gdiplus_;
};

// Real pointer input through the X server, as a hardware mouse would give it. Wine starts
// the Unix program but gives no usable handle to wait on: the caller pumps for the effect.
inline bool StartXdotool(const std::wstring& arguments) {
  std::wstring command = L"Z:\\usr\\bin\\xdotool " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
    return false;
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(pi.hThread);
  return true;
}

// Runs the xdotool steps and then a move to (3, 3) that marks their end; true once the pointer
// got there.
inline bool PointerDone(const std::wstring& steps) {
  if (!StartXdotool(steps + L" mousemove 3 3")) return false;
  return testkit::PumpUntil(
      [] {
        POINT p;
        return ::GetCursorPos(&p) && p.x == 3 && p.y == 3;
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

// A window with scroll bars that logs, in order, every key, mouse-button, wheel and scroll
// message it receives, as short entries: "kd AF" (key down, virtual key in hex), "ku AF",
// "md"/"mu" (middle), "xd 1"/"xu 2" (X button), "wheel", "hwheel", "hscroll 1" (scroll code).
class InputProbe {
 public:
  InputProbe() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &InputProbe::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NorviInputProbe";
    ::RegisterClassW(&wc);
    log_.clear();
    window_.reset(::CreateWindowExW(0, wc.lpszClassName, L"Norvi input probe",
                                    WS_POPUP | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 1000, 760, 240,
                                    200, nullptr, nullptr, wc.hInstance, nullptr));
  }
  HWND hwnd() const { return window_.get(); }
  static const std::vector<std::string>& Log() { return log_; }

 private:
  static std::string Hex(WPARAM v) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(v & 0xFF));
    return text;
  }
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: log_.push_back("kd " + Hex(wp)); break;
      case WM_KEYUP:
      case WM_SYSKEYUP: log_.push_back("ku " + Hex(wp)); break;
      case WM_LBUTTONDOWN: log_.push_back("ld"); break;
      case WM_LBUTTONUP: log_.push_back("lu"); break;
      case WM_RBUTTONDOWN: log_.push_back("rd"); break;
      case WM_RBUTTONUP: log_.push_back("ru"); break;
      case WM_MBUTTONDOWN: log_.push_back("md"); break;
      case WM_MBUTTONUP: log_.push_back("mu"); break;
      case WM_XBUTTONDOWN: log_.push_back("xd " + std::to_string(HIWORD(wp))); break;
      case WM_XBUTTONUP: log_.push_back("xu " + std::to_string(HIWORD(wp))); break;
      case WM_MOUSEWHEEL: log_.push_back("wheel"); break;
      case WM_MOUSEHWHEEL: log_.push_back("hwheel"); break;
      case WM_HSCROLL: log_.push_back("hscroll " + std::to_string(LOWORD(wp))); break;
      case WM_VSCROLL: log_.push_back("vscroll " + std::to_string(LOWORD(wp))); break;
      default: break;
    }
    return ::DefWindowProcW(w, msg, wp, lp);
  }
  UniqueWindow window_;
  static inline std::vector<std::string> log_;
};

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

inline void PostClick(HWND button) {
  ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

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

// The tray menu the program tracks: a shown system menu window of its process.
inline HWND WaitForTrayMenu(HWND main) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(main, &process);
  HWND menu = nullptr;
  testkit::PumpUntil(
      [&] {
        for (menu = ::FindWindowW(L"#32768", nullptr); menu;
             menu = ::FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
          DWORD owner = 0;
          ::GetWindowThreadProcessId(menu, &owner);
          if (owner == process && ::IsWindowVisible(menu)) return true;
        }
        return false;
      },
      kPatienceMs);
  return menu;
}

// A right click on the tray icon, then the menu's item `row` places above its end by keys
// (0 Exit, 1 Config, 2 the settings of the program last in front, when it has one).
inline void ChooseFromTrayMenu(HWND main, int row) {
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
  ASSERT_TRUE(PointerDone(L"mousemove " + ScreenCentre(main, SlotControl(slot)) + L" click 1"));
  HWND picker = WaitForPicker(main);
  ASSERT_TRUE(picker);
  Settle(picker);
  const auto rows = ListRows(kCategoryBase);
  const int index = static_cast<int>(std::find(rows.begin(), rows.end(), code) - rows.begin());
  const EdgeRect row = OnPage(
      {kListRect.left, index * kListRowHeight, kListRect.right - 30, (index + 1) * kListRowHeight});
  ASSERT_TRUE(PointerDone(L"mousemove " + CentreOf(picker, PlaceOf(PickerButton::TabBase).rect) +
                          L" click 1 sleep 0.3 mousemove " + CentreOf(picker, row) +
                          L" click 1 sleep 0.3 mousemove " +
                          CentreOf(picker, PlaceOf(PickerButton::Ok).rect) + L" click 1"));
  ASSERT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(picker); }, kPatienceMs));
  Settle(main);
}

}  // namespace norvi::e2e
