// Starts the installed program (a copy of dist/ in a fresh folder) under Wine with the
// simulated receiver and watches it from outside: its windows, its shown messages (through
// NORVI_MESSAGE_LOG), its exit code and the profile it leaves behind.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <dbt.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainLayout.h"
#include "app/Messages.h"
#include "app/MouseSettings.h"
#include "controls/ImageHelpers_win32.h"
#include "controls/TextFont.h"
#include "framework/Gdi_win32.h"
#include "base/Handles_win32.h"
#include "model/ProfileImage.h"
#include "model/Text.h"
#include "tests/support/Picture_win32.h"
#include "tests/support/Pump_win32.h"
#include "tests/e2e/E2eSupport_win32.h"

namespace norvi {
namespace {

using namespace e2e;

// A profile made without one read: the expected slots and flags, and Windows' own pointer
// and wheel settings, which the program leaves as they are.
void ExpectFactorySlotsAndWindowsSettings(const ProfileImage& saved, const ProfileImage& slots) {
  constexpr size_t kSettingsBytes = 3 * sizeof(int32_t);  // speed, precision, wheel lines
  EXPECT_EQ(std::memcmp(&saved, &slots, kProfileSize - kSettingsBytes), 0);
  UINT lines = 0;
  int mouse[3] = {};
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETMOUSE, 0, mouse, 0));
  EXPECT_EQ(saved.WheelLines,
            lines == WHEEL_PAGESCROLL ? kWheelLinesScreen : static_cast<int32_t>(lines));
  EXPECT_EQ(saved.EnhancePrecision, mouse[2] != 0 ? 1 : 0);
}

// The controls that carry identifiers sit where the layout puts them; then a screenshot, and
// WM_CLOSE ends the program without any message.
void ShowsLayoutThenCloses(const Program& program, const Installation& installed, HWND main,
                           bool chinese, const wchar_t* screenshot) {
  for (auto [id, control] : {std::pair{kWheelLinesEditId, MainControl::RowsEdit},
                             std::pair{kSpeedSliderId, MainControl::SpeedSlider}}) {
    const RECT placed = ClientRectOf(::GetDlgItem(main, id), main);
    const LayoutRect expected = PlaceOf(control, chinese);
    EXPECT_EQ(placed.left, expected.left) << id;
    EXPECT_EQ(placed.top, expected.top) << id;
    EXPECT_EQ(placed.right, expected.right) << id;
  }
  SaveScreenshot(main, screenshot);
  EXPECT_EQ(program.Close(main), 0u);
  EXPECT_EQ(installed.Messages(), "");
}

TEST_F(ProgramTest, StartsShowsItsWindowAndLeavesTheAppliedDefaultProfileOnClose) {
  Installation installed;
  Program program(installed, {});
  ASSERT_TRUE(program.Started());
  HWND main = program.WaitForWindow(kMainTitle);
  ASSERT_TRUE(main) << installed.Messages();
  RECT client;
  ::GetClientRect(main, &client);
  EXPECT_EQ(client.right, 1000);
  EXPECT_EQ(client.bottom, 715);
  ShowsLayoutThenCloses(program, installed, main, false, L"main-window.png");
  EXPECT_EQ(StoredLanguage(), 2);  // first run: the English installation's language, silently

  ProfileImage expectedImage = DefaultProfile();
  expectedImage.Remapped[SlotTiltLeft] = 1;
  expectedImage.Remapped[SlotTiltRight] = 1;
  ASSERT_EQ(fs::file_size(ProfilePath()), kProfileSize);
  ExpectFactorySlotsAndWindowsSettings(SavedProfile(), expectedImage);
}

TEST_F(ProgramTest, ChineseBasicLanguageUsesTheChineseLayout) {
  Installation installed;
  installed.SetBasicLanguage(1);
  Program program(installed, {});
  HWND main = program.WaitForWindow(kMainTitle);
  ASSERT_TRUE(main) << installed.Messages();
  ShowsLayoutThenCloses(program, installed, main, true, L"main-window-chinese.png");
  EXPECT_EQ(StoredLanguage(), 1);
}

// A damaged language file of many megabytes is read within the program's memory and the
// program starts as usual: a file of nothing but "<", and one element of fifty megabytes.
TEST_F(ProgramTest, StartsWithAHugeDamagedLanguageFile) {
  const struct {
    std::string head;
    char fill;
    size_t size;
    std::string tail;
    const wchar_t* screenshot;
  } files[] = {
      {"", '<', size_t{5} << 20, "", L"main-window-lt-language.png"},
      {"<language>", 'x', size_t{50} << 20, "</language>", L"main-window-huge-language.png"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.size);
    Installation installed;
    {
      std::ofstream out(installed.dir() / L"Language" / L"en.xml",
                        std::ios::binary | std::ios::trunc);
      out << f.head << std::string(f.size, f.fill) << f.tail;
    }
    Program program(installed, {});
    HWND main = program.WaitForWindow(kMainTitle);
    ASSERT_TRUE(main) << installed.Messages();
    ShowsLayoutThenCloses(program, installed, main, false, f.screenshot);
  }
}

TEST_F(ProgramTest, WithoutTheReceiverLibraryItEndsAfterItsMessage) {
  Installation installed({L"Pardex.dll"});
  Program program(installed, {});
  HWND box = program.WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box);
  EXPECT_EQ(installed.Messages(), "Loading Pardex.dll failed.\n");
  EXPECT_EQ(program.Close(box), 1u);
  EXPECT_FALSE(::FindWindowW(nullptr, kMainTitle));
}

TEST_F(ProgramTest, WithoutTheSwitcherLibraryItWarnsAndGoesOn) {
  Installation installed({L"Swap.dll"});
  Program program(installed, {});
  HWND box = program.WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box);
  EXPECT_EQ(installed.Messages(), "Loading Swap.dll failed.\n");
  ::PostMessageW(box, WM_CLOSE, 0, 0);
  HWND main = program.WaitForWindow(kMainTitle);
  ASSERT_TRUE(main);
  EXPECT_EQ(program.Close(main), 0u);
}

// CTest runs this once more with a Simplified Chinese system language (LANG=zh_CN.UTF-8): the
// program follows the system's default language, which it shares with this test.
TEST_F(ProgramTest, WithoutTheReceiverItEndsAfterTheMessageOfTheSystemLanguage) {
  Installation installed;
  const std::wstring absent = (installed.dir() / L"receiver-unplugged").wstring();
  Program program(installed, {{L"NORVI_SIMULATED_RECEIVER", absent}});
  HWND box = program.WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box);
  // Title, text and button all in the system's language.
  SaveScreenshot(box, ::GetSystemDefaultLangID() == 0x0804 ? L"no-receiver-chinese-system.png"
                                                           : L"no-receiver.png");
  EXPECT_EQ(program.Close(box), 1u);
  EXPECT_FALSE(::FindWindowW(nullptr, kMainTitle));
  std::cout << "System language " << std::hex << ::GetSystemDefaultLangID() << std::dec
            << ", shown: " << installed.Messages();
  EXPECT_EQ(installed.Messages(), ::GetSystemDefaultLangID() == 0x0804
                                      ? "未发现Norvi接收器设备.\n"
                                      : "No Norvi device connected. Application will close now.\n");
}

TEST_F(ProgramTest, SecondInstanceShowsTheFirstWindowAndEndsSilently) {
  Installation installed;
  Program first(installed, {});
  HWND main = first.WaitForWindow(kMainTitle);
  ASSERT_TRUE(main);
  ::ShowWindow(main, SW_HIDE);
  Settle(main);
  ASSERT_FALSE(::IsWindowVisible(main));
  Program second(installed, {});
  EXPECT_EQ(second.WaitForExit(), 0u);
  EXPECT_EQ(first.WaitForWindow(kMainTitle), main);  // shown again
  EXPECT_EQ(installed.Messages(), "");
  EXPECT_EQ(first.Close(main), 0u);
}

// A first instance with higher rights: its mutex exists but cannot be opened, and its window
// cannot be reached. The second says so once and ends before it could save anything.
TEST_F(ProgramTest, ASecondInstanceThatCannotOpenTheMutexSaysSoAndEnds) {
  SECURITY_DESCRIPTOR nobody{};
  ASSERT_TRUE(::InitializeSecurityDescriptor(&nobody, SECURITY_DESCRIPTOR_REVISION));
  ACL empty{};
  ASSERT_TRUE(::InitializeAcl(&empty, sizeof empty, ACL_REVISION));
  ASSERT_TRUE(::SetSecurityDescriptorDacl(&nobody, TRUE, &empty, FALSE));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &nobody, FALSE};
  UniqueHandle first(::CreateMutexW(&attributes, FALSE, L"NorviDriver.exe"));
  ASSERT_TRUE(first);
  ASSERT_FALSE(::CreateMutexW(nullptr, FALSE, L"NorviDriver.exe"));
  ASSERT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  Installation installed;
  Program second(installed, {});
  HWND box = second.WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box) << installed.Messages();
  EXPECT_EQ(installed.Messages(),
            "The Norvi program is already running with higher rights or for another user. This "
            "copy will close now.\n");
  EXPECT_EQ(second.Close(box), 0u);
  EXPECT_FALSE(::FindWindowW(nullptr, kMainTitle));
  EXPECT_FALSE(fs::exists(ProfilePath()));
  EXPECT_FALSE(fs::exists(LanguageChoicePath()));
}

// One real X button over the probe with these slot assignments (slot, function code): exactly
// what the probe logs before the marker. X buttons under Wine: 2 middle, 4 wheel up, 7 tilt
// right, 8 back, 9 forward.
class RealButtonTest : public ProgramTest {
 protected:
  void Expect(std::initializer_list<std::pair<int, int32_t>> slots, int xButton,
              const std::vector<std::string>& expected) {
    ProfileImage profile = DefaultProfile();
    for (const auto& [slot, code] : slots) profile.Slots[slot].TempID = code;
    WriteProfile(profile);
    HWND main = Start();
    ASSERT_TRUE(main);
    // Until the shell has taken the icon the program's main thread waits in the call that
    // adds it, and under Wine the crossing events of its window that queue up meanwhile are
    // handled late: one handled between an injected button's press and its release sends the
    // release to the program's own window (or drops the press).
    ASSERT_TRUE(testkit::PumpUntil([&] { return TrayIconShown(main); }, kPatienceMs));
    Settle(main);
    InputProbe probe;
    EXPECT_EQ(ProbeSees(probe, L"click " + std::to_wstring(xButton), expected.size()),
              WithMarker(expected));
    EXPECT_EQ(program_->Close(main), 0u);
  }
};

TEST_F(RealButtonTest, ForwardAsCopyIsCtrlCAndTheButtonIsSwallowed) {
  Expect({{SlotForward, 2}}, 9, kCopyKeys);
}

TEST_F(RealButtonTest, BackDisabledReachesNobody) {
  Expect({{SlotBack, 96}}, 8, {});
}

TEST_F(RealButtonTest, MiddleNativeIsAMiddleClick) {
  Expect({{SlotMiddle, 67}}, 2, {"md", "mu"});
}

TEST_F(RealButtonTest, WheelUpAsVolumeUpIsAKeyAndNoWheel) {
  Expect({{SlotWheelUp, 54}}, 4, {"kd AF", "ku AF"});
}

TEST_F(RealButtonTest, TiltRightScrollsTwoLinesRight) {
  Expect({{SlotTiltRight, 73}}, 7, {"hscroll 01", "hscroll 01"});
}

// Back performs a forward click while forward itself is remapped to copy: the injected forward
// click must pass as it is, not turn into Ctrl+C or come round again.
TEST_F(RealButtonTest, BackAsForwardIsNotRemappedAgain) {
  Expect({{SlotBack, 68}, {SlotForward, 2}}, 8, kForwardClick);
}

TEST_F(ProgramTest, ClickedSettingsControlsChangeTheProfileThatClosingSaves) {
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  RECT window;
  ::GetWindowRect(main, &window);
  const LayoutRect bar = PlaceOf(MainControl::SpeedSlider, false);
  const std::wstring sliderEnd = std::to_wstring(window.left + bar.right - 6) + L" " +
                                 std::to_wstring(window.top + bar.top + 3);
  // Precision on, one screen per notch, the slider's right end; then a move that marks the end.
  ASSERT_TRUE(PointerDone(L"mousemove " + ScreenCentre(main, MainControl::Precision) +
                          L" click 1 mousemove " + ScreenCentre(main, MainControl::ScreenOption) +
                          L" click 1 mousemove " + sliderEnd + L" click 1"));
  Settle(main);
  EXPECT_EQ(program_->Close(main), 0u);
  const ProfileImage saved = SavedProfile();
  EXPECT_EQ(saved.EnhancePrecision, 1);
  EXPECT_EQ(saved.WheelLines, kWheelLinesScreen);
  EXPECT_EQ(saved.PointerSpeed, kMaxPointerSpeed);
}

// The language button opens the skinned menu above itself; a real click on a row applies that
// language, closes the menu and stores the choice, which the next start reads again.
TEST_F(ProgramTest, LanguageMenuChoiceIsAppliedAndRememberedAcrossRestarts) {
  Installation installed;
  {
    Program program(installed, {});
    HWND main = program.ShownMain();
    ASSERT_TRUE(main);
    RECT window;
    ::GetWindowRect(main, &window);
    const LayoutRect button = PlaceOf(MainControl::Language, false);
    ASSERT_TRUE(
        StartXdotool(L"mousemove " + ScreenCentre(main, MainControl::Language) + L" click 1"));
    HWND popup = nullptr;
    ASSERT_TRUE(testkit::PumpUntil(
        [&] {
          popup = nullptr;
          while ((popup = ::FindWindowExW(nullptr, popup, L"NorviWindow", nullptr)))
            if (::GetWindow(popup, GW_OWNER) == main && ::IsWindowVisible(popup)) return true;
          return false;
        },
        kPatienceMs));
    RECT r;
    ::GetWindowRect(popup, &r);
    EXPECT_EQ(r.left, window.left + button.left - 4);
    EXPECT_EQ(r.top, window.top + button.bottom - 287);
    EXPECT_EQ(r.right - r.left, 116);
    EXPECT_EQ(r.bottom - r.top, 273);
    // French is the third row: rows of 22 from y 6.
    const POINT french{r.left + 50, r.top + 61};
    ASSERT_TRUE(
        StartXdotool(L"mousemove " + std::to_wstring(french.x) + L" " + std::to_wstring(french.y)));
    ASSERT_TRUE(testkit::PumpUntil(
        [&] {
          POINT p;
          return ::GetCursorPos(&p) && p.x == french.x && p.y == french.y;
        },
        kPatienceMs));
    Settle(popup);
    SaveScreenshot(popup, L"language-menu-program.png");
    ASSERT_TRUE(StartXdotool(L"click 1"));
    // The menu closes once the choice is stored; reading the file earlier could hold it open
    // while the program replaces it.
    EXPECT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(popup); }, kPatienceMs));
    Settle(main);
    EXPECT_EQ(StoredLanguage(), 3);
    SaveScreenshot(main, L"main-window-french.png");
    EXPECT_EQ(program.Close(main), 0u);
  }
  Program again(installed, {});
  HWND main = again.ShownMain();
  ASSERT_TRUE(main);
  EXPECT_EQ(StoredLanguage(), 3);
  EXPECT_EQ(again.Close(main), 0u);
  EXPECT_EQ(installed.Messages(), "");
}

TEST_F(ProgramTest, PickedFunctionStaysPendingUntilTheNextStartAppliesIt) {
  Installation installed;
  {
    Program program(installed, {});
    HWND main = program.ShownMain();
    ASSERT_TRUE(main);
    ChooseFromBasicList(main, SlotForward, 8);  // save
    EXPECT_EQ(program.Close(main), 0u);
  }
  ProfileImage saved = SavedProfile();
  EXPECT_EQ(saved.Slots[SlotForward].TempID, 8);
  EXPECT_EQ(saved.Slots[SlotForward].FunID, 68);
  EXPECT_EQ(saved.Remapped[SlotForward], 0);
  {
    Program program(installed, {});
    HWND main = program.WaitForWindow(kMainTitle);
    ASSERT_TRUE(main);
    EXPECT_EQ(program.Close(main), 0u);
  }
  saved = SavedProfile();
  EXPECT_EQ(saved.Slots[SlotForward].FunID, 8);
  EXPECT_EQ(saved.Remapped[SlotForward], 1);
  EXPECT_EQ(installed.Messages(), "");
}

TEST_F(ProgramTest, DefaultInThePickerThenApplyClearsTheSlotsRemapping) {
  ProfileImage profile = DefaultProfile();
  profile.Slots[SlotBack].TempID = 2;  // applied at start-up
  WriteProfile(profile);
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  PickWith(main, SlotBack, kPickerDefault.x, kPickerDefault.y);
  PostClick(MainControlWindow(main, MainControl::Ok));
  HWND box = program_->WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box);
  ::PostMessageW(box, WM_CLOSE, 0, 0);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(box); }, kPatienceMs));
  EXPECT_EQ(program_->Close(main), 0u);
  const ProfileImage saved = SavedProfile();
  EXPECT_EQ(saved.Slots[SlotBack].TempID, 69);
  EXPECT_EQ(saved.Slots[SlotBack].FunID, 69);
  EXPECT_EQ(saved.Remapped[SlotBack], 0);
}

// Pixels of the hint colour in the hint line, as the screen shows them.
// The hint line as the screen shows it.
testkit::Picture HintLineOnScreen(HWND main) {
  RECT w;
  ::GetWindowRect(main, &w);
  return testkit::CaptureScreen({w.left + kHintRect.left, w.top + kHintRect.top,
                                 w.left + kHintRect.right, w.top + kHintRect.bottom});
}

// The hint line as it looks with `text` drawn over `empty` the way the main window draws it:
// the program's font, colour and flags. Equal pixels on the screen read that text.
testkit::Picture HintLineWith(const testkit::Picture& empty, std::u16string_view text) {
  WindowDC screen(nullptr);
  MemoryCanvas line(screen.get(), empty.width, empty.height);
  for (int y = 0; y < empty.height; ++y)
    for (int x = 0; x < empty.width; ++x) ::SetPixel(line.dc(), x, y, empty.At(x, y));
  UniqueFont font = CreateShellDlgFont(kTextFont.height, kTextFont.weight);
  {
    const TextScope draw(line.dc(), font.get(), kHintColour);
    draw.Draw(text, RECT{0, 0, empty.width, empty.height}, kHintFlags);
  }
  testkit::Picture drawn = empty;
  for (int y = 0; y < empty.height; ++y)
    for (int x = 0; x < empty.width; ++x)
      drawn.pixels[static_cast<size_t>(y * empty.width + x)] = ::GetPixel(line.dc(), x, y);
  return drawn;
}

bool HintLineShows(HWND main, const testkit::Picture& expected) {
  return testkit::PumpUntil([&] { return HintLineOnScreen(main).pixels == expected.pixels; },
                            kPatienceMs / 6);
}

// The text of a button's tooltip in another process: the question and the answer's buffer
// must lie in that process.
std::u16string TooltipText(HWND button) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(button, &process);
  UniqueHandle remote(
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process));
  if (!remote) return u"(no access)";
  constexpr size_t kChars = 512;
  auto* memory = static_cast<char*>(::VirtualAllocEx(
      remote.get(), nullptr, sizeof(TTTOOLINFOW) + kChars * 2, MEM_COMMIT, PAGE_READWRITE));
  if (!memory) return u"(no memory)";
  struct Search {
    DWORD process;
    std::vector<HWND> tips;
  } search{process, {}};
  ::EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(lp);
        wchar_t name[64] = {};
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        ::GetClassNameW(w, name, 64);
        if (owner == s.process && std::wstring(name) == TOOLTIPS_CLASSW) s.tips.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::u16string text;
  for (HWND tip : search.tips) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = button;
    info.uId = 1;
    info.lpszText = reinterpret_cast<wchar_t*>(memory + sizeof info);
    const wchar_t none = 0;
    ::WriteProcessMemory(remote.get(), memory, &info, sizeof info, nullptr);
    ::WriteProcessMemory(remote.get(), memory + sizeof info, &none, sizeof none, nullptr);
    DWORD_PTR ignored;
    ::SendMessageTimeoutW(tip, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(memory), SMTO_BLOCK,
                          5000, &ignored);
    wchar_t read[kChars] = {};
    ::ReadProcessMemory(remote.get(), memory + sizeof info, read, sizeof read - 2, nullptr);
    if (read[0]) {
      text = std::u16string(reinterpret_cast<const char16_t*>(read));
      break;
    }
  }
  ::VirtualFreeEx(remote.get(), memory, 0, MEM_RELEASE);
  return text;
}

// The fourteen described controls in hover order, with what a user reads for each; the
// slots hold functions of every kind.
constexpr int32_t kDescribedSlotCodes[kSlotCount] = {2, 35, 42, 50, 66, 84, 1, 73};
const std::pair<MainControl, std::u16string_view> kDescribedTexts[] = {
    {MainControl::Precision, u"Enhance pointer precision"},
    {MainControl::RowsOption, u"Scroll this many lines per notch"},
    {MainControl::ScreenOption, u"Scroll one screen per notch"},
    {MainControl::Slot0, u"Copy"},
    {MainControl::Slot1, u"Lock computer"},
    {MainControl::Slot2, u"Zoom in"},
    {MainControl::Slot3, u"Play/Pause"},
    {MainControl::Slot4, u"Right click"},
    {MainControl::Slot5, u"Open folder"},
    {MainControl::Slot6, u"Cut"},
    {MainControl::Slot7, u"Scroll right"},
    {MainControl::Pair, u"Pair mouse"},
    {MainControl::Defaults, u"Default"},
    {MainControl::Ok, u"OK"},
};

TEST_F(ProgramTest, HoverLineAndTooltipsNameEachOfTheFourteenDescribedControls) {
  ProfileImage profile = DefaultProfile();
  for (int slot = 0; slot < kSlotCount; ++slot)
    profile.Slots[slot].TempID = profile.Slots[slot].FunID = kDescribedSlotCodes[slot];
  WriteProfile(profile);
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  // The pointer rests off the window: the line is empty.
  ASSERT_TRUE(PointerDone(kToRest));
  PaintedOnScreen(main);
  const testkit::Picture empty = HintLineOnScreen(main);
  for (LPARAM number = 1; number <= 14; ++number) {
    const std::u16string_view text = kDescribedTexts[number - 1].second;
    const testkit::Picture expected = HintLineWith(empty, text);
    ASSERT_NE(expected.pixels, empty.pixels) << number;
    ::PostMessageW(main, UM_HOVER_TEXT, 0, number);
    EXPECT_TRUE(HintLineShows(main, expected)) << number << " " << Utf16ToUtf8(text);
  }
  for (LPARAM number : {0, 15}) {
    ::PostMessageW(main, UM_HOVER_TEXT, 0, number);
    EXPECT_TRUE(HintLineShows(main, empty)) << number;
  }
  // The pointer over each control gives it its tooltip, with the same text.
  // Two moves each: a button holds the pointer while it is over it and gives it up at the
  // first move outside, which the next button therefore never sees.
  RECT window;
  ::GetWindowRect(main, &window);
  std::wstring moves;
  for (const auto& [control, text] : kDescribedTexts) {
    const LayoutRect r = PlaceOf(control, false);
    const int x = window.left + (r.left + r.right) / 2, y = window.top + (r.top + r.bottom) / 2;
    for (int step = 0; step < 3; ++step)
      moves +=
          L"mousemove " + std::to_wstring(x + step) + L" " + std::to_wstring(y) + L" sleep 0.3 ";
  }
  ASSERT_TRUE(PointerDone(moves));
  Settle(main);
  for (const auto& [control, text] : kDescribedTexts) {
    const LayoutRect r = PlaceOf(control, false);
    const HWND button = ::ChildWindowFromPointEx(
        main, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, CWP_SKIPINVISIBLE);
    ASSERT_NE(button, main) << Utf16ToUtf8(text);
    // The program takes the pointer's moves after every message sent to it: wait for them.
    std::u16string tip;
    testkit::PumpUntil([&] { return !(tip = TooltipText(button)).empty(); }, kPatienceMs / 3);
    EXPECT_EQ(tip, text);
  }
  EXPECT_EQ(program_->Close(main), 0u);
}

TEST_F(ProgramTest, HoverLineNamesTheLaterControlBetweenTwoAndEmptiesOnTheBackground) {
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  ASSERT_TRUE(PointerDone(kToRest));
  PaintedOnScreen(main);
  const testkit::Picture empty = HintLineOnScreen(main);
  RECT window;
  ::GetWindowRect(main, &window);
  const LayoutRect pair = PlaceOf(MainControl::Pair, false);
  const auto at = [&](int x, int y) {
    return std::to_wstring(window.left + x) + L" " + std::to_wstring(window.top + y);
  };
  // The column between the pair and restore-defaults buttons lies in both grown rectangles:
  // the later one, restore-defaults, names itself.
  ASSERT_TRUE(StartXdotool(L"mousemove " + at(pair.right, pair.top + 20)));
  EXPECT_TRUE(HintLineShows(main, HintLineWith(empty, u"Default")));
  SaveScreenshot(main, L"main-window-hover.png");
  ASSERT_TRUE(StartXdotool(L"mousemove " + at(700, 100)));
  EXPECT_TRUE(HintLineShows(main, empty));
  EXPECT_EQ(program_->Close(main), 0u);
}

TEST_F(ProgramTest, FourQuickClicksOnTheRowsUpArrowAddFour) {
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  ASSERT_TRUE(PointerDone(L"mousemove " + ScreenCentre(main, MainControl::RowsUp) +
                          L" click --repeat 4 --delay 120 1"));
  Settle(main);
  EXPECT_EQ(program_->Close(main), 0u);
  EXPECT_EQ(SavedProfile().WheelLines, DefaultProfile().WheelLines + 4);
}

// The screen's pixels of one control of the shown main window.
std::vector<COLORREF> ControlPixels(HWND main, MainControl control) {
  PaintedOnScreen(main);
  RECT r;
  ::GetWindowRect(MainControlWindow(main, control), &r);
  WindowDC screen(nullptr);
  std::vector<COLORREF> pixels;
  for (int y = r.top; y < r.bottom; y += 2)
    for (int x = r.left; x < r.right; x += 2) pixels.push_back(::GetPixel(screen.get(), x, y));
  return pixels;
}

// A user's first click on the hide button of a fresh window hides it; the tray menu's "Config"
// shows it again in the applied view (a pending pick no longer checks its slot button) and
// "Exit" ends the program, which keeps the pending pick in the saved profile.
TEST_F(ProgramTest, OneClickHidesTheTrayMenuShowsTheAppliedViewAndExits) {
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  InputProbe elsewhere;
  BringToFront(elsewhere.hwnd());
  ASSERT_TRUE(
      PointerDone(L"mousemove " + ScreenCentre(main, MainControl::Close) + L" sleep 1 click 1"));
  EXPECT_TRUE(testkit::PumpUntil([&] { return !::IsWindowVisible(main); }, 5000));
  ::ShowWindow(main, SW_SHOW);
  const std::vector<COLORREF> applied = ControlPixels(main, SlotControl(SlotForward));
  ChooseFromBasicList(main, SlotForward, 8);                          // save
  ASSERT_NE(ControlPixels(main, SlotControl(SlotForward)), applied);  // checked while pending
  ::ShowWindow(main, SW_HIDE);
  Settle(main);

  ChooseFromTrayMenu(main, 1);
  ASSERT_TRUE(testkit::PumpUntil([&] { return ::IsWindowVisible(main) != FALSE; }, kPatienceMs));
  EXPECT_EQ(ControlPixels(main, SlotControl(SlotForward)), applied);

  ::ShowWindow(main, SW_HIDE);
  Settle(main);
  ChooseFromTrayMenu(main, 0);
  EXPECT_EQ(program_->WaitForExit(), 0u);
  EXPECT_EQ(SavedProfile().Slots[SlotForward].TempID, 8);
  EXPECT_EQ(Installed().Messages(), "");
}

// A user's very first click, on a fresh start, on the close button: the pointer moved onto
// it, half a second's pause, one click. The window hides (the program stays in the tray).
TEST_F(ProgramTest, FirstClickOnTheCloseButtonOfAFreshWindowHidesIt) {
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  ASSERT_TRUE(
      PointerDone(L"mousemove " + ScreenCentre(main, MainControl::Close) + L" sleep 0.5 click 1"));
  EXPECT_TRUE(testkit::PumpUntil([&] { return !::IsWindowVisible(main); }, 5000));
  EXPECT_EQ(program_->Close(main), 0u);
}

// "Exit" in the tray menu while the picker is open closes the picker as cancelled, then the
// program saves and ends: the slot keeps what it had.
TEST_F(ProgramTest, TrayExitWhileThePickerIsOpenCancelsItAndEnds) {
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  PostClick(MainControlWindow(main, SlotControl(SlotForward)));
  HWND picker = WaitForPicker(main);
  ASSERT_TRUE(picker);
  Settle(picker);
  ::PostMessageW(main, UM_TRAY_NOTIFY, 0, kTrayRightButtonUp);
  HWND menu = WaitForTrayMenu(main);
  ASSERT_TRUE(menu);
  ::PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);  // the last item: Exit
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(picker); }, kPatienceMs));
  EXPECT_EQ(program_->WaitForExit(), 0u);
  EXPECT_EQ(SavedProfile().Slots[SlotForward].TempID, 68);
  EXPECT_EQ(Installed().Messages(), "");
}

// The Unix path of a Windows path, as Wine maps it; empty outside Wine.
std::string UnixPath(const fs::path& path) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* unix = toUnix(path.wstring().c_str());
  if (!unix) return {};
  std::string result(unix);
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return result;
}

// The test folders' paths are plain ASCII.
std::wstring Widen(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

// Watches from outside Wine for the Unix process of the program started from `installed`:
// writes to `result` the milliseconds until no such process is left, or "alive" after 10 s.
// The pattern is given in two halves so that the watcher's own command line never holds it.
bool WatchUnixProcessEnd(const Installation& installed, const fs::path& result) {
  const fs::path script = installed.dir() / L"watch-end.sh";
  std::ofstream(script, std::ios::binary)
      << "start=$(date +%s%N)\n"
         "while pgrep -f \"$1$2\" >/dev/null; do\n"
         "  now=$(date +%s%N)\n"
         "  if [ $(( (now - start) / 1000000 )) -gt 10000 ]; then echo alive > \"$3\"; exit; fi\n"
         "  sleep 0.02\n"
         "done\n"
         "echo $(( ($(date +%s%N) - start) / 1000000 )) > \"$3\"\n";
  std::wstring command = L"Z:\\bin\\sh " + Widen(UnixPath(script)) + L" " +
                         installed.dir().filename().wstring() + L" .NorviDriver " +
                         Widen(UnixPath(result));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION ignored{};
  return ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &ignored) != FALSE;
}

// "Exit" in the tray menu ends the program's Unix process, seen from outside Wine, within two
// seconds.
TEST_F(ProgramTest, TrayExitEndsTheProcessWithinTwoSecondsSeenFromOutsideWine) {
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  ASSERT_FALSE(UnixPath(Installed().dir()).empty());
  const fs::path result = Installed().dir() / L"ended-after.txt";
  ::ShowWindow(main, SW_HIDE);
  Settle(main);
  ChooseFromTrayMenu(main, 0);
  ASSERT_TRUE(WatchUnixProcessEnd(Installed(), result));
  std::string ended;
  testkit::PumpUntil(
      [&] {
        std::ifstream(result) >> ended;
        return !ended.empty();
      },
      kPatienceMs);
  ASSERT_NE(ended, "") << "no answer from the watcher";
  ASSERT_NE(ended, "alive");
  EXPECT_LT(std::stoi(ended), 2000);
  std::cerr << "Exit to no process: " << ended << " ms\n";
  EXPECT_EQ(program_->WaitForExit(), 0u);
}

// A device removal as the system sends it, for a USB device of the given name.
void SendDeviceChange(HWND main, WPARAM event) {
  struct {
    DEV_BROADCAST_DEVICEINTERFACE_W head;
    wchar_t rest[64];
  } record{};
  record.head.dbcc_size = sizeof record;
  record.head.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  std::wcscpy(record.head.dbcc_name, L"\\\\?\\USB#VID_0001&PID_0002#1#{a5dcbf10}");
  DWORD_PTR ignored;
  // The receiver's removal keeps the program in its message box: no answer then.
  ::SendMessageTimeoutW(main, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&record),
                        SMTO_NORMAL, 2000, &ignored);
}

TEST_F(ProgramTest, OnlyTheReceiversRemovalEndsTheProgramAfterItsMessage) {
  Installation installed;
  const fs::path receiver = installed.dir() / L"receiver-plugged";
  std::ofstream(receiver) << "1";
  Program program(installed, {{L"NORVI_SIMULATED_RECEIVER", receiver.wstring()}});
  HWND main = program.ShownMain();
  ASSERT_TRUE(main);
  SendDeviceChange(main, DBT_DEVICEREMOVECOMPLETE);  // another device: the receiver is still there
  Settle(main);
  fs::remove(receiver);
  SendDeviceChange(main, DBT_DEVICEARRIVAL);  // not a removal: not even a check
  SendDeviceChange(main, DBT_DEVICEQUERYREMOVE);
  Settle(main);
  EXPECT_TRUE(::IsWindowVisible(main));
  EXPECT_FALSE(::FindWindowW(nullptr, kInfoTitle));
  EXPECT_EQ(installed.Messages(), "");

  SendDeviceChange(main, DBT_DEVICEREMOVECOMPLETE);
  HWND box = program.WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box);
  SendDeviceChange(main, DBT_DEVICEREMOVECOMPLETE);  // a second removal shows no second box
  EXPECT_EQ(installed.Messages(), "Receiver removed. Closing the program.\n");
  EXPECT_EQ(program.Close(box), 0u);
  EXPECT_EQ(installed.Messages(), "Receiver removed. Closing the program.\n");
  EXPECT_TRUE(fs::exists(ProfilePath()));
}

TEST_F(ProgramTest, TheIconLostWithTheTaskbarComesBackWhenTheTaskbarIsCreated) {
  Installation installed;
  Program program(installed, {});
  HWND main = program.WaitForWindow(kMainTitle);
  ASSERT_TRUE(main);
  // The icon follows the window's first paint.
  EXPECT_TRUE(testkit::PumpUntil([&] { return TrayIconShown(main); }, kPatienceMs));
  NOTIFYICONDATAW lost{};
  lost.cbSize = sizeof lost;
  lost.hWnd = main;
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &lost));  // as a restarting shell forgets it
  EXPECT_FALSE(TrayIconShown(main));
  DWORD_PTR ignored;
  ::SendMessageTimeoutW(main, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_NORMAL, 5000,
                        &ignored);
  EXPECT_TRUE(TrayIconShown(main));
  EXPECT_EQ(program.Close(main), 0u);
}

// What the program may never lose or switch off: the user's profile bytes and the system's
// wheel scrolling.

std::vector<char> FileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void WriteProfileBytes(const std::vector<char>& bytes) {
  fs::create_directories(ProfilePath().parent_path());
  std::ofstream(ProfilePath(), std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The message box of the load, then the main window; closes the box on the way.
HWND MainAfterMessage(const Program& program) {
  if (HWND box = program.WaitForWindow(kInfoTitle)) ::PostMessageW(box, WM_CLOSE, 0, 0);
  return program.WaitForWindow(kMainTitle);
}

void ExpectWheelLinesInRange() {
  UINT lines = 0;
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  EXPECT_TRUE((lines >= 1 && lines <= 30) || lines == WHEEL_PAGESCROLL) << lines;
}

// What Windows keeps of a mouse setting: the text the system stores for every program.
std::wstring StoredSetting(const wchar_t* key, const wchar_t* name) {
  wchar_t value[64] = {};
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return L"(none)";
  return value;
}
std::wstring StoredWheelLines() {
  return StoredSetting(L"Control Panel\\Desktop", L"WheelScrollLines");
}
std::wstring StoredAcceleration() {
  return StoredSetting(L"Control Panel\\Mouse", L"MouseSpeed");
}

// The user's own Windows mouse settings for a test: 7 lines a notch, enhanced precision on;
// the ones before come back afterwards.
class UsersMouseSettings {
 public:
  UsersMouseSettings() {
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines_, 0);
    ::SystemParametersInfoW(SPI_GETMOUSE, 0, mouse_, 0);
    Set(7, {6, 10, 1});
  }
  ~UsersMouseSettings() { Set(lines_, {mouse_[0], mouse_[1], mouse_[2]}); }

 private:
  static void Set(UINT lines, std::array<int, 3> mouse) {
    ::SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, SPIF_UPDATEINIFILE);
    ::SystemParametersInfoW(SPI_SETMOUSE, 0, mouse.data(), SPIF_UPDATEINIFILE);
  }
  UINT lines_ = 3;
  int mouse_[3] = {};
};

// Lost: Windows' own mouse settings, pushed over with factory values when no profile could
// be read. Without one the window shows what Windows holds and sends nothing; the profile
// written at the end keeps the user's settings.
TEST_F(ProgramTest, WithoutAProfileReadWindowsOwnMouseSettingsAreShownAndKept) {
  ProfileImage own = DefaultProfile();
  own.PointerSpeed = 15;
  const auto* raw = reinterpret_cast<const char*>(&own);
  const std::vector<char> held(raw, raw + kProfileSize);
  enum class Start { FirstRun, Damaged, Held };
  for (Start start : {Start::FirstRun, Start::Damaged, Start::Held}) {
    SCOPED_TRACE(static_cast<int>(start));
    UsersMouseSettings users;
    ASSERT_EQ(StoredWheelLines(), L"7");
    ASSERT_EQ(StoredAcceleration(), L"1");
    std::error_code ec;
    fs::remove(ProfilePath(), ec);
    if (start == Start::Damaged) WriteProfileBytes(std::vector<char>(64, '\x42'));
    if (start == Start::Held) WriteProfileBytes(held);
    UniqueFileHandle lock;
    if (start == Start::Held)
      lock.reset(::CreateFileW(ProfilePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));

    Installation installed;
    Program program(installed, {});
    HWND main = start == Start::FirstRun ? program.ShownMain() : MainAfterMessage(program);
    ASSERT_TRUE(main) << installed.Messages();
    Settle(main);
    wchar_t shown[16] = {};
    // The edit's own text (GetWindowText does not ask another program's control).
    ::SendMessageW(::GetDlgItem(main, kWheelLinesEditId), WM_GETTEXT, 16,
                   reinterpret_cast<LPARAM>(shown));
    EXPECT_STREQ(shown, L"7");
    EXPECT_EQ(StoredWheelLines(), L"7");
    EXPECT_EQ(StoredAcceleration(), L"1");
    EXPECT_EQ(program.Close(main), 0u);
    EXPECT_EQ(StoredWheelLines(), L"7");
    EXPECT_EQ(StoredAcceleration(), L"1");
    lock.reset();
    if (start == Start::Held) {
      EXPECT_EQ(FileBytes(ProfilePath()), held);
    } else {
      const ProfileImage saved = SavedProfile();
      EXPECT_EQ(saved.WheelLines, 7);
      EXPECT_EQ(saved.EnhancePrecision, 1);
    }
    fs::path aside = ProfilePath();
    aside += L".bad";
    fs::remove(aside, ec);
  }
}

// Lost: every change, saved where no save could succeed. A temporary folder too long for the
// names the program writes sends the files to the local application data, and the program
// says so once, naming that folder.
TEST_F(ProgramTest, ATemporaryFolderTooLongFallsBackAndSaysWhereOnce) {
  Installation installed;
  const fs::path longTemp =
      installed.dir() / std::wstring(200 - installed.dir().wstring().size() - 1, L't');
  fs::create_directories(longTemp);
  wchar_t local[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(
      ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)));
  const fs::path kept = fs::path(local) / L"Zarqo" / L"Norvi";
  std::error_code ec;
  fs::remove(kept / L"Profile.cfg", ec);
  Program program(installed, {{L"TMP", longTemp.wstring()}, {L"TEMP", longTemp.wstring()}});
  HWND main = MainAfterMessage(program);
  ASSERT_TRUE(main) << installed.Messages();
  EXPECT_EQ(program.Close(main), 0u);
  EXPECT_EQ(installed.Messages(),
            "The usual settings folder could not be used; your settings are kept in " +
                kept.string() + ".\n");
  EXPECT_TRUE(fs::exists(kept / L"Profile.cfg"));
  EXPECT_FALSE(fs::exists(longTemp / L"Zarqo"));
  fs::remove(kept / L"Profile.cfg", ec);
  fs::remove(kept / L"Language.cfg", ec);
}

TEST_F(ProgramTest, AProfileHeldByAnotherProgramSurvivesStartAndCloseByteForByte) {
  ProfileImage profile = DefaultProfile();
  profile.Slots[SlotForward].TempID = profile.Slots[SlotForward].FunID = 2;
  profile.PointerSpeed = 15;
  const auto* raw = reinterpret_cast<const char*>(&profile);
  const std::vector<char> original(raw, raw + kProfileSize);
  WriteProfileBytes(original);
  UniqueFileHandle lock(::CreateFileW(ProfilePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock);

  Installation installed;
  Program program(installed, {});
  HWND main = MainAfterMessage(program);
  ASSERT_TRUE(main) << installed.Messages();
  EXPECT_NE(installed.Messages().find("could not be read"), std::string::npos)
      << installed.Messages();
  ExpectWheelLinesInRange();
  EXPECT_EQ(program.Close(main), 0u);
  lock.reset();
  EXPECT_EQ(FileBytes(ProfilePath()), original);
}

TEST_F(ProgramTest, InvalidProfilesAreSetAsideAndNothingOutOfRangeReachesWindows) {
  const std::vector<std::vector<char>> cases = {{}, {'\x3D'}, std::vector<char>(1 << 20, '\x5A')};
  for (const std::vector<char>& original : cases) {
    SCOPED_TRACE(original.size());
    WriteProfileBytes(original);
    Installation installed;
    Program program(installed, {});
    HWND main = MainAfterMessage(program);
    ASSERT_TRUE(main) << installed.Messages();
    EXPECT_EQ(installed.Messages(), "This file is an invaild Profile!\n");
    ExpectWheelLinesInRange();
    EXPECT_EQ(program.Close(main), 0u);
    fs::path aside = ProfilePath();
    aside += L".bad";
    EXPECT_TRUE(FileBytes(aside) == original);
    ProfileImage expected = DefaultProfile();
    expected.Remapped[SlotTiltLeft] = expected.Remapped[SlotTiltRight] = 1;
    ExpectFactorySlotsAndWindowsSettings(SavedProfile(), expected);
    std::error_code ec;
    fs::remove(aside, ec);
  }
}

TEST_F(ProgramTest, ASignatureOnlyProfileRunsOnTheFactoryValues) {
  const std::vector<char> signature = {'\x3D', '\x1C', '\x80', '\x80'};
  WriteProfileBytes(signature);
  Installation installed;
  Program program(installed, {});
  HWND main = program.WaitForWindow(kMainTitle);
  ASSERT_TRUE(main) << installed.Messages();
  ExpectWheelLinesInRange();
  EXPECT_EQ(program.Close(main), 0u);
  EXPECT_EQ(installed.Messages(), "");
  const ProfileImage saved = SavedProfile();
  EXPECT_EQ(saved.WheelLines, kDefaultWheelLines);
  EXPECT_EQ(saved.PointerSpeed, kDefaultPointerSpeed);
  EXPECT_EQ(saved.Slots[SlotTiltLeft].FunID, 72);
}

// The modules the process has loaded whose file is exactly this one.
bool Loaded(HANDLE process, const fs::path& file) {
  HMODULE modules[512];
  DWORD bytes = 0;
  if (!::EnumProcessModules(process, modules, sizeof modules, &bytes)) return false;
  for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
    wchar_t name[MAX_PATH * 2] = {};
    ::GetModuleFileNameExW(process, modules[i], name, MAX_PATH * 2);
    std::error_code ec;
    if (fs::equivalent(fs::path(name), file, ec)) return true;
  }
  return false;
}

// A library planted in the root of the drive is never loaded, whatever the folders are: the
// program starts cleanly or ends with the library message.
TEST_F(ProgramTest, LongFoldersNeverLoadALibraryFromTheDriveRoot) {
  const fs::path planted = L"C:\\Pardex.dll";
  fs::copy_file(Dist() / L"Swap.dll", planted, fs::copy_options::overwrite_existing);
  const std::wstring longTemp = L"C:\\" + std::wstring(296, L't');
  for (const bool longInstall : {false, true}) {
    SCOPED_TRACE(longInstall);
    Installation installed;
    fs::path folder = installed.dir();
    if (longInstall) {
      folder /= std::wstring(270 - folder.wstring().size() - 1, L'i');
      fs::create_directories(folder);
      for (const wchar_t* name : {L"NorviDriver.exe", L"Pardex.dll", L"Swap.dll"})
        fs::copy_file(installed.dir() / name, folder / name);
    }
    const auto names = [&] {
      std::set<std::wstring> all;
      for (const auto& entry : fs::directory_iterator(installed.dir()))
        if (entry.path().filename() != L"messages.log") all.insert(entry.path().filename());
      return all;
    };
    const std::set<std::wstring> before = names();
    Program program(installed, {{L"TMP", longTemp}, {L"TEMP", longTemp}}, folder);
    // Without long-path support the system itself refuses to start a program that deep.
    if (longInstall && !program.Started()) continue;
    ASSERT_TRUE(program.Started());
    HWND seen = nullptr;
    for (DWORD start = ::GetTickCount(); !seen && ::GetTickCount() - start < kPatienceMs;) {
      seen = ::FindWindowW(nullptr, kMainTitle);
      if (!seen || !::IsWindowVisible(seen)) seen = ::FindWindowW(nullptr, kInfoTitle);
      if (::WaitForSingleObject(program.handle(), 50) == WAIT_OBJECT_0) break;
    }
    ASSERT_TRUE(seen);
    EXPECT_FALSE(Loaded(program.handle(), planted));
    const std::string shown = installed.Messages();
    EXPECT_TRUE(shown.empty() || shown == "Loading Pardex.dll failed.\n") << shown;
    ::PostMessageW(seen, WM_CLOSE, 0, 0);
    if (HWND main = program.WaitForWindow(kMainTitle)) ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_NE(program.WaitForExit(), STILL_ACTIVE);
    // No folder made from an unset buffer in the working folder.
    EXPECT_EQ(names(), before);
  }
  std::error_code ec;
  fs::remove(planted, ec);
}

// This test program stands in for the user's application: its own executable name picks
// the file in "Apps". A valid file remaps forward to copy for it alone; a damaged one leaves
// it with the default profile, where forward reaches it as an X button.
TEST_F(ProgramTest, TheProgramInFrontGetsItsOwnAssignmentsAndADamagedFileTheDefault) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const fs::path apps = ProfilePath().parent_path() / L"Apps";
  const fs::path own = apps / (fs::path(self).filename().wstring() + L".cfg");
  ProfileImage copy = DefaultProfile();
  copy.Slots[SlotForward].TempID = 2;  // copy
  ProfileImage damaged = copy;
  damaged.ProfileSignature ^= 1;
  struct Case {
    const char* what;
    const ProfileImage* file;
    size_t length;
    bool copies;
  } const cases[] = {
      {"own file", &copy, kProfileSize, true},
      {"bad signature", &damaged, kProfileSize, false},
      {"short", &copy, 2, false},
  };
  for (const Case& c : cases) {
    fs::remove_all(apps);
    fs::create_directories(apps);
    std::ofstream(own, std::ios::binary)
        .write(reinterpret_cast<const char*>(c.file), static_cast<std::streamsize>(c.length));

    Installation installed;
    Program program(installed, {});
    HWND main = program.ShownMain();
    ASSERT_TRUE(main) << c.what;
    InputProbe probe;
    ASSERT_TRUE(BringToFront(probe.hwnd()));
    // A click into the window, as a user gives one: where the system raises no foreground
    // event, the program looks at the window in front after the user's input. The click
    // passes the front through the desktop for a moment; a wheel notch after it, which moves
    // nothing, gives the program one more look once the front has settled.
    ASSERT_TRUE(PointerDone(L"mousemove 1100 850 click 1")) << c.what;
    Settle(main);
    ASSERT_TRUE(PointerDone(L"mousemove 1100 850 click 5")) << c.what;
    ASSERT_TRUE(testkit::PumpUntil([&] { return probe.Saw("wheel"); }, 10000)) << c.what;
    Settle(main);

    EXPECT_EQ(ProbeSees(probe, L"click 9", c.copies ? 4 : 2),
              WithMarker(c.copies ? kCopyKeys : kForwardClick))
        << c.what;
    EXPECT_EQ(program.Close(main), 0u) << c.what;
    // The program's own file never leaks into the default profile.
    EXPECT_EQ(SavedProfile().Slots[SlotForward].FunID, DefaultProfile().Slots[SlotForward].FunID)
        << c.what;
  }
  fs::remove_all(apps);
}

}  // namespace
}  // namespace norvi
