// The function picker under Wine, driven from inside its own modal loop: what OK, default,
// disable and the tabs answer, the advanced page's browse flows through a stand-in for the
// system's dialogs, the swallowed keys, quick repeated clicks, and a screenshot of each page.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "controls/ImageHelpers_win32.h"
#include "base/WideText.h"
#include "localisation/StringTable.h"
#include "model/Text.h"
#include "picker/SettingDlg_win32.h"
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

TEST_F(PickerTest, OkAtOnceAnswersTheBasicPagesLastRow) {
  EXPECT_EQ(Run({[](P& d) {
              EXPECT_EQ(ShownPages(d), "10000");
              EXPECT_EQ(MarkedTabs(d), "10000");
              Click(d.Button(B::Ok));
            }}),
            IDOK);
  EXPECT_EQ(code, 8);
  EXPECT_EQ(path, u"");
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

TEST_F(PickerTest, ListPageWithoutSelectionCancels) {
  EXPECT_EQ(Run({[](P& d) {
              d.ListPage(kCategoryBase).List().Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
              Click(d.Button(B::Ok));
            }}),
            IDCANCEL);
  EXPECT_EQ(code, 0);
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

TEST_F(PickerTest, CancelledBrowseLeavesItsRowCheckedWithAnEmptyPath) {
  chooser.answers = {u""};
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabAdvance)); },
                 [](P& d) { Click(d.AdvancedPage().BrowseButton(2)); },
                 [](P& d) {
                   EXPECT_EQ(d.AdvancedPage().Choice(2).GetCheck(), 1);
                   Click(d.Button(B::Ok));
                 }}),
            IDOK);
  EXPECT_EQ(code, 83);
  EXPECT_EQ(path, u"");
  ASSERT_EQ(chooser.fileRequests.size(), 1u);
  const PathRequest& asked = chooser.fileRequests[0];
  EXPECT_EQ(asked.defaultExtension, u".");
  EXPECT_EQ(asked.fileName, u"*.*");
  EXPECT_EQ(asked.filter, u"(*.*)|*.*||");
  EXPECT_EQ(asked.initialFolder, u"D:\\");
}

TEST_F(PickerTest, ChoosingAnotherRowAfterBrowsingAnswersThatRowsOwnEmptyPath) {
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
                   EXPECT_EQ(d.AdvancedPage().Choice(0).GetCheck(), 0);
                   EXPECT_EQ(d.AdvancedPage().Choice(1).GetCheck(), 1);
                   Click(d.Button(B::Ok));
                 }}),
            IDOK);
  EXPECT_EQ(code, 82);
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
  EXPECT_EQ(stepsRun, 11u);
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
  EXPECT_EQ(Run({[](P& d) { Click(d.Button(B::TabAdvance)); }, [](P& d) { Click(Keys(d).Field()); },
                 [](P& d) {
                   PostKey(Keys(d).Field().hwnd(), VK_F5, true);
                   PostKey(Keys(d).Field().hwnd(), VK_F5, false);
                 },
                 [](P& d) { Click(d.AdvancedPage().Choice(2)); },
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
