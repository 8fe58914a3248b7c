#pragma once
// What the picker's capture field makes of the keys pressed while it listens: the combination
// a user means, from key-down and key-up alone.
//
// - A key other than a modifier finishes a combination with the modifiers held at that moment
//   ("Ctrl + Shift + T"); pressing another key later starts over.
// - Modifiers pressed and all let go without another key make a modifier-only combination of
//   every modifier pressed meanwhile ("Ctrl + Shift"): the button then holds them down.
// - A lone Escape is a combination like any other: the field takes it before the picker sees
//   it, and the note says the button will send Escape.

#include <cstdint>

#include "model/KeyCombo.h"

namespace norvi {

enum class CaptureNote : uint8_t {
  None,
  ModifiersOnly,  // the combination has no key besides its modifiers
  Escape,         // the combination is Escape alone
};

class KeyCapture {
 public:
  void KeyDown(uint8_t vk);
  void KeyUp(uint8_t vk);
  // Starts over: nothing chosen, nothing held.
  void Clear() { *this = KeyCapture(); }
  // Starts listening afresh with the field's stored combination (none: empty).
  void Reset(const KeyCombo& chosen);

  // The finished combination; empty while none is.
  const KeyCombo& Chosen() const { return chosen_; }
  // Modifiers pressed towards a combination not finished yet (shown as "Ctrl + ...").
  uint8_t Pending() const { return pending_; }
  CaptureNote Note() const;

 private:
  KeyCombo chosen_;
  uint8_t held_ = 0;     // modifiers down now
  uint8_t pending_ = 0;  // modifiers pressed since the last finished combination
};

}  // namespace norvi
