// Skinned scroll bars under Wine: what a bar draws, the scroll messages of presses,
// auto-repeat (driven tick by tick) and thumb drags, and the frame around a picker list.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "ResourceIds.h"
#include "TestSupport_win32.h"
#include "tests/support/Pump_win32.h"
#include "controls/ListBoxEx_win32.h"
#include "controls/SkinScrollWnd_win32.h"

namespace norvi {
namespace {

using testkit::PixelOf;
using testkit::PumpPending;
using testkit::SolidBitmap;

constexpr int kCell = 18;
constexpr int kLength = 171;
constexpr ScrollState kThirteenRows{0, 12, 9, 0};  // positions 0..4, thumb 93 pixels

UniqueBitmap LoadSkin() {
  return UniqueBitmap(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                        MAKEINTRESOURCEW(IDB_SCROLLBAR_SKIN),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void SetState(HWND bar, const ScrollState& s) {
  SCROLLINFO info{sizeof(info), SIF_ALL, s.minimum, s.maximum, UINT(s.page), s.position, 0};
  ::SendMessageW(bar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
}

// Stands for the scrolled control: applies each code to its position as a list box would,
// records it, and hands the new state back to the bar (a thumb track only moves the view).
class ScrolledParent : public Window {
 public:
  ScrollState state;
  std::vector<std::pair<int, int>> reports;  // code, position in the high word

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_VSCROLL) return Window::HandleMessage(msg, wp, lp);
    const int code = LOWORD(wp), high = HIWORD(wp);
    reports.emplace_back(code, high);
    int& p = state.position;
    const int steps[] = {-1, 1, -state.page, state.page};
    p = code < 4 ? p + steps[code] : high;
    p = std::max(state.minimum, std::min(p, HighestPosition(state)));
    if (code != kCodeThumbTrack) SetState(reinterpret_cast<HWND>(lp), state);
    return 0;
  }
};

class SkinScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin);
    ASSERT_TRUE(parent.Create(nullptr, RECT{40, 40, 240, 260}, WS_POPUP | WS_VISIBLE));
    ASSERT_TRUE(bar.Create(parent.hwnd(), WS_CHILD | WS_VISIBLE | SBS_VERT, 101, skin.get()));
    Resize(kLength);
    Use(kThirteenRows);
  }
  void Resize(int length) {
    ::SetWindowPos(bar.hwnd(), nullptr, 0, 0, kCell, length, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Use(const ScrollState& s) {
    parent.state = s;
    SetState(bar.hwnd(), s);
  }
  UniqueBitmap Drawn(int length = kLength) {
    UniqueBitmap surface = SolidBitmap(kCell, length, RGB(1, 2, 3));
    UniqueDC dc(::CreateCompatibleDC(nullptr));
    SelectObjectScope select(dc.get(), surface.get());
    bar.Draw(dc.get());
    return surface;
  }
  // True when rows [top, bottom) of the drawing show skin cell (column, row), stretched to
  // that height when needed.
  bool ShowsCell(HBITMAP drawn, int top, int bottom, int column, int row) {
    UniqueBitmap expected = SolidBitmap(kCell, bottom - top, RGB(1, 2, 3));
    {
      UniqueDC dc(::CreateCompatibleDC(nullptr)), skinDc(::CreateCompatibleDC(nullptr));
      SelectObjectScope select(dc.get(), expected.get()), selectSkin(skinDc.get(), skin.get());
      ::SetStretchBltMode(dc.get(), COLORONCOLOR);
      ::StretchBlt(dc.get(), 0, 0, kCell, bottom - top, skinDc.get(), column * kCell, row * kCell,
                   kCell, kCell, SRCCOPY);
    }
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < kCell; ++x)
        if (PixelOf(drawn, x, y) != PixelOf(expected.get(), x, y - top)) return false;
    return true;
  }
  // True when rows [top, bottom) show nothing but the repeated track cell.
  bool ShowsOnlyTrack(HBITMAP drawn, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < kCell; ++x)
        if (PixelOf(drawn, x, y) != PixelOf(skin.get(), 3 * kCell + x, (y - top) % kCell))
          return false;
    return true;
  }
  void Mouse(UINT msg, int y) {
    bar.Send(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, y));
  }
  using Reports = std::vector<std::pair<int, int>>;

  UniqueBitmap skin = LoadSkin();
  ScrolledParent parent;
  CSkinScrollBar bar;
};

TEST_F(SkinScrollBarTest, ShortBarDrawsTwoHalfArrowsAndNoThumb) {
  Resize(30);
  UniqueBitmap drawn = Drawn(30);
  EXPECT_TRUE(ShowsCell(drawn.get(), 0, 15, 0, kRowNormal));
  EXPECT_TRUE(ShowsCell(drawn.get(), 15, 30, 1, kRowNormal));
}

TEST_F(SkinScrollBarTest, PageCoveringTheRangeLeavesOnlyTrackBetweenTheArrows) {
  UniqueBitmap withThumb = Drawn();
  EXPECT_FALSE(ShowsOnlyTrack(withThumb.get(), kCell, kLength - kCell));
  EXPECT_TRUE(ShowsCell(withThumb.get(), 0, kCell, 0, kRowNormal));
  Use({0, 8, 9, 0});
  UniqueBitmap noThumb = Drawn();
  EXPECT_TRUE(ShowsOnlyTrack(noThumb.get(), kCell, kLength - kCell));
  EXPECT_EQ(bar.Layout().Part(kPartPageUp), (BarSpan{18, 85}));
}

TEST_F(SkinScrollBarTest, HeldArrowStepsAtOnceThenOnEachTickUntilTheEnd) {
  Mouse(WM_LBUTTONDOWN, 160);
  EXPECT_EQ(parent.reports, (Reports{{1, 0}}));
  EXPECT_TRUE(ShowsCell(Drawn().get(), 153, 171, 1, kRowPressed));
  Mouse(WM_MOUSEMOVE, 60);  // off the arrow: ticks do nothing, the arrow looks normal
  bar.Send(WM_TIMER, CSkinScrollBar::kDelayTimer);
  EXPECT_TRUE(ShowsCell(Drawn().get(), 153, 171, 1, kRowNormal));
  Mouse(WM_MOUSEMOVE, 165);
  bar.Send(WM_TIMER, CSkinScrollBar::kRepeatTimer);
  for (int i = 0; i < 4; ++i) bar.Send(WM_TIMER, CSkinScrollBar::kRepeatTimer);
  EXPECT_EQ(parent.reports, (Reports{{1, 0}, {1, 0}, {1, 0}, {1, 0}}));
  EXPECT_EQ(bar.State().position, 4);
  Mouse(WM_LBUTTONUP, 165);
  EXPECT_EQ(bar.PressedPart(), kPartNone);
  EXPECT_TRUE(ShowsCell(Drawn().get(), 153, 171, 1, kRowNormal));
}

TEST_F(SkinScrollBarTest, HeldTrackStopsWhenTheThumbReachesThePointer) {
  Use({0, 40, 9, 0});  // thumb 29 pixels; a page moves it 29 or 30
  Mouse(WM_LBUTTONDOWN, 100);
  bar.Send(WM_TIMER, CSkinScrollBar::kDelayTimer);
  bar.Send(WM_TIMER, CSkinScrollBar::kRepeatTimer);
  bar.Send(WM_TIMER, CSkinScrollBar::kRepeatTimer);
  Mouse(WM_LBUTTONUP, 100);
  EXPECT_EQ(parent.reports, (Reports{{3, 0}, {3, 0}}));
  EXPECT_TRUE(bar.Layout().Part(kPartThumb).Contains(100));
}

TEST_F(SkinScrollBarTest, ThumbDragClampsAndReleasesWithOneThumbPosition) {
  Mouse(WM_LBUTTONDOWN, 50);
  ASSERT_TRUE(bar.IsDragging());
  for (int y : {71, -100, 400, 401}) Mouse(WM_MOUSEMOVE, y);
  SCROLLINFO info{sizeof(info), SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
  bar.Send(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.nTrackPos, 4);
  EXPECT_EQ(info.nPos, 0);
  Mouse(WM_LBUTTONUP, 401);
  EXPECT_EQ(parent.reports, (Reports{{5, 2}, {5, 0}, {5, 4}, {4, 4}}));
  EXPECT_EQ(bar.DragPosition(), -1);
  EXPECT_EQ(bar.State().position, 4);
  EXPECT_EQ(bar.Layout().Part(kPartThumb), (BarSpan{60, 153}));
}

// --- the frame around a picker list --------------------------------------------------------

constexpr UINT kListId = 101;
constexpr DWORD kPickerListStyle = 0x50200061;

// A list that notes where it sits when it is destroyed.
class WatchedList : public CListBoxEx {
 public:
  HWND parentAtDestroy = nullptr;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_DESTROY) parentAtDestroy = ::GetParent(hwnd());
    return CListBoxEx::HandleMessage(msg, wp, lp);
  }
};

class SkinScrollFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin);
    ASSERT_TRUE(page.Create(nullptr, RECT{60, 60, 460, 300}, WS_POPUP | WS_VISIBLE));
  }
  CSkinScrollWnd* MakeList(int rows, DWORD extraStyle = 0) {
    EXPECT_TRUE(
        list.Create(page.hwnd(), RECT{10, 20, 382, 191}, kPickerListStyle | extraStyle, kListId));
    list.SetRowHeight(18);
    for (int i = 0; i < rows; ++i) list.AddRow(u"Show the desktop");
    list.Send(LB_SETTOPINDEX, 0);
    CSkinScrollWnd* frame = SkinScrollAttach(list.hwnd(), skin.get());
    PumpPending();
    return frame;
  }
  static RECT RectIn(HWND hwnd, HWND reference) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    ::MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static bool Same(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != 0; }

  UniqueBitmap skin = LoadSkin();
  Window page;
  WatchedList list;
};

TEST_F(SkinScrollFrameTest, ThirteenRowListScrollsWithTheSkinBar) {
  CSkinScrollWnd* frame = MakeList(13);
  ASSERT_NE(frame, nullptr);
  CSkinScrollBar& bar = frame->VerticalBar();
  frame->Send(WM_TIMER, CSkinScrollWnd::kSyncTimer);
  EXPECT_EQ(bar.State(), kThirteenRows);
  EXPECT_TRUE(::IsWindowEnabled(bar.hwnd()));
  EXPECT_EQ(::GetParent(list.hwnd()), frame->Limit());
  EXPECT_TRUE(Same(RectIn(frame->hwnd(), page.hwnd()), RECT{10, 20, 382, 191}));
  EXPECT_TRUE(Same(RectIn(frame->Limit(), frame->hwnd()), RECT{0, 0, 354, 171}));
  EXPECT_TRUE(Same(RectIn(bar.hwnd(), frame->hwnd()), RECT{354, 0, 372, 171}));
  EXPECT_TRUE(::IsWindowVisible(bar.hwnd()));
  EXPECT_FALSE(::IsWindowVisible(frame->HorizontalBar().hwnd()));

  bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 160));
  bar.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 160));
  EXPECT_EQ(list.Send(LB_GETTOPINDEX), 1);
  EXPECT_EQ(bar.State().position, 1);
  // Dragging the thumb far down ends at the last page.
  bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 50));
  bar.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 300));
  bar.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 300));
  EXPECT_EQ(list.Send(LB_GETTOPINDEX), 4);
  EXPECT_EQ(bar.State().position, 4);
  // Scrolling the list itself reaches the bar at the next check.
  list.Send(LB_SETTOPINDEX, 2);
  frame->Send(WM_TIMER, CSkinScrollWnd::kSyncTimer);
  EXPECT_EQ(bar.State().position, 2);
}

TEST_F(SkinScrollFrameTest, ListFollowsTheThumbWhileTheButtonIsStillDown) {
  CSkinScrollWnd* frame = MakeList(13);
  ASSERT_NE(frame, nullptr);
  CSkinScrollBar& bar = frame->VerticalBar();
  frame->Send(WM_TIMER, CSkinScrollWnd::kSyncTimer);
  // 13 rows, 9 to a page: the thumb (93 px) moves over 42 px for 4 positions.
  bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 50));
  bar.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 71));
  EXPECT_EQ(list.Send(LB_GETTOPINDEX), 2);
  bar.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 300));
  EXPECT_EQ(list.Send(LB_GETTOPINDEX), 4);
  // The frame's check while the thumb is held leaves the thumb where the pointer put it.
  frame->Send(WM_TIMER, CSkinScrollWnd::kSyncTimer);
  bar.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 62));
  EXPECT_EQ(list.Send(LB_GETTOPINDEX), 1);
  bar.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 62));
  EXPECT_EQ(list.Send(LB_GETTOPINDEX), 1);
  EXPECT_EQ(bar.State().position, 1);
}

// The picker fills its lists once the frame holds them. The frame has taken the list's
// identifier, so the rows' measuring reaches the frame first; rows 16 pixels high put a click
// meant for the last of eight rows below it.
TEST_F(SkinScrollFrameTest, RowsAddedOnceTheFrameHoldsTheListTakeTheListsRowHeight) {
  CSkinScrollWnd* frame = MakeList(0);
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(::GetDlgItem(page.hwnd(), kListId), frame->hwnd());
  for (int i = 0; i < 13; ++i) list.AddRow(u"Show the desktop");
  for (WPARAM row : {0, 7, 12}) EXPECT_EQ(list.Send(LB_GETITEMHEIGHT, row), 18) << row;
  list.Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
  list.Send(LB_SETTOPINDEX, 0);
  frame->Send(WM_TIMER, CSkinScrollWnd::kSyncTimer);
  EXPECT_EQ(frame->VerticalBar().State(), kThirteenRows);
  list.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 7 * 18 + 9));
  list.Send(WM_LBUTTONUP, 0, MAKELPARAM(100, 7 * 18 + 9));
  EXPECT_EQ(list.Send(LB_GETCURSEL), 7);
}

TEST_F(SkinScrollFrameTest, BarIsDisabledWhileThePageCoversTheRows) {
  CSkinScrollWnd* frame = MakeList(5, LBS_DISABLENOSCROLL);
  ASSERT_NE(frame, nullptr);
  frame->Send(WM_TIMER, CSkinScrollWnd::kSyncTimer);
  EXPECT_FALSE(::IsWindowEnabled(frame->VerticalBar().hwnd()));
  for (int i = 0; i < 8; ++i) list.AddRow(u"Zoom in");
  frame->Send(WM_TIMER, CSkinScrollWnd::kSyncTimer);
  EXPECT_TRUE(::IsWindowEnabled(frame->VerticalBar().hwnd()));
}

TEST_F(SkinScrollFrameTest, DestroyingTheListRestoresItAndRemovesTheFrame) {
  CSkinScrollWnd* frame = MakeList(13);
  ASSERT_NE(frame, nullptr);
  const HWND frameWindow = frame->hwnd();
  list.Destroy();
  EXPECT_EQ(list.parentAtDestroy, page.hwnd());
  EXPECT_FALSE(::IsWindow(frameWindow));
  EXPECT_EQ(::GetDlgItem(page.hwnd(), kListId), nullptr);
}

TEST_F(SkinScrollFrameTest, DestroyingThePageTakesFrameAndListTogether) {
  CSkinScrollWnd* frame = MakeList(13);
  ASSERT_NE(frame, nullptr);
  const HWND frameWindow = frame->hwnd(), listWindow = list.hwnd();
  page.Destroy();
  EXPECT_FALSE(::IsWindow(frameWindow));
  EXPECT_FALSE(::IsWindow(listWindow));
  EXPECT_FALSE(list);
}

}  // namespace
}  // namespace norvi
