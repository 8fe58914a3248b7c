// The program used as a user uses it: assignments made with real clicks, the forward button
// over the input probe, the window switch, a program opened through the browse dialog, and
// what the program leaves behind when it is closed from the tray.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "model/FunctionCodes.h"
#include "picker/KeysRowLayout.h"
#include "picker/SettingLayout.h"
#include "tests/e2e/E2eSupport_win32.h"

namespace norvi {
namespace {

using namespace e2e;
using namespace fn;

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
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  ChooseFromBasicList(main, SlotForward, Copy);
  ApplyWithOk(*program_, main);
  EXPECT_EQ(SavedProfile().Slots[SlotForward].FunID, Copy);

  InputProbe probe;
  EXPECT_EQ(ProbeSees(probe, L"click 9", kCopyKeys.size()), WithMarker(kCopyKeys));
  EXPECT_EQ(program_->Close(main), 0u);
}

// Three quick presses of a button set to switch window: Alt goes down once, Tab is pressed
// three times, and Alt comes up only once the program's wait after the last press is over.
TEST_F(ProgramTest, SwitchWindowWithThreePressesHoldsAltOnceAcrossThreeTabs) {
  ProfileImage profile = DefaultProfile();
  profile.Slots[SlotForward].TempID = SwitchWindow;
  WriteProfile(profile);
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  InputProbe probe;
  // Alt is released only after the third Tab.
  const std::vector<std::string> once{"kd 12", "kd 09", "ku 09", "kd 09",
                                      "ku 09", "kd 09", "ku 09", "ku 12"};
  EXPECT_EQ(ProbeSees(probe, L"click --repeat 3 --delay 300 9", once.size()), WithMarker(once));
  EXPECT_EQ(program_->Close(main), 0u);
}

// Forward's picker, the advanced page, a click into the keys field and Ctrl+Shift+T typed on
// the keyboard, the picker's OK and the main window's OK: then a forward click over the probe
// is exactly that combination, its keys down with the press and up with the release.
TEST_F(ProgramTest, ForwardSetToAKeyCombinationTypedInThePickerPressesExactlyThoseKeys) {
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  ASSERT_TRUE(
      PointerDone(L"mousemove " + ScreenCentre(main, SlotControl(SlotForward)) + L" click 1"));
  HWND picker = WaitForPicker(main);
  ASSERT_TRUE(picker);
  Settle(picker);
  ASSERT_TRUE(PointerDone(L"mousemove " + CentreOf(picker, PlaceOf(PickerButton::TabAdvance).rect) +
                          L" click 1 sleep 0.3 mousemove " +
                          CentreOf(picker, OnPage(kKeysRow.field)) +
                          L" click 1 sleep 0.3 key ctrl+shift+t sleep 0.3 mousemove " +
                          CentreOf(picker, PlaceOf(PickerButton::Ok).rect) + L" click 1"));
  ASSERT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(picker); }, kPatienceMs));
  Settle(main);
  ApplyWithOk(*program_, main);
  const ProfileImage saved = SavedProfile();
  EXPECT_EQ(saved.Slots[SlotForward].FunID, Keys);
  EXPECT_EQ(std::u16string(saved.Slots[SlotForward].Path), u"keys:1:ctrl+shift+T");

  InputProbe probe;
  const std::vector<std::string> combination{"kd 11", "kd 10", "kd 54", "ku 54", "ku 10", "ku 11"};
  EXPECT_EQ(ProbeSees(probe, L"click 9", combination.size()), WithMarker(combination));
  EXPECT_TRUE(probe.InjectedKeysHeld().empty()) << testing::PrintToString(probe.InjectedKeysHeld());
  EXPECT_EQ(program_->Close(main), 0u);
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
// file dialog becomes the slot's, and forward then starts that program_->
TEST_F(ProgramTest, OpenProgramChosenThroughTheBrowseDialogStartsTheProgram) {
  const fs::path target = BuildRoot() / L"tests" / L"app" / L"bare_window.exe";
  ASSERT_TRUE(fs::exists(target)) << target;
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
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
  ApplyWithOk(*program_, main);
  const ProfileImage saved = SavedProfile();
  EXPECT_EQ(saved.Slots[SlotForward].FunID, OpenProgram);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(saved.Slots[SlotForward].Path)),
            target.wstring());

  InputProbe probe;
  EXPECT_EQ(ProbeSees(probe, L"click 9", 0), WithMarker({}));  // the button itself never arrives
  HWND started = nullptr;
  EXPECT_TRUE(testkit::PumpUntil(
      [&] { return (started = ::FindWindowW(nullptr, L"Norvi bare window")) != nullptr; },
      kPatienceMs));
  if (started) ::PostMessageW(started, WM_CLOSE, 0, 0);
  EXPECT_EQ(program_->Close(main), 0u);
}

// Closed from the tray right after a window switch began (Alt held by the program, its
// release still due): no key stays held, and forward and back reach the probe again as
// themselves.
TEST_F(ProgramTest, ExitFromTheTrayLeavesNoButtonSwallowedAndNoKeyHeld) {
  ProfileImage profile = DefaultProfile();
  profile.Slots[SlotForward].TempID = SwitchWindow;
  profile.Slots[SlotBack].TempID = Copy;
  WriteProfile(profile);
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  ::ShowWindow(main, SW_HIDE);
  Settle(main);
  {
    InputProbe probe;
    testkit::InputHooks hooks;  // every injected key, whichever window it goes to
    ASSERT_TRUE(BringToFront(probe.hwnd()));
    ASSERT_TRUE(PointerDone(L"mousemove 1100 850 click 9"));
    ASSERT_TRUE(testkit::PumpUntil([&] { return probe.Saw("ku 09"); }, 10000));
    // The switch is still holding (left) Alt.
    EXPECT_EQ(probe.InjectedKeysHeld(), std::vector<WPARAM>{VK_LMENU});
    ChooseFromTrayMenu(main, 0);
    EXPECT_EQ(program_->WaitForExit(), 0u);
    EXPECT_TRUE(testkit::PumpUntil([&] { return probe.InjectedKeysHeld().empty(); }, 5000))
        << testing::PrintToString(probe.InjectedKeysHeld());
  }
  InputProbe probe;
  EXPECT_EQ(ProbeSees(probe, L"click 9 click 8", 4),
            WithMarker({"xd 02", "xu 02", "xd 01", "xu 01"}));
}

}  // namespace
}  // namespace norvi
