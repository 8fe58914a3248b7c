// The production injector's records as SendInput receives them: every key an extended key
// with scan code 0 and no extra information, mouse events with the thread's extra information
// unless they carry coordinates, and the events of one call in one batch.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "actions/Production_win32.h"
#include "tests/support/ImportPatch_win32.h"

namespace norvi::testkit {
namespace {

std::vector<std::vector<INPUT>> g_calls;

UINT WINAPI RecordSendInput(UINT count, LPINPUT records, int size) {
  EXPECT_EQ(size, static_cast<int>(sizeof(INPUT)));
  g_calls.emplace_back(records, records + count);
  return count;
}

INPUT KeyRecord(WORD vk, DWORD flags) {
  INPUT r{};
  r.type = INPUT_KEYBOARD;
  r.ki = {vk, 0, flags, 0, 0};
  return r;
}

INPUT MouseRecord(LONG x, LONG y, DWORD data, DWORD flags, ULONG_PTR extra) {
  INPUT r{};
  r.type = INPUT_MOUSE;
  r.mi = {x, y, data, flags, 0, extra};
  return r;
}

// Field by field, so that a failure names the field.
void ExpectSame(const INPUT& got, const INPUT& want, size_t index) {
  SCOPED_TRACE(::testing::Message() << "record " << index);
  ASSERT_EQ(got.type, want.type);
  if (want.type == INPUT_KEYBOARD) {
    EXPECT_EQ(got.ki.wVk, want.ki.wVk);
    EXPECT_EQ(got.ki.wScan, want.ki.wScan);
    EXPECT_EQ(got.ki.dwFlags, want.ki.dwFlags);
    EXPECT_EQ(got.ki.time, want.ki.time);
    EXPECT_EQ(got.ki.dwExtraInfo, want.ki.dwExtraInfo);
  } else {
    EXPECT_EQ(got.mi.dx, want.mi.dx);
    EXPECT_EQ(got.mi.dy, want.mi.dy);
    EXPECT_EQ(got.mi.mouseData, want.mi.mouseData);
    EXPECT_EQ(got.mi.dwFlags, want.mi.dwFlags);
    EXPECT_EQ(got.mi.time, want.mi.time);
    EXPECT_EQ(got.mi.dwExtraInfo, want.mi.dwExtraInfo);
  }
}

struct Case {
  const char* name;
  std::vector<InputEvent> batch;
  std::vector<std::vector<INPUT>> calls;
};

TEST(Win32InputInjector, HandsSendInputTheExactRecordsInOneBatch) {
  constexpr ULONG_PTR kExtra = 0x5A17;
  constexpr DWORD kExtended = KEYEVENTF_EXTENDEDKEY;
  constexpr DWORD kUp = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;
  const std::vector<InputEvent> nine(9, KeyDown(kVkTab));
  const Case cases[] = {
      {"Ctrl + C",
       {KeyDown(kVkControl), KeyDown('C'), KeyUp('C'), KeyUp(kVkControl)},
       {{KeyRecord(VK_CONTROL, kExtended), KeyRecord('C', kExtended), KeyRecord('C', kUp),
         KeyRecord(VK_CONTROL, kUp)}}},
      {"wheel at the cursor",
       {MouseAt(kMouseWheel, -kWheelDelta)},
       {{MouseRecord(0, 0, static_cast<DWORD>(-WHEEL_DELTA), MOUSEEVENTF_WHEEL, kExtra)}}},
      {"X button at the cursor",
       {MouseAt(kMouseXDown, kXButton2), MouseAt(kMouseXUp, kXButton2)},
       {{MouseRecord(0, 0, XBUTTON2, MOUSEEVENTF_XDOWN, kExtra),
         MouseRecord(0, 0, XBUTTON2, MOUSEEVENTF_XUP, kExtra)}}},
      {"click with coordinates",
       {MouseWith(kMouseAbsolute | kMouseLeftDown, 310, 420)},
       {{MouseRecord(310, 420, 0, MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN, 0)}}},
      {"more than one call holds",
       nine,
       {std::vector<INPUT>(8, KeyRecord(VK_TAB, kExtended)), {KeyRecord(VK_TAB, kExtended)}}},
  };
  ImportPatch patch(::GetModuleHandleW(nullptr), "user32.dll", "SendInput",
                    reinterpret_cast<const void*>(&RecordSendInput));
  ASSERT_TRUE(patch);
  ::SetMessageExtraInfo(static_cast<LPARAM>(kExtra));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_calls.clear();
    Win32InputInjector().Inject(c.batch);
    ASSERT_EQ(g_calls.size(), c.calls.size());
    for (size_t call = 0; call < c.calls.size(); ++call) {
      ASSERT_EQ(g_calls[call].size(), c.calls[call].size()) << "call " << call;
      for (size_t i = 0; i < c.calls[call].size(); ++i)
        ExpectSame(g_calls[call][i], c.calls[call][i], i);
    }
  }
}

}  // namespace
}  // namespace norvi::testkit
