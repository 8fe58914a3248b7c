#pragma once
// The injected sequences of the key, media-key, mouse and zoom functions, and the player
// that hands them to the input seam.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "actions/InputEvent.h"
#include "actions/Seams.h"

namespace norvi {

// Room for the longest fixed sequence (a key combination: four events).
constexpr size_t kMaxSequence = 4;

struct FixedSequence {
  std::array<InputEvent, kMaxSequence> events{};
  uint8_t count = 0;

  std::span<const InputEvent> View() const { return {events.data(), count}; }
};

// The fixed sequence of a key, media-key or mouse function; empty for every other code.
// Codes 40 and 41 have one, but only systems of version class 7 or later perform it.
std::span<const InputEvent> SequenceFor(int32_t code);

// Modifier press, key press, key release, modifier release.
constexpr FixedSequence Combination(uint8_t modifier, uint8_t key) {
  return {{KeyDown(modifier), KeyDown(key), KeyUp(key), KeyUp(modifier)}, 4};
}

constexpr FixedSequence Tap(uint8_t key) {
  return {{KeyDown(key), KeyUp(key)}, 2};
}

constexpr FixedSequence Click(uint32_t down, uint32_t up, int32_t data = 0) {
  return {{MouseAt(down, data), PauseFor(kClickPauseMs), MouseAt(up, data)}, 3};
}

// The version classes of the system: 0 unknown or later than the table, 1 to 7 as listed.
int32_t OsVersionClass(const OsVersionInfo& version);
constexpr int32_t kVersionClassWithSearchCharms = 7;
constexpr uint32_t kPlatformWindows = 1;
constexpr uint32_t kPlatformNt = 2;

// Views that zoom with Ctrl and the plus or minus key instead of Ctrl and the wheel.
bool ZoomsWithKeys(std::u16string_view windowClass);
FixedSequence ZoomSequence(bool zoomIn, bool withKeys);

// Injects the events, each run between two pauses as one batch.
void Play(IInputInjector& input, std::span<const InputEvent> events);

}  // namespace norvi
