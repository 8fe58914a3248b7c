// CListBoxEx under Wine: defaults and row height, the selection message only for the user's
// changes, the colour request and how each row is drawn.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "TestSupport_win32.h"
#include "tests/support/Pump_win32.h"
#include "controls/ListBoxEx_win32.h"

namespace norvi {
namespace {

constexpr UINT kListId = 101;
constexpr COLORREF kBackground = RGB(252, 252, 252), kSelection = RGB(47, 204, 233),
                   kText = RGB(83, 92, 107), kSelectedText = RGB(255, 255, 255),
                   kUntouched = RGB(1, 2, 3);

class Parent : public Window {
 public:
  std::vector<std::pair<WPARAM, LPARAM>> selections;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == CListBoxEx::kSelectionChanged) selections.emplace_back(wp, lp);
    return Window::HandleMessage(msg, wp, lp);
  }
};

class ListBoxExTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Create(nullptr, RECT{50, 50, 450, 300}, WS_POPUP | WS_VISIBLE));
    ASSERT_TRUE(list.Create(parent.hwnd(), RECT{0, 0, 372, 171}, 0x50200061, kListId));
  }
  Parent parent;
  CListBoxEx list;
};

TEST_F(ListBoxExTest, RowsTakeTheStoredHeightAndOnlyTheUsersChangesAreReported) {
  EXPECT_EQ(list.SelectionColour(), ::GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(list.TextColour(), ::GetSysColor(COLOR_WINDOWTEXT));
  ASSERT_EQ(list.AddRow(u"cut"), 0);
  EXPECT_EQ(list.Send(LB_GETITEMHEIGHT, 0), 20);
  list.SetRowHeight(18);
  list.AddRow(u"copy");
  list.AddRow(u"paste");
  EXPECT_EQ(list.Send(LB_GETITEMHEIGHT, 2), 18);
  testkit::PumpPending();
  EXPECT_EQ(list.Send(LB_GETCURSEL), 2);
  EXPECT_TRUE(parent.selections.empty());  // the program's own selection

  list.Send(WM_KEYDOWN, VK_UP, 0);
  testkit::PumpPending();
  EXPECT_EQ(parent.selections, (std::vector<std::pair<WPARAM, LPARAM>>{{kListId, 1}}));
}

TEST_F(ListBoxExTest, DisabledListGetsOneKeptBrushOfTheInactiveBorder) {
  list.SetColours(kBackground, kSelection);
  auto request = [&] {
    return parent.Send(WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(list.hwnd()));
  };
  EXPECT_EQ(request(), reinterpret_cast<LRESULT>(list.BackgroundBrush()));
  ::EnableWindow(list.hwnd(), FALSE);
  const LRESULT disabled = request();
  LOGBRUSH lb{};
  ASSERT_TRUE(::GetObjectW(reinterpret_cast<HBRUSH>(disabled), sizeof(lb), &lb));
  EXPECT_EQ(lb.lbColor, ::GetSysColor(COLOR_INACTIVEBORDER));
  EXPECT_EQ(request(), disabled);
}

TEST_F(ListBoxExTest, DrawsEachRowFromItsActionAndState) {
  list.SetColours(kBackground, kSelection);
  list.SetTextColours(kText, kSelectedText);
  list.AddRow(u"Lock the computer");
  const struct {
    UINT itemId, action, state;
    COLORREF fill, text;  // fill kUntouched: nothing filled; text 0: no text
  } cases[] = {
      {0, ODA_DRAWENTIRE, ODS_SELECTED | ODS_FOCUS, kSelection, kSelectedText},
      {0, ODA_DRAWENTIRE, 0, kUntouched, kText},
      {0, ODA_SELECT, 0, kBackground, kText},
      {0, ODA_FOCUS, ODS_SELECTED, kSelection, kSelectedText},
      {0, ODA_SELECT, ODS_DISABLED, kBackground, ::GetSysColor(COLOR_BTNSHADOW)},
      {static_cast<UINT>(-1), ODA_SELECT, ODS_SELECTED, kSelection, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "action " << c.action << " state " << c.state);
    UniqueBitmap row = testkit::SolidBitmap(200, 18, kUntouched);
    {
      UniqueDC dc(::CreateCompatibleDC(nullptr));
      SelectObjectScope select(dc.get(), row.get());
      DRAWITEMSTRUCT dis{
          ODT_LISTBOX,         kListId, c.itemId, c.action, c.state, list.hwnd(), dc.get(),
          RECT{0, 0, 200, 18}, 0};
      parent.Send(WM_DRAWITEM, kListId, reinterpret_cast<LPARAM>(&dis));
    }
    EXPECT_EQ(testkit::PixelOf(row.get(), 4, 9), c.fill);  // left of the 5-pixel indent
    // A row without text shows only its fill.
    const COLORREF counted = c.text ? c.text : c.fill;
    int matching = 0;
    for (int x = 5; x < 100; ++x)
      for (int y = 2; y < 16; ++y) matching += testkit::PixelOf(row.get(), x, y) == counted;
    if (c.text)
      EXPECT_GT(matching, 0);
    else
      EXPECT_EQ(matching, 95 * 14);
  }
}

}  // namespace
}  // namespace norvi
