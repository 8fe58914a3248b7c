#include "actions/Production_win32.h"

#include <algorithm>

namespace norvi {
namespace {

// The portable sequences' keys and flags, as SendInput takes them.
static_assert(kVkTab == VK_TAB && kVkControl == VK_CONTROL && kVkLeft == VK_LEFT &&
              kVkRight == VK_RIGHT && kVkLeftWin == VK_LWIN && kVkF4 == VK_F4 &&
              kVkLeftAlt == VK_LMENU && kVkOemPlus == VK_OEM_PLUS && kVkOemMinus == VK_OEM_MINUS);
static_assert(kKeyExtended == KEYEVENTF_EXTENDEDKEY && kKeyUp == KEYEVENTF_KEYUP);
static_assert(kMouseLeftDown == MOUSEEVENTF_LEFTDOWN && kMouseLeftUp == MOUSEEVENTF_LEFTUP &&
              kMouseRightDown == MOUSEEVENTF_RIGHTDOWN && kMouseRightUp == MOUSEEVENTF_RIGHTUP &&
              kMouseMiddleDown == MOUSEEVENTF_MIDDLEDOWN &&
              kMouseMiddleUp == MOUSEEVENTF_MIDDLEUP && kMouseXDown == MOUSEEVENTF_XDOWN &&
              kMouseXUp == MOUSEEVENTF_XUP && kMouseWheel == MOUSEEVENTF_WHEEL &&
              kMouseAbsolute == MOUSEEVENTF_ABSOLUTE);
static_assert(kXButton1 == XBUTTON1 && kXButton2 == XBUTTON2 && kWheelDelta == WHEEL_DELTA);

// Records per SendInput call; every sequence fits, longer batches go in several calls.
constexpr size_t kMaxRecords = 8;

INPUT ToRecord(const InputEvent& e) {
  INPUT record{};
  if (e.kind == InputKind::Key) {
    record.type = INPUT_KEYBOARD;
    record.ki.wVk = e.virtualKey;
    record.ki.wScan = 0;
    record.ki.dwFlags = e.flags;
    record.ki.dwExtraInfo = e.extraInfo;
  } else {
    record.type = INPUT_MOUSE;
    record.mi.dx = e.x;
    record.mi.dy = e.y;
    record.mi.mouseData = static_cast<DWORD>(e.data);
    record.mi.dwFlags = e.flags;
    // Read afresh for each event.
    record.mi.dwExtraInfo =
        e.messageExtraInfo ? static_cast<ULONG_PTR>(::GetMessageExtraInfo()) : 0;
  }
  return record;
}

}  // namespace

void Win32InputInjector::Inject(std::span<const InputEvent> batch) {
  while (!batch.empty()) {
    INPUT records[kMaxRecords];
    const size_t n = std::min(batch.size(), kMaxRecords);
    for (size_t i = 0; i < n; ++i) records[i] = ToRecord(batch[i]);
    ::SendInput(static_cast<UINT>(n), records, sizeof(INPUT));
    batch = batch.subspan(n);
  }
}

void Win32InputInjector::Pause(uint32_t ms) {
  ::Sleep(ms);
}

}  // namespace norvi
