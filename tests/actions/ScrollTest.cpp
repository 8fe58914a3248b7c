#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ActionsTestSupport.h"
#include "actions/FindScrollBar.h"
#include "model/Text.h"

namespace norvi::testkit {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Msg = fakes::PostedMessage;

constexpr uint32_t kHScroll = 0x00100000;
constexpr uint32_t kVertBar = 0x0001;
constexpr uint32_t kLeftCode = 72, kRightCode = 73;
// Key-up parameters as a 32-bit LPARAM carries them.
constexpr intptr_t kLeftUp = static_cast<intptr_t>(0xC14B0001u);
constexpr intptr_t kRightUp = static_cast<intptr_t>(0xC14D0001u);

class Scroll : public ::testing::Test {
 protected:
  WindowHandle Add(const char16_t* cls, ScreenRect r, uint32_t style = 0,
                   WindowHandle parent = kNoWindow) {
    return rig.windows.Add(cls, r, style, parent);
  }
  void Point(WindowHandle w, ScreenPoint cursor) {
    rig.windows.pointed = w;
    rig.windows.cursor = cursor;
  }
  WindowHandle Find(WindowHandle w) {
    CFindScrollBar finder(rig.windows);
    finder.SetCursorPoint(rig.windows.cursor);
    return finder.FindScrollTarget(w);
  }
  ActionRig rig;
};

TEST_F(Scroll, DesktopIconViewAndDesktopAreLeftAloneSilently) {
  const WindowHandle progman = Add(u"Progman", {0, 0, 1280, 1024});
  const WindowHandle view = Add(u"SHELLDLL_DefView", {0, 0, 1280, 1024}, 0, progman);
  const WindowHandle icons = Add(u"SysListView32", {0, 0, 1280, 1024}, kHScroll, view);
  Point(icons, {50, 50});
  rig.Perform(kLeftCode);
  EXPECT_EQ(rig.debug.Joined(), u"ClassName:SysListView32");
  EXPECT_EQ(Find(icons), kNoWindow);

  Point(rig.windows.desktop, {50, 50});
  rig.Perform(kRightCode);
  EXPECT_EQ(rig.debug.Joined(), u"ClassName:SysListView32ClassName:#32769");
  EXPECT_THAT(rig.windows.messages, IsEmpty());
  EXPECT_THAT(rig.input.events, IsEmpty());
  // The desktop is the root: it has no siblings to search.
  CFindScrollBar finder(rig.windows);
  EXPECT_EQ(finder.SearchSiblings(rig.windows.desktop), kNoWindow);

  // A list view elsewhere is an ordinary scrollable window.
  const WindowHandle list = Add(u"SysListView32", {0, 0, 100, 100}, kHScroll);
  EXPECT_EQ(Find(list), list);
}

TEST_F(Scroll, BrowsersGetTwoArrowKeyPairsPostedAHundredMillisecondsApart) {
  const WindowHandle page = Add(u"Chrome_RenderWidgetHostHWND", {0, 0, 500, 500}, kHScroll);
  Point(page, {10, 10});
  rig.Perform(kLeftCode);
  EXPECT_THAT(rig.windows.messages, ElementsAre(Msg{false, page, 0x0100, 0x25, 0x014B0001, 0},
                                                Msg{false, page, 0x0101, 0x25, kLeftUp, 100},
                                                Msg{false, page, 0x0100, 0x25, 0x014B0001, 100},
                                                Msg{false, page, 0x0101, 0x25, kLeftUp, 200}));
  rig.windows.messages.clear();
  rig.Perform(kRightCode);
  EXPECT_THAT(rig.windows.messages, ElementsAre(Msg{false, page, 0x0100, 0x27, 0x014D0001, 200},
                                                Msg{false, page, 0x0101, 0x27, kRightUp, 300},
                                                Msg{false, page, 0x0100, 0x27, 0x014D0001, 300},
                                                Msg{false, page, 0x0101, 0x27, kRightUp, 400}));
  EXPECT_EQ(rig.debug.Joined(),
            u"ClassName:Chrome_RenderWidgetHostHWNDClassName:"
            u"Chrome_RenderWidgetHostHWND");
}

class Spreadsheet : public Scroll {
 protected:
  void SetUp() override {
    const WindowHandle desk = Add(u"XLDESK", {0, 0, 800, 620});
    sheet = Add(u"EXCEL7", {0, 0, 800, 600}, 0, desk);
    bar = Add(u"ScrollBar", {100, 600, 800, 617}, 0, desk);
    Point(sheet, {300, 300});
  }
  std::vector<InputEvent> Clicks(uint32_t down, uint32_t up, ScreenPoint q) {
    const InputEvent d{InputKind::Mouse, 0, down, q.x, q.y, 0, false};
    const InputEvent u{InputKind::Mouse, 0, up, q.x, q.y, 0, false};
    return {d, Wait(100), u, d, Wait(100), u};
  }
  WindowHandle sheet = kNoWindow, bar = kNoWindow;
};

TEST_F(Spreadsheet, ClicksTheArrowTwiceAndPutsTheCursorBack) {
  rig.Perform(kLeftCode);
  EXPECT_EQ(rig.input.events, Clicks(0x8002, 0x8004, {105, 605}));
  EXPECT_THAT(rig.windows.cursorMoves, ElementsAre(ScreenPoint{105, 605}, ScreenPoint{300, 300}));
  EXPECT_THAT(rig.windows.messages, IsEmpty());
}

TEST_F(Spreadsheet, RightArrowWithTheSecondaryButtonWhenSwapped) {
  rig.windows.buttonsSwapped = true;
  rig.Perform(kRightCode);
  EXPECT_EQ(rig.input.events, Clicks(0x8008, 0x8010, {795, 605}));
  EXPECT_THAT(rig.windows.cursorMoves, ElementsAre(ScreenPoint{795, 605}, ScreenPoint{300, 300}));
}

TEST_F(Scroll, DocumentViewScrollsThroughTheFollowingHorizontalBar) {
  const WindowHandle frame = Add(u"OpusApp", {0, 0, 800, 600});
  const WindowHandle doc = Add(u"_WwG", {0, 0, 800, 580}, 0, frame);
  Add(u"ScrollBar", {780, 0, 797, 580}, kVertBar, frame);  // vertical: never a target
  const WindowHandle bar = Add(u"ScrollBar", {0, 580, 780, 597}, 0, frame);
  Point(doc, {100, 100});
  rig.Perform(kLeftCode);
  rig.Perform(kRightCode);
  const auto target = static_cast<intptr_t>(bar);
  EXPECT_THAT(rig.windows.messages, ElementsAre(Msg{false, frame, 0x0114, 0, target, 0},
                                                Msg{false, frame, 0x0114, 0, target, 0},
                                                Msg{false, frame, 0x0114, 1, target, 0},
                                                Msg{false, frame, 0x0114, 1, target, 0}));
}

// Every class of the strategy table, spelt exactly, over the same view with a horizontal bar
// beside it; near misses fall to the generic strategy.
TEST_F(Scroll, EachClassOfTheTableChoosesItsStrategy) {
  enum Kind { BarMessage, ArrowClick, ArrowKeys, Generic };
  const struct {
    const char16_t* cls;
    Kind kind;
  } table[] = {
      {u"_WwG", BarMessage},
      {u"paneClassDC", BarMessage},
      {u"VISIOG", BarMessage},
      {u"PSViewC", BarMessage},
      {u"EditControl", BarMessage},
      {u"FrontPageEditorDocumentView", BarMessage},
      {u"EXCEL7", ArrowClick},
      {u"AVL_AVView", BarMessage},
      {u"OGrid", BarMessage},
      {u"OFormSub", BarMessage},
      {u"OPrtPrevPage", BarMessage},
      {u"MozillaWindowClass", ArrowKeys},
      {u"Chrome_RenderWidgetHostHWND", ArrowKeys},
      {u"OperaWindowClass", ArrowKeys},
      {u"_wwg", Generic},
      {u"EXCEL", Generic},
      {u"OperaWindowClass ", Generic},
  };
  for (const auto& row : table) {
    ActionRig fresh;
    const WindowHandle frame = fresh.windows.Add(u"Frame", {0, 0, 800, 600});
    const WindowHandle view = fresh.windows.Add(row.cls, {0, 0, 800, 580}, 0, frame);
    const WindowHandle bar = fresh.windows.Add(u"ScrollBar", {0, 580, 800, 597}, 0, frame);
    fresh.windows.pointed = view;
    fresh.windows.cursor = {100, 100};
    fresh.Perform(kLeftCode);
    const auto& m = fresh.windows.messages;
    const std::string name = Utf16ToUtf8(row.cls);
    switch (row.kind) {
      case BarMessage:
        EXPECT_THAT(m, ElementsAre(Msg{false, frame, 0x0114, 0, static_cast<intptr_t>(bar), 0},
                                   Msg{false, frame, 0x0114, 0, static_cast<intptr_t>(bar), 0}))
            << name;
        break;
      case ArrowClick:
        EXPECT_THAT(m, IsEmpty()) << name;
        EXPECT_EQ(fresh.input.events.size(), 6u) << name;
        break;
      case ArrowKeys:
        ASSERT_EQ(m.size(), 4u) << name;
        EXPECT_EQ(m[0], (Msg{false, view, 0x0100, 0x25, 0x014B0001, 0})) << name;
        break;
      case Generic:
        EXPECT_THAT(
            m, ElementsAre(Msg{false, view, 0x0114, 0, 0, 0}, Msg{false, view, 0x0114, 0, 0, 0}))
            << name;
        break;
    }
  }
}

TEST_F(Scroll, UnknownScrollableWindowGetsPostedLeftAndSentRight) {
  const WindowHandle plain = Add(u"Notepad", {0, 0, 300, 300}, kHScroll);
  Point(plain, {10, 10});
  rig.Perform(kLeftCode);
  rig.Perform(kRightCode);
  EXPECT_THAT(rig.windows.messages,
              ElementsAre(Msg{false, plain, 0x0114, 0, 0, 0}, Msg{false, plain, 0x0114, 0, 0, 0},
                          Msg{true, plain, 0x0114, 1, 0, 0}, Msg{true, plain, 0x0114, 1, 0, 0}));
}

TEST_F(Scroll, NoTargetWritesTheNoticeAndSendsNothing) {
  const WindowHandle parent = Add(u"Frame", {0, 0, 300, 300});
  const WindowHandle view = Add(u"View", {0, 0, 300, 280}, 0, parent);
  Add(u"ScrollBar", {280, 0, 297, 280}, kVertBar, parent);
  Point(view, {10, 10});
  rig.Perform(kLeftCode);
  EXPECT_EQ(rig.debug.Joined(), u"ClassName:ViewNo scroll bar found\n");
  EXPECT_THAT(rig.windows.messages, IsEmpty());
  EXPECT_THAT(rig.input.events, IsEmpty());

  rig.debug.Clear();
  Point(kNoWindow, {10, 10});
  rig.Perform(kRightCode);
  EXPECT_EQ(rig.debug.Joined(), u"ClassName:No scroll bar found\n");
}

TEST_F(Scroll, ScrollBarControlCountsOnlyWhileTheCursorIsLeftOfItsRightEdge) {
  const WindowHandle horizontal = Add(u"ScrollBar", {0, 0, 200, 17});
  const WindowHandle nui = Add(u"NUIScrollbar", {0, 0, 200, 17});
  const WindowHandle vertical = Add(u"ScrollBar", {0, 0, 17, 200}, kHScroll);
  const WindowHandle square = Add(u"ScrollBar", {0, 0, 17, 17});
  const WindowHandle html = Add(u"Internet Explorer_Server", {0, 0, 1, 1});
  CFindScrollBar finder(rig.windows);
  finder.SetCursorPoint({199, 500});
  EXPECT_TRUE(finder.HasHorizontalScroll(horizontal));
  EXPECT_TRUE(finder.HasHorizontalScroll(nui));
  EXPECT_TRUE(finder.HasHorizontalScroll(html));
  EXPECT_FALSE(finder.HasHorizontalScroll(square));
  finder.SetCursorPoint({0, 0});
  EXPECT_FALSE(finder.HasHorizontalScroll(vertical));
  finder.SetCursorPoint({200, 5});
  EXPECT_FALSE(finder.HasHorizontalScroll(horizontal));
  EXPECT_FALSE(finder.HasHorizontalScroll(kNoWindow));
}

class PaneEnumeration : public Scroll {
 protected:
  // The bar sits inside another child of the pane's parent: only the enumeration finds it.
  // Each call builds a tree of its own beside the earlier ones.
  WindowHandle FindWithBar(ScreenRect barRect, const char16_t* paneClass = u"paneClassDC") {
    const WindowHandle parent = Add(u"Frame", {0, 0, 800, 800});
    const WindowHandle pane = Add(paneClass, {100, 100, 500, 400}, 0, parent);
    const WindowHandle holder = Add(u"Static", {0, 400, 800, 450}, 0, parent);
    bar = Add(u"ScrollBar", barRect, 0, holder);
    Point(pane, {300, 200});
    return Find(pane);
  }
  WindowHandle bar = kNoWindow;
};

TEST_F(PaneEnumeration, AcceptsBarsThatStickOutByTwentyFivePixelsAtMost) {
  EXPECT_EQ(FindWithBar({75, 400, 500, 417}), bar);
  EXPECT_EQ(FindWithBar({74, 400, 500, 417}), kNoWindow);
  EXPECT_EQ(FindWithBar({100, 400, 525, 417}), bar);
  EXPECT_EQ(FindWithBar({100, 400, 526, 417}), kNoWindow);
  EXPECT_EQ(FindWithBar({100, 400, 117, 800}), kNoWindow);  // vertical
  EXPECT_EQ(FindWithBar({75, 400, 525, 417}, u"VISIOG"), bar);
  EXPECT_EQ(FindWithBar({75, 400, 525, 417}, u"VISIO"), kNoWindow);
  rig.windows.enumerationFails = true;
  EXPECT_EQ(Find(rig.windows.pointed), kNoWindow);
}

TEST_F(Scroll, DirectUiViewSearchesItsFirstTwoChildren) {
  const WindowHandle view = Add(u"DirectUIHWND", {0, 0, 400, 400});
  const WindowHandle first = Add(u"CtrlNotifySink", {0, 0, 400, 10}, 0, view);
  const WindowHandle second = Add(u"CtrlNotifySink", {0, 390, 400, 400}, 0, view);
  Point(view, {200, 200});
  EXPECT_EQ(Find(view), kNoWindow);
  Add(u"Static", {0, 0, 1, 1}, 0, first);
  const WindowHandle bar = Add(u"ScrollBar", {0, 390, 380, 400}, 0, second);
  EXPECT_EQ(Find(view), bar);
}

// The order of the finder's steps: each tree holds two candidates, and the step that the
// search reaches first decides. `view` is the window under the cursor.
TEST_F(Scroll, FinderStepsComeInTheirOrder) {
  constexpr uint32_t kSizeBox = 0x0008;
  struct Tree {
    WindowHandle pointed = kNoWindow;
    WindowHandle expected = kNoWindow;
    ScreenPoint cursor{10, 10};
  };
  const struct {
    const char* name;
    Tree (*build)(fakes::FakeWindowTree&);
  } cases[] = {
      {"a scrollable child beats a horizontal sibling bar",
       [](fakes::FakeWindowTree& t) {
         const WindowHandle frame = t.Add(u"Frame", {0, 0, 800, 600});
         const WindowHandle view = t.Add(u"View", {0, 0, 800, 580}, 0, frame);
         const WindowHandle child = t.Add(u"Pane", {500, 0, 800, 580}, kHScroll, view);
         t.Add(u"ScrollBar", {0, 580, 800, 597}, 0, frame);
         return Tree{view, child};
       }},
      {"the first child beats a horizontal bar beside it",
       [](fakes::FakeWindowTree& t) {
         const WindowHandle view = t.Add(u"View", {0, 0, 800, 600});
         const WindowHandle child = t.Add(u"Pane", {500, 0, 800, 580}, kHScroll, view);
         t.Add(u"ScrollBar", {0, 580, 800, 597}, 0, view);
         return Tree{view, child};
       }},
      {"a scrollable Mozilla view still yields its parent",
       [](fakes::FakeWindowTree& t) {
         const WindowHandle outer = t.Add(u"MozillaWindowClass", {0, 0, 400, 400});
         t.Add(u"MozillaWindowClass", {0, 0, 400, 400}, kHScroll, outer);
         return Tree{outer, outer};
       }},
      {"a horizontal NUIScrollbar before the view",
       [](fakes::FakeWindowTree& t) {
         const WindowHandle frame = t.Add(u"Frame", {0, 0, 800, 600});
         const WindowHandle bar = t.Add(u"NUIScrollbar", {0, 580, 800, 597}, 0, frame);
         const WindowHandle view = t.Add(u"View", {0, 0, 800, 580}, 0, frame);
         return Tree{view, bar};
       }},
      {"a vertical bar under the cursor searches no further",
       [](fakes::FakeWindowTree& t) {
         const WindowHandle frame = t.Add(u"Frame", {0, 0, 800, 600});
         const WindowHandle vertical = t.Add(u"ScrollBar", {0, 0, 17, 580}, kVertBar, frame);
         t.Add(u"ScrollBar", {0, 580, 800, 597}, 0, frame);
         return Tree{vertical, kNoWindow};
       }},
      {"a size box inside the frame is no bar",
       [](fakes::FakeWindowTree& t) {
         const WindowHandle frame = t.Add(u"Frame", {0, 0, 800, 800});
         const WindowHandle view = t.Add(u"AVL_AVView", {0, 0, 800, 780}, 0, frame);
         const WindowHandle holder = t.Add(u"AVL_AVScrollBar", {0, 780, 800, 800}, 0, frame);
         t.Add(u"ScrollBar", {0, 780, 800, 800}, kSizeBox, holder);
         return Tree{view, kNoWindow};
       }},
      {"the child under the cursor is taken",
       [](fakes::FakeWindowTree& t) {
         const WindowHandle outer = t.Add(u"Outer", {0, 0, 400, 400});
         t.Add(u"Inner", {0, 0, 200, 400}, 0, outer);
         const WindowHandle right = t.Add(u"Inner", {200, 0, 400, 400}, kHScroll, outer);
         return Tree{outer, right, {300, 10}};
       }},
      {"and only the child under the cursor",
       [](fakes::FakeWindowTree& t) {
         const WindowHandle outer = t.Add(u"Outer", {0, 0, 400, 400});
         t.Add(u"Inner", {0, 0, 200, 400}, 0, outer);
         t.Add(u"Inner", {200, 0, 400, 400}, kHScroll, outer);
         return Tree{outer, kNoWindow};
       }},
  };
  for (const auto& c : cases) {
    ActionRig fresh;
    const Tree tree = c.build(fresh.windows);
    fresh.windows.cursor = tree.cursor;
    CFindScrollBar finder(fresh.windows);
    finder.SetCursorPoint(fresh.windows.cursor);
    EXPECT_EQ(finder.FindScrollTarget(tree.pointed), tree.expected) << c.name;
  }
}

TEST_F(Scroll, AcrobatFrameHoldsItsHorizontalBar) {
  const WindowHandle parent = Add(u"AVL_AVView", {0, 0, 800, 800});
  const WindowHandle view = Add(u"AVL_AVView", {0, 0, 800, 780}, 0, parent);
  const WindowHandle frame = Add(u"AVL_AVScrollBar", {0, 780, 800, 800}, 0, parent);
  Add(u"ScrollBar", {0, 780, 800, 800}, kVertBar, frame);
  Point(view, {10, 10});
  EXPECT_EQ(Find(view), kNoWindow);  // its bar is vertical

  const WindowHandle p2 = Add(u"AVL_AVView", {0, 0, 800, 800});
  const WindowHandle v2 = Add(u"AVL_AVView", {0, 0, 800, 780}, 0, p2);
  const WindowHandle f2 = Add(u"AVL_AVScrollBar", {0, 780, 800, 800}, 0, p2);
  const WindowHandle b2 = Add(u"ScrollBar", {0, 780, 800, 800}, 0, f2);
  Point(v2, {10, 10});
  EXPECT_EQ(Find(v2), b2);
}

TEST_F(Scroll, FrameWindowsBeforeTheViewAreSearchedInside) {
  const WindowHandle parent = Add(u"Frame", {0, 0, 800, 800});
  const WindowHandle frame70 = Add(u"AfxWnd70", {0, 0, 800, 100}, 0, parent);
  const WindowHandle grid = Add(u"Grid", {0, 0, 800, 100}, kHScroll, frame70);
  const WindowHandle view = Add(u"View", {0, 100, 800, 800}, 0, parent);
  Point(view, {10, 200});
  EXPECT_EQ(Find(view), grid);

  const WindowHandle parent2 = Add(u"Frame", {0, 0, 800, 800});
  const WindowHandle frame42 = Add(u"AfxWnd42", {0, 0, 800, 100}, 0, parent2);
  Add(u"Grid", {0, 0, 800, 80}, 0, frame42);
  const WindowHandle bar = Add(u"ScrollBar", {0, 80, 800, 100}, 0, frame42);
  const WindowHandle view2 = Add(u"View", {0, 100, 800, 800}, 0, parent2);
  Point(view2, {10, 200});
  EXPECT_EQ(Find(view2), bar);
}

TEST_F(Scroll, HtmlViewScrollsItsDocumentAndFallsBackToMessages) {
  const WindowHandle html = Add(u"Internet Explorer_Server", {0, 0, 400, 400});
  Point(html, {10, 10});
  rig.Perform(kLeftCode);
  EXPECT_THAT(rig.windows.htmlScrolls, ElementsAre(std::pair{html, -10}, std::pair{html, -10}));
  EXPECT_THAT(rig.windows.messages, IsEmpty());

  rig.windows.htmlResult = HtmlScrollResult::ScrollByFailed;
  rig.Perform(kRightCode);
  EXPECT_THAT(rig.windows.messages,
              ElementsAre(Msg{true, html, 0x0114, 1, 0, 0}, Msg{true, html, 0x0114, 1, 0, 0}));

  rig.windows.messages.clear();
  rig.windows.htmlResult = HtmlScrollResult::NoDocument;
  rig.actions.BrowserDocumentScroll(3, true);
  EXPECT_THAT(rig.windows.messages, IsEmpty());
  rig.windows.htmlResult = HtmlScrollResult::ScrollByFailed;
  rig.actions.BrowserDocumentScroll(0, true);
  EXPECT_THAT(rig.windows.messages, IsEmpty());
}

}  // namespace
}  // namespace norvi::testkit
