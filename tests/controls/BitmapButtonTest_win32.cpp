// CGDIBitmapBtn and CBitmapEdit under Wine: the look chosen for each state, the caption's
// place, the tooltip, hover tracking and the style bits.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "TestSupport_win32.h"
#include "tests/support/Pump_win32.h"
#include "controls/BitmapEdit_win32.h"
#include "controls/GDIBitmapBtn_win32.h"
#include "framework/Window_win32.h"

namespace norvi {
namespace {

using testkit::PixelOf;
using testkit::SolidBitmap;

constexpr COLORREF kNormal = RGB(200, 0, 0), kOver = RGB(0, 200, 0), kDown = RGB(0, 0, 200),
                   kDisabled = RGB(90, 90, 90);
constexpr RECT kButtonRect{40, 30, 106, 62};  // 66 x 32

// A parent window that records the mouse moves its buttons forward.
class Parent : public Window {
 public:
  std::vector<LPARAM> moves;
  std::vector<WORD> notifications;  // of WM_COMMAND

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_MOUSEMOVE) moves.push_back(lp);
    if (msg == WM_COMMAND) notifications.push_back(HIWORD(wp));
    return Window::HandleMessage(msg, wp, lp);
  }
};

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Create(nullptr, RECT{100, 100, 300, 200}, WS_POPUP | WS_VISIBLE));
    ::SetActiveWindow(parent.hwnd());
    ASSERT_TRUE(button.Create(parent.hwnd(), kButtonRect));
    button.SetImages(kButtonRect, normal.get(), over.get(), down.get(), disabled.get());
  }
  // Paints the button as the owner-draw machinery would, for an item state; returns the
  // painted picture.
  UniqueBitmap Paint(UINT itemState) {
    UniqueBitmap surface = SolidBitmap(66, 32, RGB(255, 255, 255));
    UniqueDC dc(::CreateCompatibleDC(nullptr));
    SelectObjectScope select(dc.get(), surface.get());
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.hwndItem = button.hwnd();
    dis.hDC = dc.get();
    dis.itemState = itemState;
    dis.rcItem = RECT{0, 0, 66, 32};
    parent.Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    return surface;
  }
  COLORREF Look(UINT itemState) { return PixelOf(Paint(itemState).get(), 1, 1); }
  void Hover() {
    button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(button.IsHovered());
  }

  UniqueBitmap normal = SolidBitmap(200, 100, kNormal), over = SolidBitmap(200, 100, kOver),
               down = SolidBitmap(200, 100, kDown), disabled = SolidBitmap(200, 100, kDisabled);
  Parent parent;
  CGDIBitmapBtn button;
};

TEST_F(ButtonTest, ChoosesPressedThenHoveredThenDisabledThenNormal) {
  EXPECT_EQ(Look(0), kNormal);
  EXPECT_EQ(Look(ODS_DISABLED), kDisabled);
  EXPECT_EQ(Look(ODS_SELECTED | ODS_DISABLED), kDown);
  Hover();
  EXPECT_EQ(Look(ODS_DISABLED), kOver);  // hovered is tested before disabled
  EXPECT_EQ(Look(ODS_SELECTED), kDown);
  ::ReleaseCapture();
  EXPECT_FALSE(button.IsHovered());
  EXPECT_EQ(Look(0), kNormal);
}

TEST_F(ButtonTest, ToggleModeFollowsTheCheckedStateNotThePress) {
  button.SetToggleMode(1);
  button.SetCheck(1);
  EXPECT_EQ(button.GetCheck(), 1);
  EXPECT_EQ(Look(0), kDown);  // keeps the pressed look with the pointer elsewhere
  Hover();
  EXPECT_EQ(Look(0), kDown);
  button.SetCheck(0);
  EXPECT_EQ(Look(ODS_SELECTED), kOver);  // a press does not show while unchecked
  ::ReleaseCapture();
  EXPECT_EQ(Look(ODS_SELECTED), kNormal);
}

TEST_F(ButtonTest, CaptionIsDrawnCentredInTheComputedRectangle) {
  button.SetCaption(u"OK");
  button.SetTextColours(RGB(255, 255, 0), RGB(255, 255, 255), RGB(0, 0, 0));
  UniqueBitmap painted = Paint(0);
  // Bounding box of the text pixels.
  int left = 66, right = -1, top = 32, bottom = -1;
  bool exactColour = false;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 66; ++x) {
      const COLORREF c = PixelOf(painted.get(), x, y);
      if (c == kNormal) continue;
      exactColour = exactColour || c == RGB(255, 255, 0);
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  ASSERT_GE(right, 0) << "no caption drawn";
  EXPECT_TRUE(exactColour);
  // Measure as the button does.
  UniqueDC dc(::CreateCompatibleDC(nullptr));
  UniqueFont font = CreateShellDlgFont(14, 300);
  SelectObjectScope select(dc.get(), font.get());
  SIZE extent{};
  ::GetTextExtentPoint32W(dc.get(), L"OK", 2, &extent);
  const EdgeRect expected = CaptionRect(66, 32, extent.cy);
  EXPECT_GE(left, expected.left);
  EXPECT_LE(right, expected.right);
  EXPECT_GE(top, expected.top);
  EXPECT_LT(bottom, expected.top + extent.cy);
  // Horizontally centred between left + 8 and right - 5.
  const int centre = (expected.left + expected.right) / 2;
  EXPECT_NEAR((left + right) / 2, centre, 2);
}

// The tip window comes with the pointer's first message to the button, holding the last text
// set; texts set later replace it in the one tool.
TEST_F(ButtonTest, SetTooltipAddsExactlyOneToolOnceThePointerComes) {
  button.SetTooltip(u"first", true);
  button.SetTooltip(u"second", true);
  MSG paint{button.hwnd(), WM_PAINT, 0, 0, 0, {}};
  button.PreTranslateMessage(paint);
  EXPECT_FALSE(button.tooltip());
  MSG move{button.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2), 0, {}};
  button.PreTranslateMessage(move);
  button.SetTooltip(u"third", false);
  ASSERT_TRUE(button.tooltip());
  EXPECT_EQ(button.tooltip().ToolCount(), 1);
  TTTOOLINFOW ti{};
  wchar_t text[80]{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = button.hwnd();
  ti.uId = 1;
  ti.lpszText = text;
  ::SendMessageW(button.tooltip().hwnd(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, L"third");
}

TEST_F(ButtonTest, SetImagesAndSubclassingDropTabStopAndBorder) {
  CGDIBitmapBtn other;
  ASSERT_TRUE(other.CreateControl(L"BUTTON", parent.hwnd(), RECT{0, 0, 10, 10},
                                  CGDIBitmapBtn::kStyle | WS_TABSTOP | WS_BORDER));
  EXPECT_EQ(other.Style() & WS_TABSTOP, 0u);  // dropped when subclassed
  other.ModifyStyle(0, WS_TABSTOP | WS_BORDER);
  other.SetImages(RECT{0, 0, 10, 10}, normal.get(), over.get(), down.get(), disabled.get());
  EXPECT_EQ(other.Style() & (WS_TABSTOP | WS_BORDER), 0u);
  EXPECT_EQ(other.Style() & CGDIBitmapBtn::kStyle, CGDIBitmapBtn::kStyle);
}

TEST_F(ButtonTest, MouseMovesAreForwardedInParentCoordinatesAndLeavingClearsHover) {
  // Put the real pointer over the button so that the system's own moves agree.
  POINT centre{33, 16};
  ::ClientToScreen(button.hwnd(), &centre);
  ::SetCursorPos(centre.x, centre.y);
  button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
  EXPECT_TRUE(button.IsHovered());
  EXPECT_EQ(::GetCapture(), button.hwnd());
  // A move to a point where another window (the parent) lies under the pointer.
  button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(150, 60));
  EXPECT_FALSE(button.IsHovered());
  EXPECT_NE(::GetCapture(), button.hwnd());
  auto forwarded = [&](LPARAM lp) {
    return std::find(parent.moves.begin(), parent.moves.end(), lp) != parent.moves.end();
  };
  EXPECT_TRUE(testkit::PumpUntil([&] { return forwarded(MAKELPARAM(190, 90)); }));
  EXPECT_TRUE(forwarded(MAKELPARAM(45, 36)));
}

TEST_F(ButtonTest, PressingAHoveredButtonKeepsItsCaptureAndPushedState) {
  POINT centre{33, 16};
  ::ClientToScreen(button.hwnd(), &centre);
  ::SetCursorPos(centre.x, centre.y);
  Hover();
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  EXPECT_EQ(::GetCapture(), button.hwnd());
  EXPECT_NE(button.Send(BM_GETSTATE) & BST_PUSHED, 0);
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  EXPECT_NE(::GetCapture(), button.hwnd());
  EXPECT_FALSE(button.IsHovered());
}

TEST_F(ButtonTest, QuickSecondClickIsAClickOnlyForButtonsThatCountRepeatedClicks) {
  const auto clickTwice = [this] {
    parent.notifications.clear();
    for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
      button.Send(press, MK_LBUTTON, MAKELPARAM(3, 3));
      button.Send(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }
    ::ReleaseCapture();
    return parent.notifications;
  };
  EXPECT_EQ(clickTwice(), (std::vector<WORD>{BN_CLICKED, BN_DOUBLECLICKED}));
  button.SetRepeatClicks(true);
  EXPECT_EQ(clickTwice(), (std::vector<WORD>{BN_CLICKED, BN_CLICKED}));
}

TEST_F(ButtonTest, HeldLeftButtonDoesNotStartHovering) {
  button.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 6));
  EXPECT_FALSE(button.IsHovered());
  EXPECT_NE(::GetCapture(), button.hwnd());
}

TEST(BitmapEdit, LimitsTextDropsStylesAndPaintsWithTheCutOutBackground) {
  testkit::PumpUntil([] { return true; });  // messages earlier tests left behind
  Window parent;
  ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 300, 200}, WS_POPUP));
  CBitmapEdit edit;
  ASSERT_TRUE(edit.Create(
      parent.hwnd(), RECT{10, 10, 33, 27},
      WS_CHILD | WS_VISIBLE | ES_NUMBER | ES_AUTOHSCROLL | ES_CENTER | WS_BORDER | WS_TABSTOP,
      0xA03));
  EXPECT_EQ(edit.Send(EM_GETLIMITTEXT), 256);
  EXPECT_EQ(edit.Style() & (WS_BORDER | WS_TABSTOP), 0u);
  EXPECT_EQ(edit.Minimum(), 0);
  EXPECT_EQ(edit.Maximum(), 10);
  edit.SetRange(1, 30);
  EXPECT_EQ(edit.Maximum(), 30);

  Gdiplus::Bitmap background(100, 60, PixelFormat24bppRGB);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x) background.SetPixel(x, y, Gdiplus::Color(255, 10, 20, x));
  edit.SetBackground(background, 10, 10, 23, 17);
  ASSERT_NE(edit.BackgroundBrush(), nullptr);
  WindowDC dc(edit.hwnd());
  EXPECT_EQ(parent.Send(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                        reinterpret_cast<LPARAM>(edit.hwnd())),
            reinterpret_cast<LRESULT>(edit.BackgroundBrush()));
  EXPECT_EQ(::GetTextColor(dc.get()), RGB(88, 95, 103));
  EXPECT_EQ(::GetBkMode(dc.get()), TRANSPARENT);
  // The brush paints the cut-out: its first column is x = 10 of the background.
  UniqueBitmap painted = SolidBitmap(23, 17, RGB(255, 255, 255));
  {
    UniqueDC paintDc(::CreateCompatibleDC(nullptr));
    SelectObjectScope select(paintDc.get(), painted.get());
    RECT all{0, 0, 23, 17};
    ::FillRect(paintDc.get(), &all, edit.BackgroundBrush());
  }
  EXPECT_EQ(PixelOf(painted.get(), 0, 0), RGB(10, 20, 10));
  EXPECT_EQ(PixelOf(painted.get(), 22, 16), RGB(10, 20, 32));
}

}  // namespace
}  // namespace norvi
