// The message box in both forms: results of its buttons and of closing, the keys it swallows,
// its window text, title and pictures; a screenshot of each form goes to the test output.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "TestSupport_win32.h"
#include "controls/DlgInfo_win32.h"

namespace norvi {
namespace {

constexpr UINT kDrive = WM_APP + 10;

class FakeStrings : public IStringLookup {
 public:
  std::u16string_view Text(std::string_view key) const override {
    if (key == "str_ok") return u"OK";
    if (key == "str_cancel") return u"Cancel";
    return {};
  }
};

// A message box that, once shown, runs a test step inside its own modal loop.
class DrivenInfo : public CDlgInfo {
 public:
  using CDlgInfo::CDlgInfo;
  std::function<void(DrivenInfo&)> step;
  HWND Handle() const { return hwnd(); }

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = CDlgInfo::OnInitDialog();
    Post(kDrive);
    return result;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kDrive && step) {
      step(*this);
      return 0;
    }
    return CDlgInfo::HandleMessage(msg, wp, lp);
  }
};

void Click(HWND button) {
  ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

void PostKey(HWND target, WPARAM key) {
  ::PostMessageW(target, WM_KEYDOWN, key, 0);
  ::PostMessageW(target, WM_KEYUP, key, 0xC0000000);
}

RECT ChildRect(HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Copies the dialog's client area as it is painted now.
UniqueBitmap Capture(HWND hwnd) {
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT client{};
  ::GetClientRect(hwnd, &client);
  WindowDC source(hwnd);
  UniqueBitmap shot(::CreateCompatibleBitmap(source.get(), client.right, client.bottom));
  UniqueDC dc(::CreateCompatibleDC(source.get()));
  SelectObjectScope select(dc.get(), shot.get());
  ::BitBlt(dc.get(), 0, 0, client.right, client.bottom, source.get(), 0, 0, SRCCOPY);
  return shot;
}

class InfoTest : public ::testing::Test {
 protected:
  INT_PTR Run(bool twoButtons, std::function<void(DrivenInfo&)> step, bool chinese = false) {
    InfoSettings settings{strings, chinese};
    DrivenInfo dialog(settings);
    dialog.SetMessage(u"The receiver is not plugged in.");
    dialog.SetTwoButtons(twoButtons);
    dialog.step = std::move(step);
    return dialog.Run();
  }
  FakeStrings strings;
};

TEST_F(InfoTest, TwoButtonFormReturnsOkForOkAndCancelForCancelCloseAndClosing) {
  EXPECT_EQ(Run(true, [](DrivenInfo& d) { Click(d.OkButton().hwnd()); }), IDOK);
  EXPECT_EQ(Run(true, [](DrivenInfo& d) { Click(d.CancelButton().hwnd()); }), IDCANCEL);
  EXPECT_EQ(Run(true, [](DrivenInfo& d) { Click(d.CloseButton().hwnd()); }), IDCANCEL);
  EXPECT_EQ(Run(true, [](DrivenInfo& d) { ::PostMessageW(d.Handle(), WM_CLOSE, 0, 0); }), IDCANCEL);
}

TEST_F(InfoTest, OneButtonFormHasOkAndCloseOnly) {
  EXPECT_EQ(Run(false,
                [](DrivenInfo& d) {
                  EXPECT_FALSE(d.CancelButton());
                  EXPECT_EQ(ChildRect(d.OkButton().hwnd()).left, 240);
                  Click(d.OkButton().hwnd());
                }),
            IDOK);
  EXPECT_EQ(Run(false, [](DrivenInfo& d) { Click(d.CloseButton().hwnd()); }), IDCANCEL);
}

TEST_F(InfoTest, EnterEscapeAndSpaceAreSwallowedButClicksStillWork) {
  // The keys arrive first; were any of them acted on, the box would end before the click.
  EXPECT_EQ(Run(true,
                [](DrivenInfo& d) {
                  for (HWND target : {d.Handle(), d.OkButton().hwnd(), d.CancelButton().hwnd()})
                    for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_SPACE}) PostKey(target, key);
                  ::SetFocus(d.CancelButton().hwnd());
                  Click(d.OkButton().hwnd());
                }),
            IDOK);
  // The same keys do not stop other messages: a Cancel click right after them still counts.
  EXPECT_EQ(Run(false,
                [](DrivenInfo& d) {
                  PostKey(d.OkButton().hwnd(), VK_SPACE);
                  Click(d.CloseButton().hwnd());
                }),
            IDCANCEL);
}

TEST_F(InfoTest, LaysOutBothFormsAndWritesTheirScreenshots) {
  for (bool twoButtons : {true, false}) {
    Run(twoButtons, [twoButtons](DrivenInfo& d) {
      wchar_t text[64]{};
      ::GetWindowTextW(d.Handle(), text, 64);
      EXPECT_STREQ(text, L"ZarqoPelkoInfoDlg");
      RECT client{};
      ::GetClientRect(d.Handle(), &client);
      EXPECT_EQ(client.right, 330);
      EXPECT_EQ(client.bottom, 160);
      const RECT close = ChildRect(d.CloseButton().hwnd());
      EXPECT_EQ(close.left, 300);
      EXPECT_EQ(close.right, 329);
      const RECT ok = ChildRect(d.OkButton().hwnd());
      EXPECT_EQ(ok.left, twoButtons ? 183 : 240);
      EXPECT_EQ(ok.top, 127);
      EXPECT_EQ(ok.bottom, 159);
      EXPECT_EQ(d.OkButton().Caption(), u"OK");
      if (twoButtons) {
        EXPECT_EQ(ChildRect(d.CancelButton().hwnd()).left, 249);
        EXPECT_EQ(d.CancelButton().Caption(), u"Cancel");
      }
      UniqueBitmap shot = Capture(d.Handle());
      const std::wstring name = twoButtons ? L"message_box_ok_cancel.bmp" : L"message_box_ok.bmp";
      EXPECT_TRUE(testing::SaveBitmap(shot.get(), testing::OutputFolder() + name));
      // The title is drawn in the text colour inside its rectangle.
      bool titleDrawn = false;
      for (int y = 9; y < 23 && !titleDrawn; ++y)
        for (int x = 10; x < 100 && !titleDrawn; ++x)
          titleDrawn = testing::PixelOf(shot.get(), x, y) == RGB(83, 97, 103);
      EXPECT_TRUE(titleDrawn);
      Click(d.CloseButton().hwnd());
    });
  }
}

// Finds the shown box by its window text and presses its OK button.
void CALLBACK PressOkOfShownBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = ::FindWindowW(nullptr, L"ZarqoPelkoInfoDlg");
  if (!box) return;
  ::KillTimer(nullptr, id);
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (ChildRect(child).left == 183) Click(child);  // OK of the two-button form
}

TEST_F(InfoTest, ChineseInterfaceTitlesTheBoxInChinese) {
  auto titlePixels = [this](bool chinese) {
    int count = 0;
    Run(
        false,
        [&count, chinese](DrivenInfo& d) {
          UniqueBitmap shot = Capture(d.Handle());
          if (chinese)
            testing::SaveBitmap(shot.get(),
                                testing::OutputFolder() + L"message_box_ok_chinese.bmp");
          for (int y = 9; y < 23; ++y)
            for (int x = 10; x < 100; ++x)
              count += testing::PixelOf(shot.get(), x, y) == RGB(83, 97, 103);
          Click(d.CloseButton().hwnd());
        },
        chinese);
    return count;
  };
  // Two ideographs and the four Latin letters of "Tips" do not cover the same pixels.
  EXPECT_NE(titlePixels(true), titlePixels(false));
}

TEST_F(InfoTest, ShowInfoRunsTheBoxModallyAndReturnsItsResult) {
  ::SetTimer(nullptr, 0, 10, &PressOkOfShownBox);
  EXPECT_EQ(ShowInfo(InfoSettings{strings}, u"Restore the default settings?", true), IDOK);
}

}  // namespace
}  // namespace norvi
