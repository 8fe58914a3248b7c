#pragma once
// One injected input event as data: a key, a mouse event or a pause. Every sequence the
// action engine plays is a fixed list of these, so tests compare exact event lists.

#include <cstdint>

#include "model/PlatformValues.h"

namespace norvi {

// Virtual keys and key flags are in model/PlatformValues.h; every key goes out as an
// extended key.

// Mouse flags (MOUSEEVENTF_*).
constexpr uint32_t kMouseLeftDown = 0x0002;
constexpr uint32_t kMouseLeftUp = 0x0004;
constexpr uint32_t kMouseRightDown = 0x0008;
constexpr uint32_t kMouseRightUp = 0x0010;
constexpr uint32_t kMouseMiddleDown = 0x0020;
constexpr uint32_t kMouseMiddleUp = 0x0040;
constexpr uint32_t kMouseXDown = 0x0080;
constexpr uint32_t kMouseXUp = 0x0100;
constexpr uint32_t kMouseWheel = 0x0800;
constexpr uint32_t kMouseAbsolute = 0x8000;

constexpr int32_t kXButton1 = 1;  // XBUTTON1, back
constexpr int32_t kXButton2 = 2;  // XBUTTON2, forward

constexpr uint32_t kClickPauseMs = 100;

// Extra information of the keys the program presses for a key combination, so that any hook
// can tell them from the user's own ("NORV").
constexpr uint32_t kOwnInputMark = 0x4E4F5256;

enum class InputKind : uint8_t { Key, Mouse, Pause };

struct InputEvent {
  InputKind kind = InputKind::Pause;
  uint8_t virtualKey = 0;  // key events
  uint32_t flags = 0;      // key or mouse flags
  int32_t x = 0;           // mouse position arguments
  int32_t y = 0;
  int32_t data = 0;  // mouse data: wheel amount or X button
  // Mouse events: extra information is the thread's message extra information, read when
  // the event is injected; otherwise 0.
  bool messageExtraInfo = false;
  uint32_t pauseMs = 0;
  uint32_t extraInfo = 0;  // key events: their extra information

  friend bool operator==(const InputEvent&, const InputEvent&) = default;
};

constexpr InputEvent KeyDown(uint8_t vk) {
  return {InputKind::Key, vk, kKeyExtended};
}
constexpr InputEvent KeyUp(uint8_t vk) {
  return {InputKind::Key, vk, kKeyExtended | kKeyUp};
}

// A relative mouse event at the current cursor position.
constexpr InputEvent MouseAt(uint32_t flags, int32_t data = 0) {
  return {InputKind::Mouse, 0, flags, 0, 0, data, true};
}

// A mouse event with explicit coordinates and extra information 0.
constexpr InputEvent MouseWith(uint32_t flags, int32_t x, int32_t y) {
  return {InputKind::Mouse, 0, flags, x, y, 0, false};
}

constexpr InputEvent PauseFor(uint32_t ms) {
  InputEvent e;
  e.pauseMs = ms;
  return e;
}

}  // namespace norvi
