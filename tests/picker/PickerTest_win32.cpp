// The function picker under Wine, driven from inside its own modal loop: what OK, default,
// disable and the tabs answer, the advanced page's browse flows through a stand-in for the
// system's dialogs, the swallowed keys, quick repeated clicks, and a screenshot of each page.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "controls/DlgInfo_win32.h"
#include "controls/ImageHelpers_win32.h"
#include "base/WideText.h"
#include "localisation/StringTable.h"
#include "model/Text.h"
#include "picker/SettingDlg_win32.h"
#include "tests/actions/ActionsTestSupport.h"
#include "tests/support/DialogInput_win32.h"
#include "tests/support/DrivenDialog_win32.h"
#include "tests/support/Picture_win32.h"

namespace norvi {
namespace {

namespace fs = std::filesystem;

fs::path BuildRoot() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path().parent_path().parent_path();  // <build>\tests\picker
}

fs::path FromEnvironment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  std::wstring path = value && *value ? value : L".";
  if (path[0] == L'/') path = L"Z:" + path;  // Wine passes Unix paths; Z: is the Unix root
  return fs::path(path);
}

// Answers the advanced page's questions as the test says and remembers what was asked.
class ScriptedChooser : public IPathChooser {
 public:
  bool ChooseFile(const PathRequest& request, std::u16string& path) override {
    fileRequests.push_back(request);
    return Answer(path);
  }
  bool ChooseFolder(std::u16string& path) override {
    ++folderRequests;
    return Answer(path);
  }
  std::vector<std::u16string> answers;  // empty answer: the user cancels
  std::vector<PathRequest> fileRequests;
  int folderRequests = 0;

 private:
  bool Answer(std::u16string& path) {
    if (answers.empty()) return false;
    const std::u16string next = answers.front();
    answers.erase(answers.begin());
    if (next.empty()) return false;
    path = next;
    return true;
  }
};

// A picker that runs the test's steps one after another inside its modal loop.
using DrivenPicker = testkit::Driven<CSettingDlg>;

void Click(const Window& button) {
  testkit::PostClick(button.hwnd());
}
void SecondClick(const Window& button) {
  testkit::PostSecondClick(button.hwnd());
}

bool Shown(const Window& w) {
  return (w.Style() & WS_VISIBLE) != 0;
}

// Which pages are shown and which tabs marked, as "10000" strings in category order.
std::string ShownPages(const CSettingDlg& d) {
  std::string s;
  for (int c = 1; c <= kCategoryCount; ++c) s += Shown(d.Page(c)) ? '1' : '0';
  return s;
}
std::string MarkedTabs(const CSettingDlg& d) {
  std::string s;
  for (int c = 1; c <= kCategoryCount; ++c) s += d.Button(TabOf(c)).GetCheck() ? '1' : '0';
  return s;
}

// Which list row each list page selects, in category order ("-" for none), e.g. "- 10 - -".
std::string SelectedRows(const CSettingDlg& d) {
  std::string s;
  for (int c = kCategoryBase; c <= kCategoryMouse; ++c) {
    const LRESULT row = d.ListPage(c).List().Send(LB_GETCURSEL);
    if (c > kCategoryBase) s += ' ';
    s += row < 0 ? std::string("-") : std::to_string(row);
  }
  return s;
}
// The advanced page's checked rows, the four path rows and then "Keys...".
std::string CheckedChoices(const CSettingDlg& d) {
  std::string s;
  for (int row = 0; row < kAdvancedRowCount; ++row)
    s += d.AdvancedPage().Choice(row).GetCheck() ? '1' : '0';
  s += d.AdvancedPage().KeysRow().Choice().GetCheck() ? '1' : '0';
  return s;
}

// The message box the picker shows over itself, or nullptr.
CDlgInfo* OpenMessageBox(HWND picker) {
  struct Search {
    HWND owner;
    CDlgInfo* box = nullptr;
  } search{picker};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(lp);
        if (::GetWindow(w, GW_OWNER) != s.owner || !::IsWindowVisible(w)) return TRUE;
        s.box = dynamic_cast<CDlgInfo*>(Window::FromHandle(w));
        return s.box == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.box;
}

void SavePng(HWND window, const std::wstring& name) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_TRUE(testkit::SavePng(testkit::CaptureWindow(window), name)) << name;
}

class PickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path language = FromEnvironment(L"NORVI_SOURCE_DIR") / L"Language" / L"en.xml";
    ASSERT_GT(strings.LoadLanguageStrings(U16(language.wstring())), 0);
  }
  // Runs a picker for `slot` through the steps; returns its result.
  INT_PTR Run(std::vector<DrivenPicker::Step> steps, int slot = SlotForward) {
    DrivenPicker picker(std::move(steps), nullptr, context, slots);
    picker.SetSlotIndex(slot);
    picker.SetCurrentFunction(FunctionName(slots[slot].FunID, strings));
    const INT_PTR result = picker.Run();
    code = picker.ResultCode();
    path = picker.ResultPath();
    stepsRun = picker.StepsRun();
    return result;
  }

  GdiplusSession gdiplus;
  StringTable strings;
  ScriptedChooser chooser;
  PickerContext context{strings, U16((BuildRoot() / L"dist").wstring()), chooser};
  SlotTable slots = FactorySlots();
  int32_t code = -1;
  std::u16string path;
  size_t stepsRun = 0;
};

using P = DrivenPicker;
using B = PickerButton;

TEST_F(PickerTest, OpensOnThePendingFunctionWithItChosenAndOkAtOnceKeepsIt) {
  struct Case {
    int slot;
    int32_t pending;
    std::u16string path;
    std::string pages, rows, choices;
    int disabled;
  };
  const Case cases[] = {
      {SlotForward, 68, u"", "00010", "- - - 3", "00000", 0},  // its own button, the mouse page
      {SlotMiddle, 43, u"", "01000", "- 10 - -", "00000", 0},  // zoom out, below the first page
      {SlotBack, 56, u"", "00100", "- - 7 -", "00000", 0},     // mute
      {SlotTiltLeft, 81, u"C:\\Windows\\Media\\chimes.wav", "00001", "- - - -", "10000", 0},
      {SlotTiltRight, 84, u"D:\\Music", "00001", "- - - -", "00010", 0},
      {SlotWheelUp, 85, u"keys:1:ctrl+shift+T", "00001", "- - - -", "00001", 0},
      {SlotRight, 96, u"", "00000", "- - - -", "00000", 1},  // disabled
  };
  for (const Case& c : cases) {
    slots[c.slot].TempID = c.pending;
    SetPath(slots[c.slot], c.path);
    EXPECT_EQ(
        Run({[&c](P& d) {
              EXPECT_EQ(ShownPages(d), c.pages);
              EXPECT_EQ(MarkedTabs(d), c.pages);
              EXPECT_EQ(SelectedRows(d), c.rows);
              EXPECT_EQ(CheckedChoices(d), c.choices);
              EXPECT_EQ(d.Button(B::Disable).GetCheck(), c.disabled);
              for (int row = 0; row < kAdvancedRowCount; ++row)
                EXPECT_EQ(d.AdvancedPage().PathField(row).Caption(),
                          c.choices[row] == '1' ? c.path : u"");
              if (c.pending == 85) {
                // The keyboard's own names: "Ctrl" or "Control" for the first.
                EXPECT_TRUE(d.AdvancedPage().KeysRow().Field().Text().ends_with(u" + Shift + T"));
              }
              for (int category = kCategoryBase; category <= kCategoryMouse; ++category) {
                const CListBoxEx& list = d.ListPage(category).List();
                const LRESULT row = list.Send(LB_GETCURSEL), top = list.Send(LB_GETTOPINDEX);
                // The chosen row is in sight: nine rows show at a time.
                if (row >= 0) {
                  EXPECT_TRUE(row >= top && row < top + 9) << row << " " << top;
                } else {
                  EXPECT_EQ(top, 0);
                }
              }
              Click(d.Button(B::Ok));
            }},
            c.slot),
        IDOK)
        << c.pending;
    EXPECT_EQ(code, c.pending);
    EXPECT_EQ(path, c.path) << c.pending;
  }
}

TEST_F(PickerTest, OkWithNothingChosenClosesAsCancelled) {
  // A code no page offers (a damaged profile) opens the basic page with nothing chosen.
  slots[SlotForward].TempID = 0;
  EXPECT_EQ(Run({[](P& d) {
              EXPECT_EQ(ShownPages(d), "10000");
              EXPECT_EQ(SelectedRows(d), "- - - -");
              Click(d.Button(B::Ok));
            }}),
            IDCANCEL);
  EXPECT_EQ(code, 0);
  // Another page than the pending function's has no row chosen.
  slots[SlotForward].TempID = 68;
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabMedia)); },
                 [](P& d) {
                   EXPECT_EQ(SelectedRows(d), "- - - 3");
                   Click(d.Button(B::Ok));
                 }}),
            IDCANCEL);
  EXPECT_EQ(code, 0);
}

// The program ending while the picker is open closes it from outside: cancelled, whatever
// row was chosen, and nothing runs after it.
TEST_F(PickerTest, ClosedFromOutsideItAnswersCancelWhateverWasChosen) {
  EXPECT_EQ(Run({[](P& d) {
                   d.ListPage(kCategoryMouse).List().Send(LB_SETCURSEL, 1);
                   ::PostMessageW(d.hwnd(), WM_CLOSE, 0, 0);
                 },
                 [](P& d) { Click(d.Button(B::Ok)); }}),
            IDCANCEL);
  EXPECT_EQ(stepsRun, 1u);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(path, u"");
  slots[SlotTiltLeft].TempID = 81;
  SetPath(slots[SlotTiltLeft], u"C:\\Windows\\Media\\chimes.wav");
  EXPECT_EQ(Run({[](P& d) { ::PostMessageW(d.hwnd(), WM_CLOSE, 0, 0); }}, SlotTiltLeft), IDCANCEL);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(path, u"");
}

TEST_F(PickerTest, ScreenshotOfThePickerOpenedOnASlotsFunction) {
  slots[SlotWheelDown].TempID = slots[SlotWheelDown].FunID = 43;  // zoom out, applied
  Run({[](P& d) { SavePng(d.hwnd(), L"picker-opened-on-current.png"); },
       [](P& d) { Click(d.Button(B::Close)); }},
      SlotWheelDown);
  EXPECT_EQ(stepsRun, 2u);
}

TEST_F(PickerTest, DisableHidesEveryPageWhateverTabAndOkAnswersDisabled) {
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::Disable)); },
                 [](P& d) {
                   EXPECT_EQ(ShownPages(d), "00000");
                   Click(d.Button(B::TabMedia));
                 },
                 [](P& d) {
                   EXPECT_EQ(ShownPages(d), "00000");
                   EXPECT_EQ(MarkedTabs(d), "00000");
                   Click(d.Button(B::Ok));
                 }}),
            IDOK);
  EXPECT_EQ(code, 96);
  // Unchecking it again brings back the basic page, not the last tab.
  Run({[](P& d) { Click(d.Button(B::TabMouse)); }, [](P& d) { Click(d.Button(B::Disable)); },
       [](P& d) { Click(d.Button(B::Disable)); },
       [](P& d) {
         EXPECT_EQ(ShownPages(d), "10000");
         Click(d.Button(B::Close));
       }});
}

TEST_F(PickerTest, DefaultAnswersTheSlotsNativeCodeEvenWhenItIsTheCurrentOne) {
  slots[SlotRight].FunID = 2;
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::Default)); }}, SlotRight), IDOK);
  EXPECT_EQ(code, 66);
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::Default)); }}, SlotTiltLeft), IDOK);
  EXPECT_EQ(code, slots[SlotTiltLeft].InitID);
}

TEST_F(PickerTest, EachTabShowsItsOwnPageAndTheMousePagesSecondRowIsTheMiddleButton) {
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabWindows)); },
                 [](P& d) {
                   EXPECT_EQ(ShownPages(d), "01000");
                   EXPECT_EQ(MarkedTabs(d), "01000");
                   // Thirteen rows of 18 pixels overflow the list: it scrolls, inside the
                   // frame of its skinned bars; the eight basic rows fit.
                   const CListBoxEx& windows = d.ListPage(kCategoryWindows).List();
                   EXPECT_EQ(windows.Send(LB_GETCOUNT), 13);
                   EXPECT_TRUE(dynamic_cast<CSkinScrollWnd*>(
                       Window::FromHandle(::GetParent(::GetParent(windows.hwnd())))));
                   for (int c : {kCategoryWindows, kCategoryBase}) {
                     const CListBoxEx& list = d.ListPage(c).List();
                     list.Send(WM_VSCROLL, SB_PAGEDOWN);
                     EXPECT_EQ(list.Send(LB_GETTOPINDEX) > 0, c == kCategoryWindows) << c;
                   }
                   Click(d.Button(B::TabMouse));
                 },
                 [](P& d) {
                   EXPECT_EQ(ShownPages(d), "00010");
                   d.ListPage(kCategoryMouse).List().Send(LB_SETCURSEL, 1);
                   Click(d.Button(B::Ok));
                 }}),
            IDOK);
  EXPECT_EQ(code, 67);
}

// A user's clicks on a picker opened on another page: the basic tab, then the middle of its
// last row as drawn, then OK. Every row is as high as the layout says, also on the pages filled
// after their scroll frames took the lists' identifier.
TEST_F(PickerTest, ClickOnTheBasicPagesLastRowAfterItsTabChoosesThatRow) {
  EXPECT_EQ(Run({[](P& d) {
                   EXPECT_EQ(ShownPages(d), "00010");  // forward's own button
                   Click(d.Button(B::TabBase));
                 },
                 [](P& d) {
                   EXPECT_EQ(ShownPages(d), "10000");
                   for (int c = kCategoryBase; c <= kCategoryMouse; ++c) {
                     const CListBoxEx& list = d.ListPage(c).List();
                     LRESULT otherHeights = 0;
                     for (LRESULT row = 0; row < list.Send(LB_GETCOUNT); ++row)
                       otherHeights +=
                           list.Send(LB_GETITEMHEIGHT, static_cast<WPARAM>(row)) != kListRowHeight;
                     EXPECT_EQ(otherHeights, 0) << c;
                   }
                   testkit::PostClick(d.ListPage(kCategoryBase).List().hwnd(),
                                      {100, 7 * kListRowHeight + kListRowHeight / 2});
                 },
                 [](P& d) {
                   EXPECT_EQ(SelectedRows(d), "7 - - 3");
                   Click(d.Button(B::Ok));
                 }}),
            IDOK);
  EXPECT_EQ(code, 8);  // save
}

TEST_F(PickerTest, AdvancedPageWithNoRowCheckedCancels) {
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabAdvance)); },
                 [](P& d) {
                   EXPECT_EQ(ShownPages(d), "00001");
                   Click(d.Button(B::Ok));
                 }}),
            IDCANCEL);
  EXPECT_EQ(code, 0);
}

TEST_F(PickerTest, CancelledBrowseLeavesItsRowCheckedAndOkSaysThePathIsMissing) {
  chooser.answers = {u"", u"D:\\Letters\\july.txt"};
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabAdvance)); },
                 [](P& d) { Click(d.AdvancedPage().BrowseButton(2)); },
                 [](P& d) {
                   EXPECT_EQ(d.AdvancedPage().Choice(2).GetCheck(), 1);
                   Click(d.Button(B::Ok));
                 },
                 [this](P& d) {
                   // The picker stays open under a box that says what is missing.
                   CDlgInfo* box = OpenMessageBox(d.hwnd());
                   ASSERT_NE(box, nullptr);
                   EXPECT_EQ(box->Message(), strings.Text("str_msg_no_path"));
                   EXPECT_EQ(box->Message(), u"No path chosen. Choose one with \"Browse...\".");
                   SavePng(box->hwnd(), L"picker-path-missing.png");
                   Click(box->OkButton());
                 },
                 [](P& d) {
                   EXPECT_EQ(OpenMessageBox(d.hwnd()), nullptr);
                   EXPECT_TRUE(::IsWindowVisible(d.hwnd()));
                   EXPECT_EQ(d.AdvancedPage().Choice(2).GetCheck(), 1);
                   Click(d.AdvancedPage().BrowseButton(2));
                 },
                 [](P& d) { Click(d.Button(B::Ok)); }}),
            IDOK);
  EXPECT_EQ(stepsRun, 6u);
  EXPECT_EQ(code, 83);
  EXPECT_EQ(path, u"D:\\Letters\\july.txt");
  ASSERT_EQ(chooser.fileRequests.size(), 2u);
  const PathRequest& asked = chooser.fileRequests[0];
  EXPECT_EQ(asked.defaultExtension, u".");
  EXPECT_EQ(asked.fileName, u"*.*");
  EXPECT_EQ(asked.filter, u"(*.*)|*.*||");
  EXPECT_EQ(asked.initialFolder, u"D:\\");
}

TEST_F(PickerTest, ChoosingAnotherRowAfterBrowsingAsksForThatRowsOwnPath) {
  chooser.answers = {u"C:\\Windows\\Media\\chimes.wav"};
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabAdvance)); },
                 [](P& d) { Click(d.AdvancedPage().BrowseButton(0)); },
                 [](P& d) {
                   EXPECT_EQ(d.AdvancedPage().PathField(0).Caption(),
                             u"C:\\Windows\\Media\\chimes.wav");
                   SavePng(d.hwnd(), L"picker-advanced-chosen-path.png");
                   Click(d.AdvancedPage().Choice(1));
                 },
                 [](P& d) {
                   EXPECT_EQ(CheckedChoices(d), "01000");
                   Click(d.Button(B::Ok));
                 },
                 [](P& d) {
                   CDlgInfo* box = OpenMessageBox(d.hwnd());
                   ASSERT_NE(box, nullptr);
                   Click(box->OkButton());
                 },
                 [](P& d) { Click(d.Button(B::Close)); }}),
            IDCANCEL);
  EXPECT_EQ(stepsRun, 6u);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(path, u"");
  ASSERT_EQ(chooser.fileRequests.size(), 1u);
  EXPECT_EQ(chooser.fileRequests[0].filter, u"(*.wav*)|*.wav*||");
  EXPECT_EQ(chooser.fileRequests[0].initialFolder, u"c:\\Windows\\Media");
}

TEST_F(PickerTest, PathFieldAnswersADoubleClickOnlyAndAsksTheFolderRowForAFolder) {
  chooser.answers = {u"C:\\Users\\Public\\Music"};
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabAdvance)); },
                 [](P& d) { Click(d.AdvancedPage().PathField(3)); },
                 [this](P& d) {
                   EXPECT_EQ(chooser.folderRequests, 0);  // a single click does nothing
                   EXPECT_EQ(d.AdvancedPage().Choice(3).GetCheck(), 0);
                   SecondClick(d.AdvancedPage().PathField(3));
                 },
                 [](P& d) { Click(d.Button(B::Ok)); }}),
            IDOK);
  EXPECT_EQ(chooser.folderRequests, 1);
  EXPECT_EQ(code, 84);
  EXPECT_EQ(path, u"C:\\Users\\Public\\Music");
}

TEST_F(PickerTest, EnterEscapeAndSpaceDoNothingAnywhere) {
  const auto keys = [](P& d) {
    testkit::PostSwallowedKeys({d.hwnd(), d.Button(B::Ok).hwnd(), d.Page(kCategoryBase).hwnd(),
                                d.ListPage(kCategoryBase).List().hwnd()});
  };
  EXPECT_EQ(Run({keys, [](P& d) { Click(d.Button(B::TabAdvance)); }, keys,
                 [](P& d) { Click(d.Button(B::Close)); }}),
            IDCANCEL);
  EXPECT_EQ(stepsRun, 4u);  // the picker was still open for the close button
  EXPECT_EQ(code, 0);
}

TEST_F(PickerTest, QuickSecondClicksOnTabsAndTheDisableBoxCount) {
  Run({[](P& d) {
         Click(d.Button(B::TabWindows));
         SecondClick(d.Button(B::TabMedia));
       },
       [](P& d) {
         EXPECT_EQ(ShownPages(d), "00100");
         Click(d.Button(B::Disable));
         SecondClick(d.Button(B::Disable));
       },
       [](P& d) {
         EXPECT_EQ(d.Button(B::Disable).GetCheck(), 0);
         EXPECT_EQ(ShownPages(d), "10000");
         Click(d.Button(B::Close));
       }});
  EXPECT_EQ(stepsRun, 3u);
}

TEST_F(PickerTest, SitsOverItsParentAtItsPicturesSizeAndScreenshotsEveryPage) {
  Run({[](P& d) {
         RECT client{}, window{}, desktop{};
         ::GetClientRect(d.hwnd(), &client);
         EXPECT_EQ(client.right, 413);
         EXPECT_EQ(client.bottom, 290);
         ::GetWindowRect(d.hwnd(), &window);
         ::GetWindowRect(::GetDesktopWindow(), &desktop);
         EXPECT_EQ(window.left, (desktop.right - 413) / 2);
         RECT page{};
         ::GetWindowRect(d.Page(kCategoryMouse).hwnd(), &page);
         EXPECT_EQ(page.left - window.left, 21);
         EXPECT_EQ(page.right - page.left, 370);
         EXPECT_EQ(page.bottom - page.top, 169);
       },
       [](P& d) { Click(d.Button(B::TabBase)); },
       [](P& d) { SavePng(d.hwnd(), L"picker-page-1.png"); },
       [](P& d) { Click(d.Button(B::TabWindows)); },
       [](P& d) { SavePng(d.hwnd(), L"picker-page-2.png"); },
       [](P& d) { Click(d.Button(B::TabMedia)); },
       [](P& d) { SavePng(d.hwnd(), L"picker-page-3.png"); },
       [](P& d) { Click(d.Button(B::TabMouse)); },
       [](P& d) { SavePng(d.hwnd(), L"picker-page-4.png"); },
       [](P& d) { Click(d.Button(B::TabAdvance)); },
       [](P& d) { SavePng(d.hwnd(), L"picker-page-5.png"); },
       [](P& d) { Click(d.Button(B::Close)); }});
  EXPECT_EQ(stepsRun, 12u);
}

// What a function code does, as the action engine performs it over recording seams: keys
// ("+11" down, "-11" up), mouse events ("m0800(120)"), pauses ("w100"), window messages,
// system calls and timers. The foreground window has both boxes; the pointer is over a
// window that scrolls sideways; the system is one that has the search and charms keys.
std::string Behaviour(int32_t code) {
  testkit::ActionRig rig;
  rig.system.version = {2, 6, 2};
  rig.windows.foreground = rig.windows.Add(u"Frame", {0, 0, 800, 600}, 0x00030000);
  rig.windows.pointed = rig.windows.Add(u"Notepad", {0, 0, 300, 300}, 0x00100000);
  rig.windows.cursor = {10, 10};
  rig.Perform(code);
  std::string s;
  char part[32];
  const auto add = [&s](std::string_view text) {
    if (!s.empty()) s += ' ';
    s += text;
  };
  for (const InputEvent& e : rig.input.events) {
    if (e.kind == InputKind::Key)
      std::snprintf(part, sizeof part, "%c%02X", (e.flags & 2) ? '-' : '+', e.virtualKey);
    else if (e.kind == InputKind::Mouse && e.data != 0)
      std::snprintf(part, sizeof part, "m%04X(%d)", static_cast<unsigned>(e.flags), e.data);
    else if (e.kind == InputKind::Mouse)
      std::snprintf(part, sizeof part, "m%04X", static_cast<unsigned>(e.flags));
    else
      std::snprintf(part, sizeof part, "w%u", static_cast<unsigned>(e.pauseMs));
    add(part);
  }
  for (const fakes::PostedMessage& m : rig.windows.messages) {
    std::snprintf(part, sizeof part, "%s %04X %X", m.sent ? "send" : "post",
                  static_cast<unsigned>(m.message), static_cast<unsigned>(m.wParam));
    add(part);
  }
  for (const std::string& call : rig.system.calls)
    if (call == "LockStation") add(call);
  for (const std::string& call : rig.timer.calls) {
    add("timer");
    add(call);
  }
  return s;
}

TEST_F(PickerTest, EveryListRowDoesWhatItsTextSays) {
  struct Row {
    std::u16string text;
    std::string does;
  };
  const std::vector<Row> pages[] = {
      {{u"Cut", "+11 +58 -58 -11"},  // Ctrl+X
       {u"Copy", "+11 +43 -43 -11"},
       {u"Paste", "+11 +56 -56 -11"},
       {u"Select all", "+11 +41 -41 -11"},
       {u"Find", "+11 +46 -46 -11"},
       {u"New", "+11 +4E -4E -11"},
       {u"Print", "+11 +50 -50 -11"},
       {u"Save", "+11 +53 -53 -11"}},
      {{u"Switch window", "+A4 +09 -09 timer start 5 1500 @0"},  // Alt held until the timer
       {u"Close window", "+A4 +73 -73 -A4"},                     // Alt+F4
       {u"Lock computer", "LockStation"},
       {u"File Explorer", "+5B +45 -45 -5B"},  // Windows key + E
       {u"Run", "+5B +52 -52 -5B"},
       {u"Show desktop", "+5B +44 -44 -5B"},
       {u"Start menu", "+5B -5B"},
       {u"Search", "+5B +51 -51 -5B"},
       {u"Charms bar", "+5B +43 -43 -5B"},
       {u"Zoom in", "+11 m0800(120) -11"},  // Ctrl + wheel away from the user
       {u"Zoom out", "+11 m0800(-120) -11"},
       {u"Maximize window", "send 0112 F030"},
       {u"Minimize window", "send 0112 F020"}},
      {{u"Media player", "+B5 -B5"},
       {u"Play/Pause", "+B3 -B3"},
       {u"Stop", "+B2 -B2"},
       {u"Previous track", "+B1 -B1"},
       {u"Next track", "+B0 -B0"},
       {u"Volume up", "+AF -AF"},
       {u"Volume down", "+AE -AE"},
       {u"Mute", "+AD -AD"}},
      {{u"Left click", "m0002 w100 m0004"},
       {u"Middle click", "m0020 w100 m0040"},
       {u"Right click", "m0008 w100 m0010"},
       {u"Forward", "m0080(2) w100 m0100(2)"},  // the second X button
       {u"Back", "m0080(1) w100 m0100(1)"},
       {u"Scroll up", "m0800(120)"},
       {u"Scroll down", "m0800(-120)"},
       {u"Scroll left", "post 0114 0 post 0114 0"},
       {u"Scroll right", "send 0114 1 send 0114 1"}},
  };
  struct Seen {
    std::u16string text;
    int32_t code;
  };
  std::vector<Seen> seen[4];
  Run({[&seen](P& d) {
         for (int category = kCategoryBase; category <= kCategoryMouse; ++category) {
           const CListBoxEx& list = d.ListPage(category).List();
           for (LRESULT row = 0; row < list.Send(LB_GETCOUNT); ++row) {
             wchar_t text[100] = {};
             list.Send(LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
             list.Send(LB_SETCURSEL, static_cast<WPARAM>(row));
             seen[category - 1].push_back({U16(text), d.ListPage(category).GetSelectedCode()});
           }
         }
       },
       [](P& d) { Click(d.Button(B::Close)); }});
  for (size_t page = 0; page < 4; ++page) {
    ASSERT_EQ(seen[page].size(), pages[page].size()) << page;
    for (size_t row = 0; row < seen[page].size(); ++row) {
      EXPECT_EQ(seen[page][row].text, pages[page][row].text) << page << " " << row;
      EXPECT_EQ(Behaviour(seen[page][row].code), pages[page][row].does)
          << Utf16ToUtf8(pages[page][row].text);
    }
  }
}

}  // namespace
}  // namespace norvi

namespace norvi {
namespace {

// Key messages as the system posts them to the focused window: key-down, then key-up with
// the previous-state and transition bits; Alt and keys pressed with it are system keys.
void PostKey(HWND to, UINT vk, bool down, bool system = false) {
  const UINT msg = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  ::PostMessageW(to, msg, vk, down ? 1 : static_cast<LPARAM>(0xC0000001u));
}

// The keyboard's own name of a key, asked of the system the plain way.
std::u16string KeyboardName(UINT vk) {
  wchar_t name[64] = {};
  const LONG lp = static_cast<LONG>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16);
  const int n = ::GetKeyNameTextW(lp, name, 64);
  return U16(std::wstring_view(name, n > 0 ? static_cast<size_t>(n) : 0));
}

const CKeysRow& Keys(const CSettingDlg& d) {
  return d.AdvancedPage().KeysRow();
}

TEST_F(PickerTest, KeysFieldTakesTheCombinationPressedAndOkAnswersItsText) {
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabAdvance)); },
                 [](P& d) {
                   EXPECT_EQ(Keys(d).Field().Text(), u"Click, then press keys");
                   Click(d.AdvancedPage().Choice(1));
                 },
                 [](P& d) { Click(Keys(d).Field()); },
                 [](P& d) {
                   // Clicking into the field listens and checks the row, and only it.
                   EXPECT_TRUE(Keys(d).Field().Listening());
                   EXPECT_EQ(Keys(d).Choice().GetCheck(), 1);
                   EXPECT_EQ(d.AdvancedPage().Choice(1).GetCheck(), 0);
                   EXPECT_EQ(Keys(d).Field().Text(), u"Press the keys now");
                   const HWND field = Keys(d).Field().hwnd();
                   PostKey(field, VK_CONTROL, true);
                   PostKey(field, VK_SHIFT, true);
                 },
                 [](P& d) {
                   EXPECT_EQ(Keys(d).Field().Text().ends_with(u" + \u2026"), true);
                   PostKey(Keys(d).Field().hwnd(), 'T', true);
                   // Enter, Escape and Space in the field are keys, never the picker's.
                   testkit::PostSwallowedKeys({});
                 },
                 [](P& d) {
                   const HWND field = Keys(d).Field().hwnd();
                   PostKey(field, 'T', false);
                   PostKey(field, VK_SHIFT, false);
                   PostKey(field, VK_CONTROL, false);
                 },
                 [](P& d) {
                   const std::u16string shown = Keys(d).Field().Text();
                   EXPECT_EQ(Keys(d).Field().Caption(), shown);
                   EXPECT_EQ(shown, KeyboardName(VK_CONTROL) + u" + " + KeyboardName(VK_SHIFT) +
                                        u" + " + KeyboardName('T'))
                       << Utf16ToUtf8(shown);
                   EXPECT_EQ(Keys(d).Field().HintKey(), "str_keys_hint");
                   SavePng(d.hwnd(), L"picker-keys-chosen.png");
                   Click(d.Button(B::Ok));
                 }}),
            IDOK);
  EXPECT_EQ(code, 85);
  EXPECT_EQ(path, u"keys:1:ctrl+shift+T");
}

TEST_F(PickerTest, KeysFieldKeepsModifiersAloneAndALoneEscapeAndSaysSo) {
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabAdvance)); }, [](P& d) { Click(Keys(d).Field()); },
                 [](P& d) {
                   const HWND field = Keys(d).Field().hwnd();
                   PostKey(field, VK_MENU, true, true);
                   PostKey(field, VK_CONTROL, true, true);
                   PostKey(field, VK_MENU, false, true);
                   PostKey(field, VK_CONTROL, false);
                 },
                 [](P& d) {
                   EXPECT_EQ(Keys(d).Field().HintKey(), "str_keys_modifiers_only");
                   // Escape alone, which the picker would otherwise swallow.
                   PostKey(Keys(d).Field().hwnd(), VK_ESCAPE, true);
                   PostKey(Keys(d).Field().hwnd(), VK_ESCAPE, false);
                 },
                 [](P& d) {
                   EXPECT_EQ(Keys(d).Field().HintKey(), "str_keys_escape");
                   std::u16string chosen;
                   EXPECT_EQ(d.AdvancedPage().GetChoice(chosen), 85);
                   EXPECT_EQ(chosen, u"keys:1:vk1B");
                   Click(Keys(d).ClearButton());
                 },
                 [](P& d) {
                   // Cleared and listening again; nothing chosen answers nothing.
                   EXPECT_TRUE(Keys(d).Field().Chosen().Empty());
                   EXPECT_TRUE(Keys(d).Field().Listening());
                   EXPECT_EQ(Keys(d).Choice().GetCheck(), 1);
                   Click(d.Button(B::Ok));
                 }}),
            IDCANCEL);
  EXPECT_EQ(code, 0);

  // Ctrl and Alt pressed and let go in any order make Ctrl + Alt.
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabAdvance)); }, [](P& d) { Click(Keys(d).Field()); },
                 [](P& d) {
                   const HWND field = Keys(d).Field().hwnd();
                   PostKey(field, VK_MENU, true, true);
                   PostKey(field, VK_CONTROL, true, true);
                   PostKey(field, VK_MENU, false, true);
                   PostKey(field, VK_CONTROL, false);
                 },
                 [](P& d) { Click(d.Button(B::Ok)); }}),
            IDOK);
  EXPECT_EQ(path, u"keys:1:ctrl+alt");
}

TEST_F(PickerTest, AnotherAdvancedRowTakesTheChoiceFromTheKeysRow) {
  chooser.answers = {u"D:\\Letters\\july.txt"};
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabAdvance)); }, [](P& d) { Click(Keys(d).Field()); },
                 [](P& d) {
                   PostKey(Keys(d).Field().hwnd(), VK_F5, true);
                   PostKey(Keys(d).Field().hwnd(), VK_F5, false);
                 },
                 [](P& d) { Click(d.AdvancedPage().BrowseButton(2)); },
                 [](P& d) {
                   EXPECT_EQ(Keys(d).Choice().GetCheck(), 0);
                   EXPECT_FALSE(Keys(d).Field().Listening());
                   Click(d.Button(B::Ok));
                 }}),
            IDOK);
  EXPECT_EQ(code, 83);
}

}  // namespace
}  // namespace norvi
