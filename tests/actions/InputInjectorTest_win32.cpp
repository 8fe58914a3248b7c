// The production injector against a real focused window: the records reach it as typed keys
// and as a wheel message.
#include <gtest/gtest.h>
#include <windows.h>

#include "actions/Production_win32.h"
#include "actions/Sequences.h"
#include "framework/Handles_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi::test {
namespace {

int g_wheelDelta = 0;
int g_ctrlHeldAtWheel = -1;
int g_ctrlHeldAtA = -1;
WNDPROC g_editProc = nullptr;

LRESULT CALLBACK EditProbe(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEWHEEL) {
    g_wheelDelta += GET_WHEEL_DELTA_WPARAM(wParam);
    g_ctrlHeldAtWheel = (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) ? 1 : 0;
  }
  if (message == WM_KEYDOWN && wParam == 'A') g_ctrlHeldAtA = ::GetKeyState(VK_CONTROL) < 0 ? 1 : 0;
  return ::CallWindowProcW(g_editProc, w, message, wParam, lParam);
}

std::wstring TextOf(HWND w) {
  wchar_t text[64] = {};
  ::GetWindowTextW(w, text, 64);
  return text;
}

TEST(Win32InputInjector, KeysAndWheelReachTheFocusedWindow) {
  UniqueWindow edit(::CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 200, 200, 300, 40,
                                      nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(edit);
  g_editProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(edit.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProbe)));
  ::SetForegroundWindow(edit.get());
  ::SetFocus(edit.get());
  ::SetCursorPos(300, 220);
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == edit.get(); }));

  Win32InputInjector input;
  const FixedSequence typed = Tap('N');
  Play(input, typed.View());
  Play(input, typed.View());
  EXPECT_TRUE(PumpUntil([&] { return TextOf(edit.get()) == L"nn"; })) << TextOf(edit.get());

  // Ctrl + A: the modifier is down when the key arrives and up afterwards; nothing is typed.
  Play(input, SequenceFor(4));
  EXPECT_TRUE(PumpUntil([] { return g_ctrlHeldAtA != -1; }));
  EXPECT_EQ(g_ctrlHeldAtA, 1);
  EXPECT_GE(::GetKeyState(VK_CONTROL), 0);
  EXPECT_EQ(TextOf(edit.get()), L"nn");

  Play(input, ZoomSequence(false, false).View());
  EXPECT_TRUE(PumpUntil([] { return g_wheelDelta == -120; })) << g_wheelDelta;
  EXPECT_EQ(g_ctrlHeldAtWheel, 1);
  ::SetWindowLongPtrW(edit.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editProc));
}

}  // namespace
}  // namespace norvi::test
