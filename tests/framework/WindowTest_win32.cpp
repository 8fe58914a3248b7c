// The window wrapper, the dialogs and their modal loop, reflection, timers, tooltips and the
// GDI owners, driven by real messages under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Dialog_win32.h"
#include "framework/Gdi_win32.h"
#include "framework/LateLibrary_win32.h"
#include "framework/Tooltip_win32.h"
#include "framework/Window_win32.h"

namespace norvi {
namespace {

constexpr UINT kProbe = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;
constexpr UINT kEndWith = WM_APP + 3;
constexpr UINT kTestDialog = 100;
constexpr int kEditId = 1000;

class ProbeWindow : public Window {
 public:
  std::vector<UINT> seen;
  bool finalCalled = false;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kProbe) {
      seen.push_back(msg);
      return 1234;
    }
    if (msg == kThrow) throw std::runtime_error("handler failure");
    if (msg == WM_SETTEXT) seen.push_back(msg);
    return Window::HandleMessage(msg, wp, lp);
  }
  void OnFinalMessage() override { finalCalled = true; }
};

TEST(Window, BindsAtCreationAndStopsExceptionsAtTheProcedure) {
  ProbeWindow w;
  ASSERT_TRUE(w.Create(nullptr, RECT{0, 0, 100, 50}, WS_POPUP));
  EXPECT_EQ(Window::FromHandle(w.hwnd()), &w);
  EXPECT_EQ(w.Send(kProbe), 1234);
  // The handler throws: default processing answers instead and the program goes on.
  EXPECT_EQ(w.Send(kThrow), 0);
  HWND h = w.hwnd();
  w.Destroy();
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(w.hwnd(), nullptr);
  EXPECT_TRUE(w.finalCalled);
}

TEST(Window, SubclassedControlKeepsItsOwnBehaviourAndUnbindsWithItsParent) {
  ProbeWindow parent;
  ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 200, 100}, WS_POPUP));
  ProbeWindow button;
  ASSERT_TRUE(
      button.CreateControl(L"BUTTON", parent.hwnd(), RECT{0, 0, 80, 20}, WS_CHILD | BS_PUSHBUTTON));
  ::SetWindowTextW(button.hwnd(), L"Press");
  wchar_t text[16]{};
  ::GetWindowTextW(button.hwnd(), text, 16);
  EXPECT_EQ(std::wstring(text), L"Press");  // the button class stored it
  EXPECT_EQ(button.seen, std::vector<UINT>{WM_SETTEXT});
  parent.Destroy();
  EXPECT_EQ(button.hwnd(), nullptr);
  EXPECT_TRUE(button.finalCalled);
}

class ReflectingControl : public Window {
 public:
  UniqueBrush brush{::CreateSolidBrush(RGB(1, 2, 3))};
  int drawn = 0;
  int measured = 0;

 protected:
  bool OnReflectedMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
    if (msg == WM_MEASUREITEM) {
      ++measured;
      result = TRUE;
      return true;
    }
    if (msg == WM_DRAWITEM) {
      ++drawn;
      result = TRUE;
      return true;
    }
    if (msg == WM_CTLCOLOREDIT) {
      result = reinterpret_cast<LRESULT>(brush.get());
      return true;
    }
    return false;
  }
};

TEST(Window, ReflectsOwnerDrawAndColourRequestsToTheControlObject) {
  ProbeWindow parent;
  ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 200, 100}, WS_POPUP));
  ReflectingControl edit;
  ASSERT_TRUE(edit.CreateControl(L"EDIT", parent.hwnd(), RECT{0, 0, 80, 20}, WS_CHILD));
  ReflectingControl button;
  ASSERT_TRUE(
      button.CreateControl(L"BUTTON", parent.hwnd(), RECT{0, 30, 80, 50}, WS_CHILD | BS_OWNERDRAW));
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.hwndItem = button.hwnd();
  EXPECT_EQ(parent.Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_EQ(button.drawn, 1);
  // Measure requests name the control by identifier only.
  ReflectingControl list;
  ASSERT_TRUE(list.CreateControl(L"LISTBOX", parent.hwnd(), RECT{100, 0, 180, 90},
                                 WS_CHILD | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, 0, L"", 101));
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_LISTBOX;
  mis.CtlID = 101;
  EXPECT_EQ(parent.Send(WM_MEASUREITEM, 101, reinterpret_cast<LPARAM>(&mis)), TRUE);
  EXPECT_EQ(list.measured, 1);
  EXPECT_EQ(button.measured, 0);
  WindowDC dc(edit.hwnd());
  EXPECT_EQ(parent.Send(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                        reinterpret_cast<LPARAM>(edit.hwnd())),
            reinterpret_cast<LRESULT>(edit.brush.get()));
}

// An edit box that swallows one key, to show that pre-translation starts at the target.
class KeyEatingEdit : public Window {
 public:
  WPARAM eats = 0;
  std::vector<std::string>* log = nullptr;
  bool PreTranslateMessage(MSG& msg) override {
    if (msg.message == WM_KEYDOWN) log->push_back("edit");
    return msg.message == WM_KEYDOWN && msg.wParam == eats;
  }
};

class TestDialog : public Dialog {
 public:
  TestDialog() : Dialog(kTestDialog) {}
  std::vector<std::string> log;
  KeyEatingEdit edit;
  WPARAM dialogEats = 0;
  std::vector<WPARAM> keysToPost;
  bool useTimer = false;

  bool PreTranslateMessage(MSG& msg) override {
    if (msg.message == WM_KEYDOWN) log.push_back("dialog");
    return msg.message == WM_KEYDOWN && msg.wParam == dialogEats;
  }

 protected:
  BOOL OnInitDialog() override {
    edit.log = &log;
    edit.Subclass(::GetDlgItem(hwnd(), kEditId));
    for (WPARAM key : keysToPost) ::PostMessageW(edit.hwnd(), WM_KEYDOWN, key, 0);
    if (useTimer) {
      SetTimer(7, 10);
    } else {
      Post(kEndWith, 42);
    }
    return TRUE;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kEndWith) {
      EndDialog(static_cast<INT_PTR>(wp));
      return 0;
    }
    if (msg == WM_TIMER && wp == 7) {
      KillTimer(7);
      EndDialog(77);
      return 0;
    }
    return Dialog::HandleMessage(msg, wp, lp);
  }
};

TEST(Dialog, EscapeCancelsTheModalDialog) {
  TestDialog dialog;
  dialog.keysToPost = {VK_ESCAPE};
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(dialog.hwnd(), nullptr);  // destroyed after the loop
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"edit", "dialog"}));
}

TEST(Dialog, PreTranslationRunsFromTheTargetUpToTheDialogAndCanSwallow) {
  TestDialog byDialog;
  byDialog.dialogEats = VK_ESCAPE;
  byDialog.keysToPost = {VK_ESCAPE};
  EXPECT_EQ(byDialog.DoModal(nullptr), 42);
  EXPECT_EQ(byDialog.log, (std::vector<std::string>{"edit", "dialog"}));

  TestDialog byControl;
  byControl.edit.eats = VK_ESCAPE;
  byControl.keysToPost = {VK_ESCAPE};
  EXPECT_EQ(byControl.DoModal(nullptr), 42);
  // The control swallowed it, so the dialog never saw it.
  EXPECT_EQ(byControl.log, (std::vector<std::string>{"edit"}));
}

TEST(Dialog, ModalRunDisablesTheOwnerAndTimersReachTheHandler) {
  ProbeWindow owner;
  ASSERT_TRUE(owner.Create(nullptr, RECT{0, 0, 200, 100}, WS_POPUP | WS_VISIBLE));
  TestDialog dialog;
  dialog.useTimer = true;
  EXPECT_EQ(dialog.DoModal(owner.hwnd()), 77);
  EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
}

TEST(Dialog, ModelessDialogLivesUntilEndedOrUntilItsParentGoes) {
  ProbeWindow parent;
  ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 200, 100}, WS_POPUP));
  TestDialog first;
  ASSERT_TRUE(first.CreateModeless(parent.hwnd()));
  EXPECT_FALSE(first.IsModal());
  first.EndDialog(IDOK);
  EXPECT_EQ(first.hwnd(), nullptr);
  TestDialog second;
  ASSERT_TRUE(second.CreateModeless(parent.hwnd()));
  EXPECT_EQ(::GetWindow(second.hwnd(), GW_OWNER), parent.hwnd());
  parent.Destroy();
  EXPECT_EQ(second.hwnd(), nullptr);
}

TEST(Dialog, MissingTemplateFailsWithoutAWindow) {
  struct Missing : Dialog {
    Missing() : Dialog(4242) {}
  } dialog;
  EXPECT_EQ(dialog.DoModal(nullptr), -1);
  EXPECT_EQ(dialog.hwnd(), nullptr);
}

TEST(Gdi, OwnersDeleteTheirObjectsAndSelectionsAreRestored) {
  UniqueDC dc(::CreateCompatibleDC(nullptr));
  HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
  HBITMAP raw = nullptr;
  {
    UniqueBitmap bitmap(::CreateCompatibleBitmap(dc.get(), 4, 4));
    raw = bitmap.get();
    {
      SelectObjectScope select(dc.get(), bitmap.get());
      EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), raw);
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), original);
    UniqueBitmap moved = std::move(bitmap);
    EXPECT_FALSE(bitmap);
    EXPECT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_BITMAP));
  }
  EXPECT_EQ(::GetObjectType(raw), 0u);
}

TEST(Tooltip, AddsOneToolPerCall) {
  ProbeWindow owner;
  ASSERT_TRUE(owner.Create(nullptr, RECT{0, 0, 200, 100}, WS_POPUP));
  Tooltip tip;
  ASSERT_TRUE(tip.Create(owner.hwnd()));
  EXPECT_EQ(tip.ToolCount(), 0);
  ASSERT_TRUE(tip.AddTool(owner.hwnd(), 1, RECT{0, 0, 200, 100}, L"hello"));
  EXPECT_EQ(tip.ToolCount(), 1);
}

// The library comes from the system folder at the first look-up, not before; a missing
// library or export gives null.
TEST(LateLibrary, LoadsFromTheSystemFolderAtTheFirstLookUp) {
  using Version = DWORD(WINAPI*)();
  LateLibrary audio(L"msacm32.dll");
  ASSERT_EQ(::GetModuleHandleW(L"msacm32.dll"), nullptr) << "loaded by the test itself";
  EXPECT_NE(audio.Export<Version>("acmGetVersion"), nullptr);
  const HMODULE loaded = ::GetModuleHandleW(L"msacm32.dll");
  ASSERT_NE(loaded, nullptr);
  wchar_t file[MAX_PATH], folder[MAX_PATH];
  ::GetModuleFileNameW(loaded, file, MAX_PATH);
  const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
  EXPECT_EQ(_wcsnicmp(file, folder, n), 0) << file;
  EXPECT_EQ(audio.Export<Version>("NoSuchExport"), nullptr);
  LateLibrary missing(L"no-such-library.dll");
  EXPECT_EQ(missing.Export<Version>("acmGetVersion"), nullptr);
}

}  // namespace
}  // namespace norvi
