// The skinned popup menus: the language menu's layout, hover, press-drag-release and closing,
// its plain frame without a picture, the tray menu's owner-drawn items; screenshots of both
// open menus go to the test output.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport_win32.h"
#include "controls/WndPopup_win32.h"
#include "controls/XPMenu_win32.h"
#include "model/Text.h"
#include "res/ResourceIds.h"
#include "tests/support/MessageLog_win32.h"
#include "tests/support/Picture_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi {
namespace {

constexpr UINT kChoice = WM_USER + 1;  // the language button's notification, as the program
constexpr UINT kConfig = 0x6000;
constexpr UINT kExit = 0x6001;

using testkit::kSent;
using testkit::Matches;

// The popup's owner: feeds what it receives to the test's log, and hands the tray menu's
// measuring and drawing to the menu it tracks.
class Owner : public Window {
 public:
  Owner() { Create(nullptr, {40, 40, 640, 540}, WS_OVERLAPPEDWINDOW | WS_VISIBLE); }
  const CXPMenu* tracked = nullptr;
  std::function<void(HWND menuWindow)> onIdle;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    testkit::MessageLog::Feed(hwnd(), msg, wp, lp);
    LRESULT result = 0;
    if (tracked && tracked->HandleOwnerMessage(msg, wp, lp, result)) return result;
    if (msg == WM_ENTERIDLE && wp == MSGF_MENU && onIdle) onIdle(reinterpret_cast<HWND>(lp));
    return Window::HandleMessage(msg, wp, lp);
  }
};

void SavePng(const RECT& screen, const std::wstring& name) {
  EXPECT_TRUE(testkit::SavePng(testkit::CaptureScreen(screen), name)) << name.c_str();
}

void Mouse(HWND w, UINT msg, int x, int y) {
  ::SendMessageW(w, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

class PopupMenuTest : public ::testing::Test {
 protected:
  // The language menu as the main window opens it: frame picture, then the popup.
  void Open(bool withFrame = true) {
    if (withFrame) {
      ASSERT_TRUE(menu.LoadBackground(IDP_POPUP_FRAME));
    }
    ASSERT_TRUE(menu.CreatePopup(owner.hwnd(), 300, 100, kChoice));
  }
  testkit::MessageLog log{{kChoice}};
  Owner owner;
  CMenuExA menu;
};

TEST_F(PopupMenuTest, LanguageMenuHoldsTheTwelveLanguagesAndIs116By273) {
  Open();
  RECT r{};
  ::GetWindowRect(menu.hwnd(), &r);
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 116);
  EXPECT_EQ(r.bottom - r.top, 273);
  EXPECT_EQ(menu.ClientRect().bottom, 273);  // all client
  const auto& items = menu.Items();
  ASSERT_EQ(items.size(), 12u);
  EXPECT_EQ(items[11].text, u"Trad.Chinese");
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].command, static_cast<int>(i + 1));
    EXPECT_EQ(items[i].iconWidth * 100 + items[i].iconHeight, 1911) << i;  // every flag loaded
  }
  const LONG_PTR ex = ::GetWindowLongPtrW(menu.hwnd(), GWL_EXSTYLE);
  // A layered tool window; the system keeps it topmost and may add its edge style.
  EXPECT_EQ(ex & (WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_APPWINDOW),
            WS_EX_TOOLWINDOW | WS_EX_LAYERED);
  EXPECT_EQ(menu.Style() & (WS_CAPTION | WS_THICKFRAME | WS_POPUP), WS_THICKFRAME | WS_POPUP);
  EXPECT_TRUE(::IsWindowVisible(menu.hwnd()));
}

TEST_F(PopupMenuTest, PressDragOffAndReleaseOutsideChoosesNothingAndClearsTheHighlight) {
  Open();
  Mouse(menu.hwnd(), WM_MOUSEMOVE, 3, 30);  // the left margin
  EXPECT_EQ(menu.HotItem(), -1);
  Mouse(menu.hwnd(), WM_MOUSEMOVE, 50, 30);
  Mouse(menu.hwnd(), WM_LBUTTONDOWN, 50, 30);
  EXPECT_EQ(::GetCapture(), menu.hwnd());
  Mouse(menu.hwnd(), WM_MOUSEMOVE, 50, 60);  // pressed: the highlight stays
  EXPECT_EQ(menu.HotItem(), 1);
  Mouse(menu.hwnd(), WM_MOUSEMOVE, 200, 300);
  Mouse(menu.hwnd(), WM_LBUTTONUP, 200, 300);
  EXPECT_EQ(menu.HotItem(), -1);
  EXPECT_NE(::GetCapture(), menu.hwnd());
  EXPECT_TRUE(Matches(log.Messages(), {}, "released outside"));
  // Released on the hot row, the row's command goes to the owner at once.
  Mouse(menu.hwnd(), WM_MOUSEMOVE, 50, 74);
  Mouse(menu.hwnd(), WM_LBUTTONDOWN, 50, 74);
  Mouse(menu.hwnd(), WM_LBUTTONUP, 50, 75);
  EXPECT_TRUE(Matches(log.Messages(), {{kChoice, 0, 4, owner.hwnd(), kSent}}, "released on row 4"));
}

TEST_F(PopupMenuTest, LosingActivationClosesItAndTheOwnerGets1025WithLParam0) {
  Open();
  ASSERT_TRUE(testkit::PumpUntil([&] { return ::GetActiveWindow() == menu.hwnd(); }));
  ::SetActiveWindow(owner.hwnd());
  ASSERT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(menu.hwnd()) || !menu.hwnd(); }));
  EXPECT_TRUE(Matches(log.Messages(), {{WM_USER + 1, 0, 0, owner.hwnd(), kSent}}, "deactivated"));
}

TEST_F(PopupMenuTest, WithoutItsFramePictureThePopupDrawsAPlainBlueFrameOnWhite) {
  EXPECT_FALSE(menu.LoadBackground(9999));
  Open(false);
  Mouse(menu.hwnd(), WM_MOUSEMOVE, 50, 30);
  const auto surface = menu.Compose();
  ASSERT_TRUE(surface);
  const uint32_t blue = 0x000093D1, white = 0x00FFFFFF, colour = 0x00FFFFFF;
  struct Case {
    int x, y;
    uint32_t rgb;
  };
  for (const Case c : {Case{0, 0, blue}, Case{115, 272, blue}, Case{57, 0, blue}, Case{1, 1, white},
                       Case{114, 271, white}, Case{3, 30, white}, Case{7, 29, blue}}) {
    EXPECT_EQ(surface->Pixel(c.x, c.y) & colour, c.rgb) << c.x << "," << c.y;
  }
  // The hot row is opaque, and no pixel is pure black (the colour key of this frame).
  EXPECT_EQ(surface->Pixel(100, 29) >> 24, 0xFFu);
  for (uint32_t p : surface->Pixels()) ASSERT_NE(p & colour, 0u);
}

TEST_F(PopupMenuTest, ScreenshotOfTheOpenLanguageMenu) {
  Open();
  Mouse(menu.hwnd(), WM_MOUSEMOVE, 50, 52);
  testkit::PumpFor(300);
  RECT r{};
  ::GetWindowRect(menu.hwnd(), &r);
  SavePng(r, L"language-menu.png");
  // The frame picture draws the text layer over it: the hot row shows the highlight.
  const auto surface = menu.Compose();
  EXPECT_EQ(surface->Pixel(100, 52) & 0x00FFFFFF, 0x000093D1u);
}

TEST(XPMenu, ItemsMeasure75By22AndDrawTheirLooks) {
  CXPMenu menu;
  ASSERT_TRUE(menu.AddItem(kConfig, IDI_TRAY_CONFIG, IDI_TRAY_CONFIG, u"Config"));
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA | MIIM_FTYPE;
  ASSERT_TRUE(::GetMenuItemInfoW(menu.handle(), 0, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, kConfig, 0, 0, info.dwItemData};
  LRESULT result = 0;
  ASSERT_TRUE(
      menu.HandleOwnerMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), result));
  EXPECT_EQ(measure.itemWidth, 75u);
  EXPECT_EQ(measure.itemHeight, 22u);
  measure.itemData = 12345;  // not one of its items
  EXPECT_FALSE(
      menu.HandleOwnerMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), result));

  struct Case {
    UINT state;
    int x, y;
    COLORREF colour;
  };
  const COLORREF normal = RGB(219, 216, 209), selected = RGB(177, 185, 207);
  for (const Case c :
       {Case{0, 0, 0, normal}, Case{0, 24, 1, normal}, Case{0, 74, 21, normal},
        Case{ODS_SELECTED, 0, 0, RGB(0, 0, 0)}, Case{ODS_SELECTED, 74, 21, RGB(0, 0, 0)},
        Case{ODS_SELECTED, 1, 1, selected}, Case{ODS_SELECTED, 24, 20, selected}}) {
    UniqueBitmap target = testkit::SolidBitmap(75, 22, RGB(255, 0, 0));
    UniqueDC dc(::CreateCompatibleDC(nullptr));
    SelectObjectScope select(dc.get(), target.get());
    DRAWITEMSTRUCT draw{ODT_MENU, 0,        kConfig,        ODA_DRAWENTIRE, c.state,
                        nullptr,  dc.get(), {0, 0, 75, 22}, info.dwItemData};
    ASSERT_TRUE(menu.HandleOwnerMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), result));
    EXPECT_EQ(::GetPixel(dc.get(), c.x, c.y), c.colour) << c.state << " " << c.x << "," << c.y;
  }
}

// What an item's data and measure say: the text as shown and the item's width.
struct Measured {
  std::u16string text;
  UINT width = 0, height = 0;
};
Measured MeasureItem(const CXPMenu& menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA | MIIM_ID;
  if (!::GetMenuItemInfoW(menu.handle(), position, TRUE, &info)) return {};
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
  LRESULT result = 0;
  menu.HandleOwnerMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), result);
  return {reinterpret_cast<const CXPMenu::ItemData*>(info.dwItemData)->text, measure.itemWidth,
          measure.itemHeight};
}

// Pixels of a text in the tray items' font, Arial 14 weight 500.
int TextWidth(std::u16string_view text) {
  WindowDC screen(nullptr);
  UniqueFont font(::CreateFontW(14, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                                L"Arial"));
  SelectObjectScope select(screen.get(), font.get());
  SIZE size{};
  ::GetTextExtentPoint32W(screen.get(), reinterpret_cast<const wchar_t*>(text.data()),
                          static_cast<int>(text.size()), &size);
  return size.cx;
}

constexpr std::u16string_view kLongProgram =
    u"Northwind Accounting and Inventory Management Suite Professional Edition.exe";

void AddTrayItems(CXPMenu& menu) {
  const std::u16string program(kLongProgram);
  menu.AddItem(kConfig + 2, IDI_TRAY_CONFIG, IDI_TRAY_CONFIG, u"Settings for notepad.exe\u2026",
               {13, 11});
  menu.AddItem(kConfig + 1, IDI_TRAY_CONFIG, IDI_TRAY_CONFIG,
               u"Settings for " + program + u"\u2026", {13, program.size()});
  menu.AddItem(kConfig, IDI_TRAY_CONFIG, IDI_TRAY_CONFIG, u"Config");
  menu.AddItem(kExit, IDI_TRAY_EXIT, IDI_TRAY_EXIT, u"Exit");
}

TEST(XPMenu, ItemsAreAsWideAsTheirTextAndALongProgramNameLosesItsMiddle) {
  CXPMenu menu;
  AddTrayItems(menu);
  // A name that fits shows whole, in an item as wide as it needs.
  const Measured fits = MeasureItem(menu, 0);
  EXPECT_EQ(fits.text, u"Settings for notepad.exe\u2026");
  EXPECT_EQ(fits.width, static_cast<UINT>(25 + 8 + TextWidth(fits.text) + 4));
  EXPECT_GT(fits.width, 75u);
  EXPECT_EQ(fits.height, 22u);
  // A long one keeps both its ends in the widest item.
  const Measured shortened = MeasureItem(menu, 1);
  EXPECT_EQ(shortened.width, 320u);
  EXPECT_TRUE(shortened.text.starts_with(u"Settings for Northwind")) << Utf16ToUtf8(shortened.text);
  EXPECT_TRUE(shortened.text.ends_with(u"Edition.exe\u2026")) << Utf16ToUtf8(shortened.text);
  EXPECT_EQ(std::count(shortened.text.begin(), shortened.text.end(), u'\u2026'), 2);
  const int shown = TextWidth(shortened.text);
  EXPECT_LE(shown, 320 - 25 - 8 - 4);
  EXPECT_GT(shown, 320 - 25 - 8 - 4 - 2 * TextWidth(u"W"));  // no more cut than needed
  // Short items stay the narrowest.
  EXPECT_EQ(MeasureItem(menu, 2).width, 75u);
  EXPECT_EQ(MeasureItem(menu, 3).width, 75u);
}

TEST(XPMenu, ScreenshotOfTheOpenTrayMenu) {
  testkit::MessageLog log{{WM_COMMAND}};
  Owner owner;
  CXPMenu menu;
  menu.AddItem(kConfig, IDI_TRAY_CONFIG, IDI_TRAY_CONFIG, u"Config");
  menu.AddItem(kExit, IDI_TRAY_EXIT, IDI_TRAY_EXIT, u"Exit");
  owner.tracked = &menu;
  RECT shown{};
  int idles = 0;
  // The menu loop reads the key itself; once it has selected the first item, the picture.
  owner.onIdle = [&](HWND menuWindow) {
    if (idles++ == 0) ::PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    const bool selected = ::GetMenuState(menu.handle(), 0, MF_BYPOSITION) & MF_HILITE;
    if (!selected && idles < 50) return;
    EXPECT_TRUE(selected);
    ::GetWindowRect(menuWindow, &shown);
    SavePng(shown, L"tray-menu.png");
    ::EndMenu();
  };
  ::SetForegroundWindow(owner.hwnd());
  menu.Track(owner.hwnd(), {200, 200});
  EXPECT_GE(shown.bottom - shown.top, 44);  // two items of 22
  EXPECT_TRUE(Matches(log.Messages(), {}, "menu ended without a choice"));
}

TEST(XPMenu, ScreenshotOfTheTrayMenuWithProgramItems) {
  Owner owner;
  CXPMenu menu;
  AddTrayItems(menu);
  owner.tracked = &menu;
  RECT shown{};
  owner.onIdle = [&](HWND menuWindow) {
    ::GetWindowRect(menuWindow, &shown);
    SavePng(shown, L"tray-menu-program.png");
    ::EndMenu();
  };
  ::SetForegroundWindow(owner.hwnd());
  menu.Track(owner.hwnd(), {200, 200});
  EXPECT_GE(shown.right - shown.left, 320);
}

}  // namespace
}  // namespace norvi
