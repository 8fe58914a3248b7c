// The scroll functions against real windows: window classes with the names the finder knows,
// real scroll-bar controls, and the messages the windows really receive. Input is recorded,
// not injected, so nothing reaches the rest of the display.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <vector>

#include "actions/FindScrollBar.h"
#include "actions/Function.h"
#include "actions/Production_win32.h"
#include "tests/actions/fakes/ActionFakes.h"
#include "base/Handles_win32.h"
#include "tests/support/MessageLog_win32.h"
#include "tests/support/Pump_win32.h"
#include "tests/support/LineRecorder.h"

namespace norvi::testkit {
namespace {

using ::testing::ElementsAre;

const wchar_t* const kProbeClasses[] = {L"OpusApp",
                                        L"_WwG",
                                        L"EXCEL7",
                                        L"XLDESK",
                                        L"Chrome_RenderWidgetHostHWND",
                                        L"paneClassDC",
                                        L"NorviHolder",
                                        L"NorviPlainView",
                                        L"AfxWnd42",
                                        L"Internet Explorer_Server",
                                        L"Progman",
                                        L"SHELLDLL_DefView",
                                        L"SysListView32"};

class RealWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const wchar_t* name : kProbeClasses) RegisterRecordingClass(name);
  }

  // A visible top-level window at the top of the z-order, or a child of parent. Top-level
  // windows are never activated: hiding an active window costs seconds on a bare X server.
  HWND Make(const wchar_t* cls, RECT r, DWORD style = 0, HWND parent = nullptr) {
    const DWORD kind = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP;
    const DWORD ex = parent ? 0 : WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    HWND w =
        ::CreateWindowExW(ex, cls, L"", kind | style, r.left, r.top, r.right - r.left,
                          r.bottom - r.top, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(w, nullptr) << "create " << ::GetLastError();
    if (!parent) {
      ::ShowWindow(w, SW_SHOWNOACTIVATE);
      windows_.emplace_back(w);
    }
    return w;
  }

  // Puts the cursor on a screen point and waits until the system agrees.
  void CursorTo(int x, int y) {
    ::SetCursorPos(x, y);
    ASSERT_TRUE(PumpUntil([&] {
      POINT p{};
      return ::GetCursorPos(&p) && p.x == x && p.y == y;
    }));
  }

  void Perform(int32_t code) {
    actions.Perform(code, u"");
    PumpPending();
  }

  // What the windows received; every case expects its exact sequence.
  const UINT documentRequest_ = ::RegisterWindowMessageW(L"WM_HTML_GETOBJECT");
  MessageLog log_{{WM_HSCROLL, WM_KEYDOWN, WM_KEYUP, documentRequest_}};
  fakes::FakeClock clock;
  fakes::InputRecorder input{clock};
  Win32WindowSystem windows;
  fakes::SystemRecorder system;
  fakes::FakeTimer timer{clock};
  LineRecorder debug;
  SlotTable slots = FactorySlots();
  CFunction actions{slots, {input, windows, system, timer, debug}};

 private:
  std::vector<UniqueWindow> windows_;
};

constexpr int32_t kLeft = 72, kRight = 73;

TEST_F(RealWindows, DocumentViewScrollsThroughItsSiblingBar) {
  HWND frame = Make(L"OpusApp", {100, 100, 700, 500});
  Make(L"_WwG", {0, 0, 600, 380}, 0, frame);
  HWND bar = Make(L"ScrollBar", {0, 380, 600, 397}, SBS_HORZ, frame);
  CursorTo(300, 200);
  Perform(kLeft);
  const auto lp = reinterpret_cast<LPARAM>(bar);
  const Expected posted{WM_HSCROLL, SB_LINELEFT, lp, frame, kPosted};
  EXPECT_TRUE(Matches(log_.Messages(), {posted, posted}, "left over the document view"));
  EXPECT_EQ(debug.Joined(), u"ClassName:_WwG");
}

TEST_F(RealWindows, PaneFindsANearBarAnywhereUnderItsParent) {
  HWND frame = Make(L"OpusApp", {100, 100, 700, 500});
  Make(L"paneClassDC", {0, 0, 600, 300}, 0, frame);
  HWND holder = Make(L"NorviHolder", {0, 300, 600, 340}, 0, frame);
  HWND bar = Make(L"ScrollBar", {0, 0, 620, 17}, SBS_HORZ, holder);  // 20 px too wide: still near
  CursorTo(300, 200);
  Perform(kRight);
  const auto lp = reinterpret_cast<LPARAM>(bar);
  const Expected posted{WM_HSCROLL, SB_LINERIGHT, lp, holder, kPosted};
  EXPECT_TRUE(Matches(log_.Messages(), {posted, posted}, "right over the pane"));
}

TEST_F(RealWindows, UnknownScrollableWindowGetsTheMessagesItself) {
  HWND view = Make(L"NorviPlainView", {100, 100, 500, 400}, WS_HSCROLL);
  CursorTo(200, 200);
  Perform(kLeft);
  Perform(kRight);
  // Left is posted; right is sent, and handled before the call returns.
  const Expected left{WM_HSCROLL, SB_LINELEFT, 0, view, kPosted};
  const Expected right{WM_HSCROLL, SB_LINERIGHT, 0, view, kSent};
  EXPECT_TRUE(Matches(log_.Messages(), {left, left, right, right}, "left, then right"));
}

// The child under the cursor is found in the frame's client coordinates: the frame is away
// from the screen's origin, and read as screen coordinates the cursor would fall on another
// child.
TEST_F(RealWindows, FinderTakesTheChildUnderTheCursorInClientCoordinates) {
  HWND frame = Make(L"NorviHolder", {100, 100, 700, 500});
  Make(L"NorviPlainView", {0, 0, 200, 400}, 0, frame);
  HWND scrollable = Make(L"NorviPlainView", {200, 0, 300, 400}, WS_HSCROLL, frame);
  Make(L"NorviPlainView", {300, 0, 600, 400}, 0, frame);
  CursorTo(350, 150);
  CFindScrollBar finder(windows);
  finder.SetCursorPoint({350, 150});
  EXPECT_EQ(ToHwnd(finder.FindScrollTarget(ToHandle(frame))), scrollable);
}

// A frame window before the view in z-order is searched inside; one after it is not.
TEST_F(RealWindows, FinderSearchesFramesBeforeTheView) {
  HWND parent = Make(L"NorviHolder", {100, 100, 700, 500});
  HWND view = Make(L"NorviPlainView", {0, 100, 600, 400}, 0, parent);
  HWND frame = Make(L"AfxWnd42", {0, 0, 600, 100}, 0, parent);
  HWND grid = Make(L"NorviPlainView", {0, 0, 600, 100}, WS_HSCROLL, frame);
  ::SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_EQ(::GetWindow(view, GW_HWNDPREV), frame);
  CursorTo(150, 300);
  CFindScrollBar finder(windows);
  finder.SetCursorPoint({150, 300});
  EXPECT_EQ(ToHwnd(finder.FindScrollTarget(ToHandle(view))), grid);

  ::SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_EQ(::GetWindow(view, GW_HWNDNEXT), frame);
  EXPECT_EQ(finder.FindScrollTarget(ToHandle(view)), kNoWindow);
}

TEST_F(RealWindows, WindowWithoutAnyScrollingGetsNothing) {
  Make(L"NorviPlainView", {100, 100, 500, 400});
  CursorTo(200, 200);
  Perform(kRight);
  EXPECT_TRUE(Matches(log_.Messages(), {}, "right over a window without scrolling"));
  EXPECT_EQ(debug.Joined(), u"ClassName:NorviPlainViewNo scroll bar found\n");
}

TEST_F(RealWindows, BrowserViewGetsArrowKeys) {
  HWND page = Make(L"Chrome_RenderWidgetHostHWND", {100, 100, 500, 400});
  CursorTo(200, 200);
  Perform(kRight);
  const auto up = static_cast<LPARAM>(0xC14D0001u);
  const Expected down{WM_KEYDOWN, VK_RIGHT, 0x014D0001, page, kPosted};
  const Expected release{WM_KEYUP, VK_RIGHT, up, page, kPosted};
  EXPECT_TRUE(Matches(log_.Messages(), {down, release, down, release}, "right over a browser"));
  EXPECT_THAT(input.events, ElementsAre(PauseFor(100), PauseFor(100)));
}

TEST_F(RealWindows, SpreadsheetClickAimsAtTheBarArrowAndRestoresTheCursor) {
  HWND desk = Make(L"XLDESK", {100, 100, 700, 500});
  Make(L"EXCEL7", {0, 0, 600, 380}, 0, desk);
  HWND bar = Make(L"ScrollBar", {50, 380, 600, 397}, SBS_HORZ, desk);
  RECT r{};
  ::GetWindowRect(bar, &r);
  CursorTo(300, 200);
  Perform(kLeft);
  const bool swapped = ::GetSystemMetrics(SM_SWAPBUTTON) != 0;
  const InputEvent down = MouseWith(swapped ? 0x8008 : 0x8002, r.left + 5, r.top + 5);
  const InputEvent up = MouseWith(swapped ? 0x8010 : 0x8004, r.left + 5, r.top + 5);
  EXPECT_THAT(input.events, ElementsAre(down, PauseFor(100), up, down, PauseFor(100), up));
  POINT p{};
  ::GetCursorPos(&p);
  EXPECT_EQ(p.x, 300);
  EXPECT_EQ(p.y, 200);
}

TEST_F(RealWindows, HtmlViewWithoutDocumentIsAskedAndNotScrolled) {
  HWND html = Make(L"Internet Explorer_Server", {100, 100, 500, 400});
  CursorTo(200, 200);
  Perform(kLeft);
  const Expected ask{documentRequest_, 0, 0, html, kSent};
  EXPECT_TRUE(Matches(log_.Messages(), {ask, ask}, "left over an HTML view"));
}

TEST_F(RealWindows, DesktopIconViewIsNeverScrolled) {
  HWND progman = Make(L"Progman", {100, 100, 500, 400});
  HWND view = Make(L"SHELLDLL_DefView", {0, 0, 400, 300}, 0, progman);
  Make(L"SysListView32", {0, 0, 400, 300}, WS_HSCROLL, view);
  CursorTo(200, 200);
  Perform(kLeft);
  EXPECT_TRUE(Matches(log_.Messages(), {}, "left over the desktop's icons"));
  EXPECT_EQ(debug.Joined(), u"ClassName:SysListView32");
}

TEST_F(RealWindows, HungWindowDoesNotHoldTheMainThreadForever) {
  UniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  UniqueHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  // A scrollable window whose thread stops answering once it is shown.
  std::thread owner([&] {
    UniqueWindow hung(::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"NorviPlainView", L"",
                                        WS_POPUP | WS_HSCROLL, 100, 100, 400, 300, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr));
    ::ShowWindow(hung.get(), SW_SHOWNOACTIVATE);
    ::SetEvent(ready.get());
    ::WaitForSingleObject(release.get(), INFINITE);
    PumpPending();
  });
  ASSERT_EQ(::WaitForSingleObject(ready.get(), 10000), WAIT_OBJECT_0);
  CursorTo(200, 200);
  Perform(kRight);  // returns although the window never answers
  ::SetEvent(release.get());
  owner.join();
  EXPECT_EQ(debug.Joined(), u"ClassName:NorviPlainView");
}

TEST(ProductionSystemCalls, AnswerTheQueriesOfThisSystem) {
  Win32SystemCalls calls;
  EXPECT_EQ(calls.Version().platformId, 2u);  // an NT system, as Wine reports itself
  EXPECT_FALSE(calls.IsWow64());              // 32-bit prefix
  UINT lines = 0;
  EXPECT_NE(calls.ParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0), 0);
  EXPECT_GT(lines, 0u);
}

}  // namespace
}  // namespace norvi::testkit
