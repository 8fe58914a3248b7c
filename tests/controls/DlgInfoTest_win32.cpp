// The message box in both forms: results of its buttons and of closing, the keys it swallows,
// its window text, title and pictures; a screenshot of each form goes to the test output.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "TestSupport_win32.h"
#include "controls/DlgInfo_win32.h"
#include "tests/support/DialogInput_win32.h"
#include "tests/support/DrivenDialog_win32.h"
#include "tests/support/Picture_win32.h"

namespace norvi {
namespace {

class FakeStrings : public IStringLookup {
 public:
  std::u16string_view Text(std::string_view key) const override {
    if (key == "str_ok") return u"OK";
    if (key == "str_cancel") return u"Cancel";
    return {};
  }
};

using testkit::PostClick;
// A message box that, once shown, runs a test step inside its own modal loop.
using DrivenInfo = testkit::Driven<CDlgInfo>;

RECT ChildRect(HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The dialog's client area as it is painted now.
testkit::Picture Capture(HWND hwnd) {
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  return testkit::CaptureWindow(hwnd);
}

// Pixels of the text colour inside a rectangle of the picture.
int TextPixels(const testkit::Picture& shot, RECT r) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) count += shot.At(x, y) == RGB(83, 97, 103);
  return count;
}

class InfoTest : public ::testing::Test {
 protected:
  INT_PTR Run(bool twoButtons, std::function<void(DrivenInfo&)> step, bool chinese = false) {
    InfoSettings settings{strings, chinese};
    DrivenInfo dialog({std::move(step)}, settings);
    dialog.SetMessage(u"The receiver is not plugged in.");
    dialog.SetTwoButtons(twoButtons);
    return dialog.Run();
  }
  FakeStrings strings;
};

TEST_F(InfoTest, TwoButtonFormReturnsOkForOkAndCancelForCancelCloseAndClosing) {
  EXPECT_EQ(Run(true, [](DrivenInfo& d) { PostClick(d.OkButton().hwnd()); }), IDOK);
  EXPECT_EQ(Run(true, [](DrivenInfo& d) { PostClick(d.CancelButton().hwnd()); }), IDCANCEL);
  EXPECT_EQ(Run(true, [](DrivenInfo& d) { PostClick(d.CloseButton().hwnd()); }), IDCANCEL);
  EXPECT_EQ(Run(true, [](DrivenInfo& d) { ::PostMessageW(d.hwnd(), WM_CLOSE, 0, 0); }), IDCANCEL);
}

TEST_F(InfoTest, OneButtonFormHasOkAndCloseOnly) {
  EXPECT_EQ(Run(false,
                [](DrivenInfo& d) {
                  EXPECT_FALSE(d.CancelButton());
                  PostClick(d.OkButton().hwnd());
                }),
            IDOK);
  EXPECT_EQ(Run(false, [](DrivenInfo& d) { PostClick(d.CloseButton().hwnd()); }), IDCANCEL);
}

TEST_F(InfoTest, EnterEscapeAndSpaceAreSwallowedButClicksStillWork) {
  // The keys arrive first; were any of them acted on, the box would end before the click.
  EXPECT_EQ(
      Run(true,
          [](DrivenInfo& d) {
            ::SetFocus(d.CancelButton().hwnd());
            testkit::PostSwallowedKeys({d.hwnd(), d.OkButton().hwnd(), d.CancelButton().hwnd()});
            PostClick(d.OkButton().hwnd());
          }),
      IDOK);
  EXPECT_EQ(Run(false,
                [](DrivenInfo& d) {
                  testkit::PostSwallowedKeys({d.OkButton().hwnd()});
                  PostClick(d.CloseButton().hwnd());
                }),
            IDCANCEL);
}

TEST_F(InfoTest, LaysOutBothFormsAndWritesTheirScreenshots) {
  for (bool twoButtons : {true, false}) {
    Run(twoButtons, [twoButtons](DrivenInfo& d) {
      wchar_t text[64]{};
      ::GetWindowTextW(d.hwnd(), text, 64);
      EXPECT_STREQ(text, L"ZarqoPelkoInfoDlg");
      RECT client{};
      ::GetClientRect(d.hwnd(), &client);
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
      const testkit::Picture shot = Capture(d.hwnd());
      EXPECT_TRUE(testkit::SavePng(
          shot, twoButtons ? L"message_box_ok_cancel.png" : L"message_box_ok.png"));
      // The title and the message are drawn in the text colour inside their rectangles.
      EXPECT_GT(TextPixels(shot, {10, 9, 100, 23}), 0);
      EXPECT_GT(TextPixels(shot, {90, 73, 305, 91}), 0);
      // Centred on the full-screen area.
      RECT placed{};
      ::GetWindowRect(d.hwnd(), &placed);
      EXPECT_EQ(placed.left, (::GetSystemMetrics(SM_CXFULLSCREEN) - 330) / 2);
      EXPECT_EQ(placed.top, (::GetSystemMetrics(SM_CYFULLSCREEN) - 160) / 2);
      PostClick(d.CloseButton().hwnd());
    });
  }
}

// Finds the shown box by its window text and presses its OK button.
void CALLBACK PressOkOfShownBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = ::FindWindowW(nullptr, L"ZarqoPelkoInfoDlg");
  if (!box) return;
  ::KillTimer(nullptr, id);
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (ChildRect(child).left == 183) PostClick(child);  // OK of the two-button form
}

TEST_F(InfoTest, ChineseInterfaceTitlesTheBoxInChinese) {
  auto titlePixels = [this](bool chinese) {
    int count = 0;
    Run(
        false,
        [&count, chinese](DrivenInfo& d) {
          const testkit::Picture shot = Capture(d.hwnd());
          if (chinese) testkit::SavePng(shot, L"message_box_ok_chinese.png");
          count = TextPixels(shot, {10, 9, 100, 23});
          PostClick(d.CloseButton().hwnd());
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
