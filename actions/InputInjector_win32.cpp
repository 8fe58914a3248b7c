#include "actions/Production_win32.h"

#include <algorithm>

namespace norvi {
namespace {

// Records per SendInput call; every sequence fits, longer batches go in several calls.
constexpr size_t kMaxRecords = 8;

INPUT ToRecord(const InputEvent& e) {
  INPUT record{};
  if (e.kind == InputKind::Key) {
    record.type = INPUT_KEYBOARD;
    record.ki.wVk = e.virtualKey;
    record.ki.wScan = 0;
    record.ki.dwFlags = e.flags;
    record.ki.dwExtraInfo = 0;
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
