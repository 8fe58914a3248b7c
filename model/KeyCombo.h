#pragma once
// A key combination of the "Keys..." function: up to four modifiers and at most one other key,
// kept in a slot's path field as a short versioned text so the profile's layout stays as it is.
//
// Grammar of the stored text (canonical: the parser accepts exactly what the formatter writes):
//     text      = "keys:1:" combo
//     combo     = modifier *("+" modifier) ["+" key]  |  key
//     modifier  = "ctrl" | "shift" | "alt" | "win"    each at most once, in this order
//     key       = "A".."Z" | "0".."9" | "F1".."F24" | "vk" 2HEXUPPER
// Keys are virtual-key codes, never the keyboard's names, so a profile means the same keys on
// every keyboard layout. "vk" names every other code (vk25 is the left arrow); a letter, digit
// or function key is always written by its own name. Examples: "keys:1:ctrl+shift+T",
// "keys:1:F5", "keys:1:win+shift+S", "keys:1:ctrl+alt+vk25", "keys:1:ctrl" (Ctrl alone, held
// while the button is held).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norvi {

// Modifier bits of a combination, in the order they go down.
constexpr uint8_t kModCtrl = 0x1;
constexpr uint8_t kModShift = 0x2;
constexpr uint8_t kModAlt = 0x4;
constexpr uint8_t kModWin = 0x8;
constexpr uint8_t kModAll = 0xF;
constexpr int kModifierCount = 4;

struct KeyCombo {
  uint8_t modifiers = 0;  // kMod* bits
  uint8_t key = 0;        // virtual-key code of the one other key; 0: modifiers only

  bool Empty() const { return modifiers == 0 && key == 0; }
  friend bool operator==(const KeyCombo&, const KeyCombo&) = default;
};

constexpr std::u16string_view kKeyComboPrefix = u"keys:1:";

// The virtual key injected for modifier bit i (0 Ctrl, 1 Shift, 2 Alt, 3 Win).
uint8_t ModifierKey(int index);
// The modifier bit a virtual key stands for, left, right or either; 0 for any other key.
uint8_t ModifierBitOf(uint8_t vk);
// Whether a key may be a combination's key: not a modifier, a mouse button, 0, 0xE7 or 0xFF.
bool IsComboKey(uint8_t vk);
// Whether the key is sent with the extended-key flag (arrows, the block above them, right-hand
// modifiers, the Windows and menu keys, numeric-pad divide, Num Lock, browser and media keys).
bool IsExtendedKey(uint8_t vk);

bool IsValid(const KeyCombo& combo);

// Nothing for any text that is not exactly a valid combination in the grammar above.
std::optional<KeyCombo> ParseKeyCombo(std::u16string_view text);
// The canonical text; empty for an invalid combination.
std::u16string FormatKeyCombo(const KeyCombo& combo);

// The keyboard's own name of a virtual key (the system's key-name text on Windows).
class IKeyNames {
 public:
  virtual ~IKeyNames() = default;
  // Empty when the keyboard has no name for it.
  virtual std::u16string Name(uint8_t vk) const = 0;
};

// What a user reads: the names joined by " + ", e.g. "Ctrl + Shift + T". A key without a name
// reads as its code ("0xE8"). Empty for an empty combination.
std::u16string ComboText(const KeyCombo& combo, const IKeyNames& names);

}  // namespace norvi
