// The switcher under Wine: the library loaded by full path, real windows, real input.

#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <memory>
#include <string>

#include "SwapSupport_win32.h"
#include "framework/Gdi_win32.h"
#include "tests/support/ImportPatch_win32.h"

namespace norvi::swap {
namespace {

using namespace norvi::testkit;

// Its existence switches the library's trace on.
constexpr wchar_t kMarker[] = L"C:\\swapwnd.txt";
constexpr COLORREF kDefaultWindow = 0x005F3C3C;
constexpr COLORREF kDefaultButton = 0x005A1E8C;
constexpr COLORREF kDefaultHover = 0x00C9C9C9;

int ScreenWidth() {
  return ::GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
  return ::GetSystemMetrics(SM_CYSCREEN);
}

RECT WorkArea() {
  RECT r{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// Opens a switcher and returns its window; fails the test when none opens.
HWND Open(const SwapLibrary& swap, int32_t mode) {
  swap.Show(mode);
  PumpUntil([] { return FindSwitcher() != nullptr; });
  return FindSwitcher();
}

bool Closed() {
  return FindSwitcher() == nullptr;
}

// Set-up without the trace marker, and a failing set-up: each with its own library load.
TEST(SwapSetUp, FailedSetUpWritesOneLineAndShowsNothing) {
  ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);  // the host's apartment
  {
    DebugCapture debug;
    SwapLibrary swap;
    ASSERT_TRUE(swap.loaded());
    const UniqueWindow host = MakeWindow(L"Failing host");
    swap.Init(host.get());
    swap.Show(2);
    PumpUntil([&] { return !debug.Lines().empty(); });
    EXPECT_TRUE(Closed());
    EXPECT_EQ(debug.Lines(), std::vector<std::string>{"Initialize WMI failed"});
  }
  ::CoUninitialize();
}

TEST(SwapSetUp, WithoutTheMarkerOnlyTheSetUpOutcomeIsTraced) {
  ::DeleteFileW(kMarker);
  DebugCapture debug;
  {
    SwapLibrary swap;
    const UniqueWindow host = MakeWindow(L"Quiet host");
    swap.Init(host.get());
    const HWND switcher = Open(swap, 2);
    ASSERT_NE(switcher, nullptr);
    ::PostMessageW(switcher, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil(Closed));
  }
  EXPECT_EQ(debug.Lines(), std::vector<std::string>{"bInit is true"});
}

// One library load with the trace marker for the rest: the trace names what is listed.
class Switcher : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const UniqueFileHandle marker(::CreateFileW(kMarker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
    debug_ = new DebugCapture;
    swap_ = new SwapLibrary;
    host_ = new UniqueWindow(MakeWindow(L"Switcher test host"));
    swap_->Init(host_->get());
  }
  static void TearDownTestSuite() {
    delete host_;
    delete swap_;  // unloading runs the library's shutdown
    const std::vector<std::string> lines = debug_->Lines();
    EXPECT_EQ(lines.empty() ? "" : lines.back(), "Swap::ExitInstance");
    delete debug_;
    ::DeleteFileW(kMarker);
  }
  void SetUp() override {
    ASSERT_TRUE(swap_->loaded());
    ASSERT_TRUE(Closed());
    debug_->Clear();
  }
  void TearDown() override {
    if (const HWND open = FindSwitcher()) ::DestroyWindow(open);
  }
  // The switcher's row of the window titled `title`, from the trace; -1 when not listed.
  static int RowOf(const std::string& title) {
    const auto titles = debug_->ListedTitles();
    const auto it = std::find(titles.begin(), titles.end(), title);
    return it == titles.end() ? -1 : static_cast<int>(it - titles.begin());
  }

  static DebugCapture* debug_;
  static SwapLibrary* swap_;
  static UniqueWindow* host_;
};
DebugCapture* Switcher::debug_ = nullptr;
SwapLibrary* Switcher::swap_ = nullptr;
UniqueWindow* Switcher::host_ = nullptr;

TEST_F(Switcher, ListsApplicationWindowsOnlyAndSizesItselfToThem) {
  const std::wstring fifty = L"Fifty characters long title .....................:";
  ASSERT_EQ(fifty.size(), 50u);
  const UniqueWindow untitled = MakeWindow(L"");
  const UniqueWindow tool = MakeWindow(L"A tool window", WS_EX_TOOLWINDOW);
  const UniqueWindow owned = MakeWindow(L"An owned window", 0, host_->get());
  const UniqueWindow shell = MakeWindow(L"Program Manager");
  const UniqueWindow lower = MakeWindow(L"program manager");
  const UniqueWindow longTitle = MakeWindow(fifty);

  const HWND switcher = Open(*swap_, 2);
  ASSERT_NE(switcher, nullptr);
  const auto titles = debug_->ListedTitles();
  EXPECT_TRUE(Contains(titles, "program manager"));
  EXPECT_TRUE(Contains(titles, "Switcher test host"));
  EXPECT_TRUE(Contains(titles, "Fifty characters long title ..........."));
  EXPECT_FALSE(Contains(titles, ""));
  EXPECT_FALSE(Contains(titles, "A tool window"));
  EXPECT_FALSE(Contains(titles, "An owned window"));
  EXPECT_FALSE(Contains(titles, "Program Manager"));
  // Newest windows are on top of the z-order, so they come first.
  EXPECT_LT(RowOf("Fifty characters long title ..........."), RowOf("program manager"));

  const int count = static_cast<int>(titles.size());
  EXPECT_EQ(PaintedRows(switcher), count + 1);
  const RECT r = WindowRect(switcher);
  const int height = (count + 1) * 40 + 20;
  EXPECT_EQ(r.right - r.left, 330);
  EXPECT_EQ(r.bottom - r.top, height);
  EXPECT_EQ(r.left, (ScreenWidth() - 330) / 2);
  EXPECT_EQ(r.top, (ScreenHeight() - height) / 2);
  const LONG_PTR ex = ::GetWindowLongPtrW(switcher, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex & (WS_EX_APPWINDOW | WS_EX_TOPMOST));
}

TEST_F(Switcher, PaintsItsColoursAndTheHoveredRow) {
  const HWND switcher = Open(*swap_, 2);
  ASSERT_NE(switcher, nullptr);
  // The cursor may start over a row; its leave notice comes from a polling timer.
  ::SetCursorPos(0, 0);
  PumpUntil([&] { return CaptureWindow(switcher).At(318, 52) == kDefaultButton; }, 3000);
  Picture picture = CaptureWindow(switcher);
  EXPECT_TRUE(SavePng(picture, L"swap-switcher.png"));
  EXPECT_EQ(picture.At(4, 4), kDefaultWindow);
  EXPECT_EQ(picture.At(325, 30), kDefaultWindow);
  EXPECT_EQ(picture.At(12, 12), kDefaultButton);       // above the icon of row 0
  EXPECT_EQ(picture.At(318, 50 + 2), kDefaultButton);  // right end of row 1

  const POINT row0 = RowCentre(switcher, 0);
  MovePointer({row0.x + 100, row0.y});
  PumpUntil([&] { return CaptureWindow(switcher).At(318, 12) == kDefaultHover; }, 3000);
  picture = CaptureWindow(switcher);
  EXPECT_EQ(picture.At(318, 12), kDefaultHover);
  EXPECT_EQ(picture.At(318, 52), kDefaultButton);
  EXPECT_TRUE(SavePng(picture, L"swap-switcher-hover.png"));

  // The hover follows the pointer from row to row, and the gap between rows is no row.
  MovePointer(RowCentre(switcher, 1));
  PumpUntil([&] { return CaptureWindow(switcher).At(318, 52) == kDefaultHover; }, 3000);
  picture = CaptureWindow(switcher);
  EXPECT_EQ(picture.At(318, 12), kDefaultButton);
  EXPECT_EQ(picture.At(318, 52), kDefaultHover);
  MovePointer({row0.x, row0.y + 40 + 20});  // the two pixels below row 1
  PumpUntil([&] { return CaptureWindow(switcher).At(318, 52) == kDefaultButton; }, 3000);
  EXPECT_EQ(CaptureWindow(switcher).At(318, 52), kDefaultButton);
}

TEST_F(Switcher, HostColoursReplaceTheDefaults) {
  const COLORREF window = RGB(10, 200, 30);
  const COLORREF button = RGB(250, 240, 0);
  swap_->Show(8, &window, &button, nullptr, nullptr);
  ASSERT_TRUE(PumpUntil([] { return FindSwitcher() != nullptr; }));
  const HWND switcher = FindSwitcher();
  ::SetCursorPos(ScreenWidth() - 1, 0);
  EXPECT_TRUE(PumpUntil([&] {
    const Picture picture = CaptureWindow(switcher);
    return picture.At(4, 4) == window && picture.At(318, 12) == button;
  }));
  EXPECT_EQ(WindowRect(switcher).left, 2);
}

TEST_F(Switcher, EdgeAndCursorModesPlaceTheSwitcher) {
  HWND switcher = Open(*swap_, 4);
  ASSERT_NE(switcher, nullptr);
  RECT r = WindowRect(switcher);
  EXPECT_EQ(r.right, ScreenWidth());
  EXPECT_EQ(r.top, (ScreenHeight() - (r.bottom - r.top)) / 2);
  ::DestroyWindow(switcher);

  ::SetCursorPos(ScreenWidth() - 100, 50);
  switcher = Open(*swap_, 0);
  ASSERT_NE(switcher, nullptr);
  r = WindowRect(switcher);
  EXPECT_EQ(r.left, ScreenWidth() - 100 - 330);  // opens to the left of the cursor
  EXPECT_EQ(r.top, 50);
}

TEST_F(Switcher, ClickingTheRowOfAMinimisedWindowRestoresItAndBringsItToTheFront) {
  const UniqueWindow target = MakeWindow(L"Minimised target", 0, nullptr, SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(target.get()));
  const HWND switcher = Open(*swap_, 2);
  ASSERT_NE(switcher, nullptr);
  const int row = RowOf("Minimised target");
  ASSERT_GE(row, 0);
  ClickAt(RowCentre(switcher, row));
  ASSERT_TRUE(PumpUntil(Closed));
  EXPECT_TRUE(PumpUntil([&] { return !::IsIconic(target.get()); }));
  EXPECT_EQ(::GetForegroundWindow(), target.get());
}

TEST_F(Switcher, OnlyAPressAndReleaseOverOneRowActivatesIt) {
  const UniqueWindow target = MakeWindow(L"Pressed target", 0, nullptr, SW_MINIMIZE);
  const HWND switcher = Open(*swap_, 2);
  ASSERT_NE(switcher, nullptr);
  const int row = RowOf("Pressed target");
  ASSERT_GE(row, 0);
  const POINT centre = RowCentre(switcher, row);
  struct Case {
    const char* what;
    POINT down;
    POINT up;
  };
  for (const Case& c :
       {Case{"released over the next row", centre, {centre.x, centre.y + 40}},
        {"the gap below the row", {centre.x, centre.y + 20}, {centre.x, centre.y + 20}},
        {"pressed on the next row", {centre.x, centre.y + 40}, centre}}) {
    DragClick(c.down, c.up);
    PumpFor(200);
    EXPECT_EQ(FindSwitcher(), switcher) << c.what;
    EXPECT_TRUE(::IsIconic(target.get())) << c.what;
  }
  ClickAt({centre.x + 154, centre.y - 19});  // the row's top-right pixel
  EXPECT_TRUE(PumpUntil(Closed));
  EXPECT_TRUE(PumpUntil([&] { return !::IsIconic(target.get()); }));
}

TEST_F(Switcher, TheDesktopRowInjectsWinD) {
  const HWND switcher = Open(*swap_, 2);
  ASSERT_NE(switcher, nullptr);
  const int desktopRow = static_cast<int>(debug_->ListedTitles().size());
  MessageLog log({WM_KEYDOWN, WM_KEYUP});
  const InputHooks hooks;
  ClickAt(RowCentre(switcher, desktopRow));
  ASSERT_TRUE(PumpUntil(Closed));
  PumpUntil([&] { return log.Messages().size() >= 4; });
  EXPECT_TRUE(
      Matches(log.Messages(),
              {{WM_KEYDOWN, VK_LWIN}, {WM_KEYDOWN, 'D'}, {WM_KEYUP, 'D'}, {WM_KEYUP, VK_LWIN}}));
}

TEST_F(Switcher, SpaceDoesNothingEnterAndEscapeCloseWithoutSwitching) {
  const UniqueWindow other = MakeWindow(L"Bystander", 0, nullptr, SW_MINIMIZE);
  for (const BYTE closing : {VK_RETURN, VK_ESCAPE}) {
    const HWND switcher = Open(*swap_, 2);
    ASSERT_NE(switcher, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == switcher; }));
    PressKey(VK_SPACE);
    PumpFor(300);  // nothing may happen; give it the time it would take
    EXPECT_EQ(FindSwitcher(), switcher) << "Space pressed no row";
    PressKey(closing);
    EXPECT_TRUE(PumpUntil(Closed)) << int(closing);
    EXPECT_TRUE(::IsIconic(other.get())) << "nothing was switched to";
  }
}

struct TimerCall {
  HWND window;
  UINT_PTR id;
  UINT ms;
};
std::vector<TimerCall> g_timers;

UINT_PTR WINAPI RecordSetTimer(HWND window, UINT_PTR id, UINT ms, TIMERPROC proc) {
  g_timers.push_back({window, id, ms});
  return ::SetTimer(window, id, ms, proc);
}

// The library's own timer request is watched, so ten seconds are checked without waiting.
TEST_F(Switcher, ClosesOnItsTenSecondTimerAndNoOther) {
  g_timers.clear();
  const ImportPatch patch(::GetModuleHandleW(L"Swap.dll"), "user32.dll", "SetTimer",
                          reinterpret_cast<const void*>(&RecordSetTimer));
  ASSERT_TRUE(patch);
  const HWND switcher = Open(*swap_, 2);
  ASSERT_NE(switcher, nullptr);
  ASSERT_EQ(g_timers.size(), 1u);
  EXPECT_EQ(g_timers[0].window, switcher);
  EXPECT_EQ(g_timers[0].ms, 10000u);
  ::SendMessageW(switcher, WM_TIMER, g_timers[0].id + 1, 0);
  EXPECT_EQ(FindSwitcher(), switcher);
  ::SendMessageW(switcher, WM_TIMER, g_timers[0].id, 0);
  EXPECT_TRUE(PumpUntil(Closed));
}

TEST_F(Switcher, ASecondCallWhileOpenMovesItToTheCursorAndKeepsItsList) {
  const HWND switcher = Open(*swap_, 2);
  ASSERT_NE(switcher, nullptr);
  const int rows = PaintedRows(switcher);
  const RECT before = WindowRect(switcher);
  const UniqueWindow late = MakeWindow(L"Late window");
  debug_->Clear();
  ::SetCursorPos(ScreenWidth() - 40, ScreenHeight() - 30);
  swap_->Show(4);
  PumpUntil([&] { return WindowRect(switcher).left == ScreenWidth() - 40 - 330; });
  EXPECT_EQ(FindSwitcher(), switcher);
  EXPECT_EQ(PaintedRows(switcher), rows);
  EXPECT_TRUE(debug_->ListedTitles().empty()) << "no new enumeration";
  const RECT after = WindowRect(switcher);
  EXPECT_EQ(after.left, ScreenWidth() - 40 - 330);
  EXPECT_EQ(after.top, ScreenHeight() - 30 - (before.bottom - before.top));
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_TRUE(::GetWindowLongPtrW(switcher, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Switcher, WithMoreWindowsThanFitEveryRowStaysInsideTheWorkArea) {
  const RECT area = WorkArea();
  // Rows of 40 plus the margin: as many windows as leave room for the desktop row.
  const int fit = (area.bottom - area.top - 20) / 40 - 1;
  if (fit >= 29) GTEST_SKIP() << "a screen this tall fits every row";
  std::vector<UniqueWindow> windows;
  for (int i = 0; i < fit + 6; ++i) windows.push_back(MakeWindow(L"Crowd " + std::to_wstring(i)));
  struct Case {
    int32_t mode;
    POINT cursor;
  };
  for (const Case c : {Case{2, {0, 0}},
                       {4, {0, 0}},
                       {8, {0, 0}},
                       {0, {5, 5}},
                       {0, {ScreenWidth() - 10, ScreenHeight() - 10}}}) {
    debug_->Clear();
    ::SetCursorPos(c.cursor.x, c.cursor.y);
    const HWND switcher = Open(*swap_, c.mode);
    ASSERT_NE(switcher, nullptr) << c.mode;
    const auto titles = debug_->ListedTitles();
    ASSERT_EQ(titles.size(), static_cast<size_t>(fit)) << c.mode;
    EXPECT_EQ(titles.front(), "Crowd " + std::to_string(fit + 5)) << "the newest first";
    // The rows lie inside the window (the layout's rule), so the window is what must fit.
    EXPECT_EQ(PaintedRows(switcher), fit + 1) << "the desktop row is kept";
    EXPECT_TRUE(Inside(WindowRect(switcher), area)) << c.mode;
    ::DestroyWindow(switcher);
  }
}

TEST_F(Switcher, IconsAndGdiObjectsStayFlatOver200OpeningsWhileWindowsComeAndGo) {
  {  // the walks see what this process creates and destroys
    const int objects = CountGdiObjects();
    const UniqueBrush brush(::CreateSolidBrush(0x123456));
    ASSERT_EQ(CountGdiObjects(), objects + 1);
    const int icons = CountIcons();
    const UniqueIcon icon(
        ::CopyIcon(::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))));
    ASSERT_EQ(CountIcons(), icons + 1);
  }
  std::vector<UniqueWindow> ring;
  for (int i = 0; i < 6; ++i) ring.push_back(MakeWindow(L"Ring " + std::to_wstring(i)));
  int icons = 0;
  int objects = 0;
  for (int opening = 0; opening < 200; ++opening) {
    // One window closes and another opens before every opening.
    ring[static_cast<size_t>(opening) % ring.size()] =
        MakeWindow(L"Ring " + std::to_wstring(opening + ring.size()));
    const HWND switcher = Open(*swap_, 2);
    ASSERT_NE(switcher, nullptr) << opening;
    ::DestroyWindow(switcher);
    if (opening == 9) {
      icons = CountIcons();
      objects = CountGdiObjects();
    }
  }
  EXPECT_EQ(CountIcons(), icons);
  EXPECT_EQ(CountGdiObjects(), objects);
}

// The cached icons live as long as the library: a load of its own to watch them go.
TEST(SwapUnload, UnloadingTheLibraryReleasesTheIconsItKept) {
  const UniqueFileHandle marker(::CreateFileW(kMarker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  DebugCapture debug;
  std::vector<HICON> icons;
  {
    SwapLibrary swap;
    ASSERT_TRUE(swap.loaded());
    const UniqueWindow host = MakeWindow(L"Unload host");
    swap.Init(host.get());
    const HWND switcher = Open(swap, 2);
    ASSERT_NE(switcher, nullptr);
    icons = debug.ListedIcons();
    ::DestroyWindow(switcher);
    ASSERT_FALSE(icons.empty());
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icons.front(), &info)) << "kept for the next opening";
    const UniqueBitmap colour(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
  }
  ::DeleteFileW(kMarker);
  for (HICON icon : icons) {
    ICONINFO info{};
    EXPECT_FALSE(::GetIconInfo(icon, &info));
  }
}

}  // namespace
}  // namespace norvi::swap
