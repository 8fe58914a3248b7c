#pragma once
// The performer of the "Keys..." function: a button's press puts its combination down
// (modifiers first, then the key), its release takes it up (key first, then the modifiers in
// reverse), and while it is held the key repeats at the keyboard's own delay and rate, as a
// held key does. Wheel steps, which have no release, tap the combination.
//
// One self-contained unit: the dispatch calls Press and Release from whichever thread performs
// input; the repeat comes from a timer of the main window. Keys that two held buttons share
// (Ctrl of Ctrl+C and of Ctrl+V) go down once and up with the last of them, so no key is ever
// left held or released early. Nothing allocates.

#include <array>
#include <cstdint>

#include "actions/Seams.h"
#include "model/ButtonSlot.h"
#include "model/KeyCombo.h"

namespace norvi {

// Timer of the main window that repeats a held combination's key.
constexpr uint32_t kKeyRepeatTimerId = 6;

// SystemParametersInfoW actions for the keyboard's repeat delay (0 to 3: 250 ms to 1 s) and
// speed (0 to 31: about 2.5 to 30 repeats a second).
constexpr uint32_t kSpiGetKeyboardSpeed = 0x000A;
constexpr uint32_t kSpiGetKeyboardDelay = 0x0016;
uint32_t RepeatDelayMs(int32_t delaySetting);
uint32_t RepeatPeriodMs(int32_t speedSetting);

// The key event of a combination's key: extended where the key is, marked as the program's own.
InputEvent ComboKeyDown(uint8_t vk);
InputEvent ComboKeyUp(uint8_t vk);

class KeyHold {
 public:
  KeyHold(IInputInjector& input, ITimer& timer, ISystemCalls& system)
      : input_(input), timer_(timer), system_(system) {}
  KeyHold(const KeyHold&) = delete;
  KeyHold& operator=(const KeyHold&) = delete;

  // Puts the combination down for a held slot; nothing when that slot already holds keys
  // (a driver that reports the held button again).
  void Press(int slot, const KeyCombo& combo);
  // Takes the slot's combination up; nothing when it holds none.
  void Release(int slot);
  // Takes every held combination up: the program ends, the assignments change, the mouse goes.
  void ReleaseAll();
  // Down and up at once.
  void Tap(const KeyCombo& combo);
  // The repeat timer fired: the repeating key goes down once more.
  void OnRepeatTimer();

  bool Holds(int slot) const { return held_[static_cast<size_t>(slot)].has; }

 private:
  struct Held {
    bool has = false;
    KeyCombo combo;
  };
  // Whether another held slot than `slot` keeps this key down.
  bool HeldElsewhere(int slot, uint8_t vk) const;
  void StopRepeat();

  IInputInjector& input_;
  ITimer& timer_;
  ISystemCalls& system_;
  std::array<Held, kSlotCount> held_{};
  int repeating_ = -1;          // slot whose key repeats, like the last key pressed on a keyboard
  bool repeatStarted_ = false;  // the first (longer) delay has passed
};

}  // namespace norvi
