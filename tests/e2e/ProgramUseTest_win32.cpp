// The program used as a user uses it: assignments made with real clicks, the forward button
// over the input probe, the window switch, a program opened through the browse dialog, and
// what the program leaves behind when it is closed from the tray.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "model/FunctionCodes.h"
#include "picker/SettingLayout.h"
#include "tests/e2e/E2eSupport_win32.h"

namespace norvi {
namespace {

using namespace e2e;
using namespace fn;

void WriteProfile(const ProfileImage& profile) {
  fs::create_directories(ProfilePath().parent_path());
  std::ofstream(ProfilePath(), std::ios::binary)
      .write(reinterpret_cast<const char*>(&profile), kProfileSize);
}

bool Logged(const std::string& entry) {
  const auto& log = InputProbe::Log();
  return std::find(log.begin(), log.end(), entry) != log.end();
}

// The probe in front, then the real steps over it; true once the pointer is back at (3, 3).
bool OverTheProbe(const InputProbe& probe, const std::wstring& steps) {
  ::SetForegroundWindow(probe.hwnd());
  ::SetFocus(probe.hwnd());
  if (!testkit::PumpUntil([&] { return ::GetForegroundWindow() == probe.hwnd(); }, 5000))
    return false;
  return PointerDone(L"mousemove 1100 850 " + steps);
}

// The main window's OK applies and saves; the message box that reports it is closed.
void ApplyWithOk(const Program& program, HWND main) {
  ASSERT_TRUE(PointerDone(L"mousemove " + ScreenCentre(main, MainControl::Ok) + L" click 1"));
  HWND box = program.WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box);
  ::PostMessageW(box, WM_CLOSE, 0, 0);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(box); }, kPatienceMs));
  Settle(main);
}

// The forward slot's hotspot, the basic page's tab and its copy row, the picker's OK and the
// main window's OK, all clicked: then forward over the probe is Ctrl+C and nothing else.
TEST_F(ProgramTest, ForwardSetToCopyByClickingIsCtrlCAndTheButtonNeverArrives) {
  Installation installed;
  Program program(installed, {});
  HWND main = program.WaitForWindow(kMainTitle);
  ASSERT_TRUE(main);
  Settle(main);
  ChooseFromBasicList(main, SlotForward, Copy);
  ApplyWithOk(program, main);
  EXPECT_EQ(SavedProfile().Slots[SlotForward].FunID, Copy);

  InputProbe probe;
  ASSERT_TRUE(OverTheProbe(probe, L"click 9"));
  EXPECT_TRUE(testkit::PumpUntil([] { return Logged("ku 11"); }, 10000));
  ASSERT_TRUE(PointerDone(L"mousemove 1100 850 click 1"));  // marks the end
  EXPECT_TRUE(testkit::PumpUntil([] { return Logged("lu"); }, 10000));
  EXPECT_EQ(InputProbe::Log(),
            (std::vector<std::string>{"kd 11", "kd 43", "ku 43", "ku 11", "ld", "lu"}));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

// Three quick presses of a button set to switch window: Alt goes down once, Tab is pressed
// three times, and Alt comes up only once the program's wait after the last press is over.
TEST_F(ProgramTest, SwitchWindowWithThreePressesHoldsAltOnceAcrossThreeTabs) {
  ProfileImage profile = DefaultProfile();
  profile.Slots[SlotForward].TempID = SwitchWindow;
  WriteProfile(profile);
  Installation installed;
  Program program(installed, {});
  HWND main = program.WaitForWindow(kMainTitle);
  ASSERT_TRUE(main);
  Settle(main);
  InputProbe probe;
  const std::vector<std::string> tabs{"kd 12", "kd 09", "ku 09", "kd 09",
                                      "ku 09", "kd 09", "ku 09"};
  ASSERT_TRUE(OverTheProbe(probe, L"click --repeat 3 --delay 300 9"));
  ASSERT_TRUE(testkit::PumpUntil([&] { return InputProbe::Log().size() >= tabs.size(); }, 10000))
      << testing::PrintToString(InputProbe::Log());
  EXPECT_EQ(InputProbe::Log(), tabs);  // Alt still held after the third Tab
  EXPECT_TRUE(testkit::PumpUntil([] { return Logged("ku 12"); }, 10000));
  ASSERT_TRUE(PointerDone(L"mousemove 1100 850 click 1"));
  EXPECT_TRUE(testkit::PumpUntil([] { return Logged("lu"); }, 10000));
  std::vector<std::string> expected = tabs;
  expected.insert(expected.end(), {"ku 12", "ld", "lu"});
  EXPECT_EQ(InputProbe::Log(), expected);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

// The system's file dialog of the program's process, once it is shown.
HWND WaitForFileDialog(HWND main, HWND picker) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(main, &process);
  HWND found = nullptr;
  testkit::PumpUntil(
      [&] {
        for (found = ::FindWindowW(L"#32770", nullptr); found;
             found = ::FindWindowExW(nullptr, found, L"#32770", nullptr)) {
          DWORD owner = 0;
          ::GetWindowThreadProcessId(found, &owner);
          if (owner == process && found != picker && found != main && ::IsWindowVisible(found) &&
              ::GetDlgItem(found, IDOK))
            return true;
        }
        return false;
      },
      kPatienceMs);
  return found;
}

// Open program chosen with the advanced page's browse button: the path typed into the system's
// file dialog becomes the slot's, and forward then starts that program.
TEST_F(ProgramTest, OpenProgramChosenThroughTheBrowseDialogStartsTheProgram) {
  const fs::path target = BuildRoot() / L"tests" / L"app" / L"bare_window.exe";
  ASSERT_TRUE(fs::exists(target)) << target;
  Installation installed;
  Program program(installed, {});
  HWND main = program.WaitForWindow(kMainTitle);
  ASSERT_TRUE(main);
  Settle(main);
  ASSERT_TRUE(
      PointerDone(L"mousemove " + ScreenCentre(main, SlotControl(SlotForward)) + L" click 1"));
  HWND picker = WaitForPicker(main);
  ASSERT_TRUE(picker);
  Settle(picker);
  const AdvancedRow& open = kAdvancedRows[1];
  ASSERT_EQ(open.code, OpenProgram);
  ASSERT_TRUE(PointerDone(L"mousemove " + CentreOf(picker, PlaceOf(PickerButton::TabAdvance).rect) +
                          L" click 1 sleep 0.3 mousemove " + CentreOf(picker, OnPage(open.browse)) +
                          L" click 1"));
  HWND dialog = WaitForFileDialog(main, picker);
  ASSERT_TRUE(dialog);
  HWND name = ::GetDlgItem(dialog, 0x47C);  // the file name box of the Explorer-style dialog
  if (!name) name = ::GetDlgItem(dialog, 0x480);
  ASSERT_TRUE(name);
  ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
  ::PostMessageW(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
  ASSERT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(dialog); }, kPatienceMs));
  Settle(picker);
  ASSERT_TRUE(
      PointerDone(L"mousemove " + CentreOf(picker, PlaceOf(PickerButton::Ok).rect) + L" click 1"));
  ASSERT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(picker); }, kPatienceMs));
  ApplyWithOk(program, main);
  const ProfileImage saved = SavedProfile();
  EXPECT_EQ(saved.Slots[SlotForward].FunID, OpenProgram);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(saved.Slots[SlotForward].Path)),
            target.wstring());

  InputProbe probe;
  ASSERT_TRUE(OverTheProbe(probe, L"click 9"));
  HWND started = nullptr;
  EXPECT_TRUE(testkit::PumpUntil(
      [&] { return (started = ::FindWindowW(nullptr, L"Norvi bare window")) != nullptr; },
      kPatienceMs));
  if (started) ::PostMessageW(started, WM_CLOSE, 0, 0);
  EXPECT_FALSE(Logged("xd 2"));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

// The keys injected from anywhere that are down now, as a low-level keyboard hook of this
// thread sees them: it hears every key whichever window it goes to.
class InjectedKeys {
 public:
  InjectedKeys() { hook_ = ::SetWindowsHookExW(WH_KEYBOARD_LL, &Hook, nullptr, 0); }
  ~InjectedKeys() { ::UnhookWindowsHookEx(hook_); }
  bool hooked() const { return hook_ != nullptr; }
  static std::string Held() {
    std::string held;
    for (int key = 0; key < 256; ++key)
      if (down_[key]) held += std::to_string(key) + " ";
    return held;
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM message, LPARAM data) {
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (code == HC_ACTION && (key.flags & LLKHF_INJECTED))
      down_[key.vkCode & 0xFF] = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    return ::CallNextHookEx(nullptr, code, message, data);
  }
  HHOOK hook_;
  static inline bool down_[256]{};
};

// Closed from the tray right after a window switch began (Alt held by the program, its
// release still due): no key stays held, and forward and back reach the probe again as
// themselves.
TEST_F(ProgramTest, ExitFromTheTrayLeavesNoButtonSwallowedAndNoKeyHeld) {
  ProfileImage profile = DefaultProfile();
  profile.Slots[SlotForward].TempID = SwitchWindow;
  profile.Slots[SlotBack].TempID = Copy;
  WriteProfile(profile);
  Installation installed;
  Program program(installed, {});
  HWND main = program.WaitForWindow(kMainTitle);
  ASSERT_TRUE(main);
  Settle(main);
  ::ShowWindow(main, SW_HIDE);
  Settle(main);
  InjectedKeys keys;
  ASSERT_TRUE(keys.hooked());
  {
    InputProbe probe;
    ASSERT_TRUE(OverTheProbe(probe, L"click 9"));
    ASSERT_TRUE(testkit::PumpUntil([] { return Logged("ku 09"); }, 10000));
    EXPECT_EQ(InjectedKeys::Held(), "164 ");  // the switch is still holding (left) Alt
    ChooseFromTrayMenu(main, 0);
    // The hook hears keys only while this thread pumps.
    testkit::PumpUntil([&] { return ::WaitForSingleObject(program.handle(), 0) == WAIT_OBJECT_0; },
                       kPatienceMs);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_TRUE(testkit::PumpUntil([] { return InjectedKeys::Held().empty(); }, 5000))
        << "held: " << InjectedKeys::Held();
  }
  InputProbe probe;
  ASSERT_TRUE(OverTheProbe(probe, L"click 9 click 8 click 1"));
  EXPECT_TRUE(testkit::PumpUntil([] { return Logged("lu"); }, 10000));
  EXPECT_EQ(InputProbe::Log(),
            (std::vector<std::string>{"xd 2", "xu 2", "xd 1", "xu 1", "ld", "lu"}));
}

}  // namespace
}  // namespace norvi
