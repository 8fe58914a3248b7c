// Assignments of their own for the program in front: copies of the probe program under two
// names stand in for the user's programs, one with a file in "Apps"; the tray item edits the
// file of the program last in front.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/MouseSettings.h"
#include "controls/DlgInfo_win32.h"
#include "model/FunctionCodes.h"
#include "tests/e2e/E2eSupport_win32.h"

namespace norvi {
namespace {

using namespace e2e;

// Run as a test of its own: the probe programs' real input crosses processes under Wine.
class AppSettingsTest : public ProgramTest {};

// A copy of the probe program under its own name in the installation folder, showing its
// window at (left, 880), below the main window; it logs what it receives to a file.
class ProbeProgram {
 public:
  ProbeProgram(const Installation& at, const wchar_t* name, int left) : left_(left) {
    const fs::path exe = at.dir() / name;
    log_ = at.dir() / (std::wstring(name) + L".log");
    fs::copy_file(BuildRoot() / L"tests" / L"e2e" / L"e2e_probe.exe", exe);
    if (!Launch(L"\"" + exe.wstring() + L"\" " + std::to_wstring(left) + L" 880 " +
                    std::to_wstring(kSize) + L" " + std::to_wstring(kSize) + L" \"" +
                    log_.wstring() + L"\"",
                &process_))
      return;
    testkit::PumpUntil(
        [&] {
          window_ = ::FindWindowW(L"NorviProbeProgram", name);
          return window_ && ::IsWindowVisible(window_);
        },
        kPatienceMs);
  }
  ~ProbeProgram() {
    if (window_) ::PostMessageW(window_, WM_CLOSE, 0, 0);
    if (process_ && ::WaitForSingleObject(process_.get(), kPatienceMs) != WAIT_OBJECT_0)
      ::TerminateProcess(process_.get(), 99);
  }
  HWND hwnd() const { return window_; }
  std::wstring Centre() const {
    return std::to_wstring(left_ + kSize / 2) + L" " + std::to_wstring(880 + kSize / 2);
  }
  std::vector<std::string> Entries() const {
    std::ifstream in(log_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

 private:
  static constexpr int kSize = 130;
  int left_;
  fs::path log_;
  UniqueHandle process_;
  HWND window_ = nullptr;
};

// The probe in front, then a click into it as a user gives one: where the system raises no
// foreground event, the program looks at the window in front after the user's input. The
// click moves the focus through the desktop for a moment; a wheel notch afterwards, which
// moves nothing, gives the program one more look once the front has settled.
bool InFront(HWND main, const ProbeProgram& probe) {
  const auto inFront = [&] {
    return ::GetForegroundWindow() == probe.hwnd() || (::SetForegroundWindow(probe.hwnd()), false);
  };
  if (!testkit::PumpUntil(inFront, 5000)) return false;
  const size_t before = probe.Entries().size();
  if (!PointerDone(L"mousemove " + probe.Centre() + L" click 1")) return false;
  if (!testkit::PumpUntil([&] { return probe.Entries().size() >= before + 2; }, 10000))
    return false;
  if (!testkit::PumpUntil(inFront, 5000)) return false;
  const bool looked = PointerDone(L"mousemove " + probe.Centre() + L" click 5");
  Settle(main);
  return looked;
}

// What the probe has logged for the xdotool steps over it once `count` entries have come.
std::vector<std::string> Over(const ProbeProgram& probe, const std::wstring& steps, size_t count) {
  const size_t mark = probe.Entries().size();
  const auto since = [&] {
    std::vector<std::string> all = probe.Entries();
    return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(mark), all.end());
  };
  // The pointer stays: what the program's hook passes on goes where the pointer is then.
  StartXdotool(L"mousemove " + probe.Centre() + L" " + steps);
  testkit::PumpUntil([&] { return since().size() >= count; }, 10000);
  return since();
}

fs::path AppsFolder() {
  return ProfilePath().parent_path() / L"Apps";
}

using Entries = std::vector<std::string>;

// Two copies of one probe program: the one with a file of its own gets Ctrl+C for forward,
// the other the X button. Bringing the other to the front while forward is held on the first
// changes nothing until the release, which the first program's assignments take.
TEST_F(AppSettingsTest, EachProgramInFrontGetsItsOwnForwardAndASwitchWaitsForTheRelease) {
  fs::remove_all(AppsFolder());
  fs::create_directories(AppsFolder());
  ProfileImage copy = DefaultProfile();
  copy.Slots[SlotForward].TempID = fn::Copy;
  WriteProfile(copy, AppsFolder() / L"probe-copy.exe.cfg");
  HWND main = Start();
  ASSERT_TRUE(main);
  ::ShowWindow(main, SW_HIDE);  // a late activation of its own never takes the front
  Settle(main);
  ProbeProgram copying(Installed(), L"probe-copy.exe", 900);
  ProbeProgram plain(Installed(), L"probe-plain.exe", 1090);
  ASSERT_TRUE(copying.hwnd() && plain.hwnd());

  ASSERT_TRUE(InFront(main, copying));
  EXPECT_EQ(Over(copying, L"click 9", 4), kCopyKeys);
  ASSERT_TRUE(InFront(main, plain));
  EXPECT_EQ(Over(plain, L"click 9", 2), kForwardClick);

  ASSERT_TRUE(InFront(main, copying));
  const size_t copyingMark = copying.Entries().size();
  ASSERT_TRUE(PointerDone(L"mousemove " + copying.Centre() + L" mousedown 9"));
  ASSERT_TRUE(testkit::PumpUntil([&] { return copying.Entries().size() >= copyingMark + 4; }));
  // The other program to the front; the X server sends the pointer to the window that holds
  // the pressed button, so the user's input that makes the program look is a wheel notch.
  const size_t plainMark = plain.Entries().size();
  ::SetForegroundWindow(plain.hwnd());
  ASSERT_TRUE(testkit::PumpUntil([&] { return ::GetForegroundWindow() == plain.hwnd(); }, 5000));
  ASSERT_TRUE(PointerDone(L"mousemove " + plain.Centre() + L" click 5"));
  Settle(main);
  ASSERT_TRUE(PointerDone(L"mousemove " + plain.Centre() + L" mouseup 9"));
  Settle(main);
  Over(plain, L"click 9", 2);
  const Entries copied = copying.Entries();
  EXPECT_EQ(Entries(copied.begin() + static_cast<std::ptrdiff_t>(copyingMark), copied.end()),
            kCopyKeys);
  const Entries reached = plain.Entries();
  EXPECT_EQ(Entries(reached.begin() + static_cast<std::ptrdiff_t>(plainMark), reached.end()),
            kForwardClick);  // and no lone release before

  EXPECT_EQ(program_->Close(main), 0u);
  fs::remove_all(AppsFolder());
}

// A user going back and forth between two programs: a click into one, a short pause, forward;
// then the same in the other. The first press after each switch is the program's own, though
// the click brings no look about under Wine (the window comes to the front only when its
// program takes the click). Each probe has been in front once before: after the first click
// into a program just started, Wine keeps its desktop window in front for longer than the
// pause, and the program in force stays until another program is in front.
TEST_F(AppSettingsTest, TheFirstPressAfterEachSwitchIsThatOfTheProgramItLandsOn) {
  fs::remove_all(AppsFolder());
  fs::create_directories(AppsFolder());
  ProfileImage copy = DefaultProfile();
  copy.Slots[SlotForward].TempID = fn::Copy;
  WriteProfile(copy, AppsFolder() / L"probe-copy.exe.cfg");
  HWND main = Start();
  ASSERT_TRUE(main);
  ::ShowWindow(main, SW_HIDE);
  Settle(main);
  ProbeProgram copying(Installed(), L"probe-copy.exe", 900);
  ProbeProgram plain(Installed(), L"probe-plain.exe", 1090);
  ASSERT_TRUE(copying.hwnd() && plain.hwnd());
  ASSERT_TRUE(InFront(main, copying));
  ASSERT_TRUE(InFront(main, plain));

  const auto clickThenForward = [](const ProbeProgram& probe, const Entries& forward) {
    Entries expected{"ld", "lu"};
    expected.insert(expected.end(), forward.begin(), forward.end());
    return std::make_pair(Over(probe, L"click 1 sleep 0.3 click 9", expected.size()), expected);
  };
  for (int round = 0; round < 4; ++round) {
    const auto [onCopying, copyingWants] = clickThenForward(copying, kCopyKeys);
    EXPECT_EQ(onCopying, copyingWants) << "round " << round;
    const auto [onPlain, plainWants] = clickThenForward(plain, kForwardClick);
    EXPECT_EQ(onPlain, plainWants) << "round " << round;
  }
  // Switched without any input in between (as from the keyboard): the press itself makes the
  // look happen before it is filtered.
  for (int round = 0; round < 3; ++round) {
    for (const ProbeProgram* probe : {&copying, &plain}) {
      ::SetForegroundWindow(probe->hwnd());
      ASSERT_TRUE(
          testkit::PumpUntil([&] { return ::GetForegroundWindow() == probe->hwnd(); }, 5000));
      const Entries& wants = probe == &copying ? kCopyKeys : kForwardClick;
      EXPECT_EQ(Over(*probe, L"click 9", wants.size()), wants) << "round " << round;
    }
  }
  EXPECT_EQ(program_->Close(main), 0u);
  fs::remove_all(AppsFolder());
}

// Clicks one button of the message box the program shows and waits until it is gone.
void AnswerBox(const Program& program, const RECT& button) {
  HWND box = program.WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box);
  HWND pressed = ChildAt(box, button.left, button.top);
  ASSERT_TRUE(pressed);
  PostClick(pressed);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(box); }, kPatienceMs));
}

// The tray menu names the program in front in full: its item is as wide as its text.
TEST_F(AppSettingsTest, TheTrayMenuShowsTheProgramInFrontByItsWholeName) {
  HWND main = Start();
  ASSERT_TRUE(main);
  ::ShowWindow(main, SW_HIDE);
  Settle(main);
  ProbeProgram probe(Installed(), L"probe-copy.exe", 900);
  ASSERT_TRUE(InFront(main, probe));
  ::PostMessageW(main, UM_TRAY_NOTIFY, 0, kTrayRightButtonUp);
  HWND menu = WaitForTrayMenu(main);
  ASSERT_TRUE(menu);
  PaintedOnScreen(menu);
  RECT shown{};
  ::GetWindowRect(menu, &shown);
  EXPECT_TRUE(testkit::SavePng(testkit::CaptureScreen(shown), L"tray-menu-program-e2e.png"));
  // The item's text in its font, Arial 14 weight 500, after the 33-pixel icon column.
  WindowDC screen(nullptr);
  UniqueFont font(::CreateFontW(14, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                                L"Arial"));
  SelectObjectScope select(screen.get(), font.get());
  const std::wstring text = L"Settings for probe-copy.exe\u2026";
  SIZE size{};
  ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
  EXPECT_GE(shown.right - shown.left, 33 + size.cx);
  ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(testkit::PumpUntil([&] { return !::IsWindowVisible(menu); }, kPatienceMs));
  EXPECT_EQ(program_->Close(main), 0u);
}

// The tray menu's item for the program last in front opens the main window on that program's
// assignments: OK writes its own file and applies it, Default removes the file again.
TEST_F(AppSettingsTest, TheTrayItemEditsTheProgramInFrontAndDefaultRemovesItsFile) {
  fs::remove_all(AppsFolder());
  const fs::path own = AppsFolder() / L"probe-copy.exe.cfg";
  HWND main = Start();
  ASSERT_TRUE(main);
  ::ShowWindow(main, SW_HIDE);
  Settle(main);
  ProbeProgram probe(Installed(), L"probe-copy.exe", 900);
  ASSERT_TRUE(InFront(main, probe));

  ChooseFromTrayMenu(main, 2);
  ASSERT_TRUE(testkit::PumpUntil([&] { return ::IsWindowVisible(main) != FALSE; }, kPatienceMs));
  Settle(main);
  wchar_t title[128] = {};
  ::GetWindowTextW(main, title, 128);
  EXPECT_STREQ(title, L"Zarqo Norvi Mouse Driver - probe-copy.exe");
  for (int id : {kWheelLinesEditId, kSpeedSliderId})
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(main, id))) << id;
  SaveScreenshot(main, L"main-window-application.png");

  ChooseFromBasicList(main, SlotForward, fn::Copy);
  ASSERT_TRUE(PointerDone(L"mousemove " + ScreenCentre(main, MainControl::Ok) + L" click 1"));
  AnswerBox(*program_, infobox::kOkRectOneButton);
  ProfileImage saved{};
  ASSERT_EQ(fs::file_size(own), kProfileSize);
  std::ifstream(own, std::ios::binary).read(reinterpret_cast<char*>(&saved), kProfileSize);
  EXPECT_EQ(saved.Slots[SlotForward].FunID, fn::Copy);
  EXPECT_EQ(saved.Remapped[SlotForward], 1);
  ::ShowWindow(main, SW_HIDE);
  ASSERT_TRUE(InFront(main, probe));
  EXPECT_EQ(Over(probe, L"click 9", 4), kCopyKeys);

  ::ShowWindow(main, SW_SHOW);
  ASSERT_TRUE(PointerDone(L"mousemove " + ScreenCentre(main, MainControl::Defaults) + L" click 1"));
  AnswerBox(*program_, infobox::kOkRectTwoButtons);
  Settle(main);
  EXPECT_FALSE(fs::exists(own));
  ::ShowWindow(main, SW_HIDE);
  ASSERT_TRUE(InFront(main, probe));
  EXPECT_EQ(Over(probe, L"click 9", 2), kForwardClick);

  // "Config" edits the default profile again.
  ChooseFromTrayMenu(main, 1);
  ASSERT_TRUE(testkit::PumpUntil([&] { return ::IsWindowVisible(main) != FALSE; }, kPatienceMs));
  ::GetWindowTextW(main, title, 128);
  EXPECT_STREQ(title, kMainTitle);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(main, kSpeedSliderId)));
  EXPECT_EQ(program_->Close(main), 0u);
  EXPECT_EQ(SavedProfile().Slots[SlotForward].FunID, DefaultProfile().Slots[SlotForward].FunID);
}

// The tray menu's item `row` (counted from the bottom) while the main window shows a box.
void ChooseFromTrayMenuOverBox(HWND main, int row) {
  ::PostMessageW(main, UM_TRAY_NOTIFY, 0, kTrayRightButtonUp);
  HWND menu = WaitForTrayMenu(main);
  ASSERT_TRUE(menu);
  for (int i = 0; i <= row; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  testkit::PumpUntil([&] { return !::IsWindow(menu) || !::IsWindowVisible(menu); }, kPatienceMs);
}

// Lost: the default profile, reset by an answer meant for the program being edited, when the
// tray's "Config" came while the question was open. While a box is open the tray only brings
// it to the front; "Exit" cancels it, then saves and ends.
TEST_F(AppSettingsTest, TheTrayNeverChangesWhatAnOpenQuestionAnswersAndExitCancelsIt) {
  fs::remove_all(AppsFolder());
  ProfileImage users = DefaultProfile();
  users.Slots[SlotForward].TempID = users.Slots[SlotForward].FunID = fn::Copy;
  users.PointerSpeed = 15;
  WriteProfile(users);
  const fs::path own = AppsFolder() / L"probe-copy.exe.cfg";
  ProfileImage probeOwn = DefaultProfile();
  probeOwn.Slots[SlotBack].TempID = fn::Copy;
  WriteProfile(probeOwn, own);
  HWND main = Start();
  ASSERT_TRUE(main);
  ::ShowWindow(main, SW_HIDE);
  Settle(main);
  ProbeProgram probe(Installed(), L"probe-copy.exe", 900);
  ASSERT_TRUE(InFront(main, probe));
  ChooseFromTrayMenu(main, 2);  // "Settings for probe-copy.exe..."
  ASSERT_TRUE(testkit::PumpUntil([&] { return ::IsWindowVisible(main) != FALSE; }, kPatienceMs));
  Settle(main);

  ASSERT_TRUE(PointerDone(L"mousemove " + ScreenCentre(main, MainControl::Defaults) + L" click 1"));
  HWND box = program_->WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box);
  ChooseFromTrayMenuOverBox(main, 1);  // "Config"
  ::PostMessageW(main, UM_TRAY_NOTIFY, 0, kTrayLeftDoubleClick);
  Settle(main);
  EXPECT_TRUE(::IsWindow(box));
  EXPECT_TRUE(testkit::PumpUntil([&] { return ::GetForegroundWindow() == box; }, 5000));
  wchar_t title[128] = {};
  ::GetWindowTextW(main, title, 128);
  EXPECT_STREQ(title, L"Zarqo Norvi Mouse Driver - probe-copy.exe");
  AnswerBox(*program_, infobox::kOkRectTwoButtons);
  Settle(main);
  EXPECT_FALSE(fs::exists(own));  // the answer went to the program being edited

  // "Exit" while the question is open: cancelled, so the program's file stays.
  WriteProfile(probeOwn, own);
  PostClick(MainControlWindow(main, MainControl::Defaults));
  box = program_->WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box);
  ChooseFromTrayMenuOverBox(main, 0);  // "Exit"
  EXPECT_EQ(program_->WaitForExit(), 0u);
  EXPECT_TRUE(fs::exists(own));
  const ProfileImage saved = SavedProfile();
  EXPECT_EQ(saved.PointerSpeed, 15);
  EXPECT_EQ(saved.Slots[SlotForward].FunID, fn::Copy);
  fs::remove_all(AppsFolder());
}

}  // namespace
}  // namespace norvi
