#include "model/KeyCombo.h"

#include <array>

namespace norvi {
namespace {

constexpr std::array<uint8_t, kModifierCount> kModifierKeys{0x11, 0x10, 0x12, 0x5B};
constexpr std::array<std::u16string_view, kModifierCount> kModifierWords{u"ctrl", u"shift", u"alt",
                                                                         u"win"};
constexpr uint8_t kVkF1 = 0x70;
constexpr int kFunctionKeys = 24;
constexpr char16_t kHex[] = u"0123456789ABCDEF";

bool IsLetterOrDigit(uint8_t vk) {
  return (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z');
}

bool IsFunctionKey(uint8_t vk) {
  return vk >= kVkF1 && vk < kVkF1 + kFunctionKeys;
}

std::u16string KeyWord(uint8_t vk) {
  if (IsLetterOrDigit(vk)) return std::u16string(1, static_cast<char16_t>(vk));
  if (IsFunctionKey(vk)) {
    const int n = vk - kVkF1 + 1;
    std::u16string word = u"F";
    if (n >= 10) word += static_cast<char16_t>(u'0' + n / 10);
    word += static_cast<char16_t>(u'0' + n % 10);
    return word;
  }
  return std::u16string(u"vk") + kHex[vk >> 4] + kHex[vk & 0xF];
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The key a word names, only in its canonical spelling; 0 for anything else.
uint8_t KeyOfWord(std::u16string_view word) {
  if (word.size() == 1) {
    const char16_t c = word[0];
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') ? static_cast<uint8_t>(c) : 0;
  }
  if (word.size() == 4 && word.substr(0, 2) == u"vk") {
    const int high = HexValue(word[2]), low = HexValue(word[3]);
    if (high < 0 || low < 0) return 0;
    const auto vk = static_cast<uint8_t>(high * 16 + low);
    // A key with a name of its own is written by that name.
    return IsLetterOrDigit(vk) || IsFunctionKey(vk) ? 0 : vk;
  }
  if ((word.size() == 2 || word.size() == 3) && word[0] == u'F' && word[1] != u'0') {
    int n = 0;
    for (const char16_t c : word.substr(1)) {
      if (c < u'0' || c > u'9') return 0;
      n = n * 10 + (c - u'0');
    }
    return n >= 1 && n <= kFunctionKeys ? static_cast<uint8_t>(kVkF1 + n - 1) : 0;
  }
  return 0;
}

}  // namespace

uint8_t ModifierKey(int index) {
  return kModifierKeys[static_cast<size_t>(index)];
}

uint8_t ModifierBitOf(uint8_t vk) {
  switch (vk) {
    case 0x11:
    case 0xA2:
    case 0xA3: return kModCtrl;
    case 0x10:
    case 0xA0:
    case 0xA1: return kModShift;
    case 0x12:
    case 0xA4:
    case 0xA5: return kModAlt;
    case 0x5B:
    case 0x5C: return kModWin;
    default: return 0;
  }
}

bool IsComboKey(uint8_t vk) {
  switch (vk) {
    case 0x00:
    case 0x01:
    case 0x02:
    case 0x04:
    case 0x05:
    case 0x06:  // none, mouse buttons
    case 0xE7:  // VK_PACKET
    case 0xFF: return false;
    default: return ModifierBitOf(vk) == 0;
  }
}

bool IsExtendedKey(uint8_t vk) {
  return vk == 0x03 ||                              // Break
         (vk >= 0x21 && vk <= 0x28) ||              // Page Up/Down, End, Home, arrows
         vk == 0x2C || vk == 0x2D || vk == 0x2E ||  // Print Screen, Insert, Delete
         (vk >= 0x5B && vk <= 0x5D) ||              // Windows keys, menu key
         vk == 0x6F || vk == 0x90 ||                // numeric-pad divide, Num Lock
         vk == 0xA3 || vk == 0xA5 ||                // right Ctrl, right Alt
         (vk >= 0xA6 && vk <= 0xB7);                // browser, volume, media, launch keys
}

bool IsValid(const KeyCombo& combo) {
  if ((combo.modifiers & ~kModAll) != 0 || combo.Empty()) return false;
  return combo.key == 0 || IsComboKey(combo.key);
}

std::optional<KeyCombo> ParseKeyCombo(std::u16string_view text) {
  if (text.substr(0, kKeyComboPrefix.size()) != kKeyComboPrefix) return std::nullopt;
  text.remove_prefix(kKeyComboPrefix.size());
  KeyCombo combo;
  int nextModifier = 0;  // modifiers come in their fixed order, each once
  while (true) {
    const size_t plus = text.find(u'+');
    const std::u16string_view word = text.substr(0, plus);
    int m = nextModifier;
    while (m < kModifierCount && kModifierWords[static_cast<size_t>(m)] != word) ++m;
    if (m < kModifierCount) {
      combo.modifiers |= static_cast<uint8_t>(1u << m);
      nextModifier = m + 1;
    } else {
      combo.key = KeyOfWord(word);
      // The key is the last word and must be one.
      if (combo.key == 0 || plus != std::u16string_view::npos) return std::nullopt;
    }
    if (plus == std::u16string_view::npos) break;
    text.remove_prefix(plus + 1);
  }
  if (!IsValid(combo)) return std::nullopt;
  return combo;
}

std::u16string FormatKeyCombo(const KeyCombo& combo) {
  if (!IsValid(combo)) return {};
  std::u16string text(kKeyComboPrefix);
  bool first = true;
  for (int m = 0; m < kModifierCount; ++m) {
    if ((combo.modifiers & (1u << m)) == 0) continue;
    if (!first) text += u'+';
    text += kModifierWords[static_cast<size_t>(m)];
    first = false;
  }
  if (combo.key != 0) {
    if (!first) text += u'+';
    text += KeyWord(combo.key);
  }
  return text;
}

std::u16string ComboText(const KeyCombo& combo, const IKeyNames& names) {
  std::u16string text;
  const auto add = [&](uint8_t vk) {
    if (!text.empty()) text += u" + ";
    std::u16string name = names.Name(vk);
    if (name.empty()) name = std::u16string(u"0x") + kHex[vk >> 4] + kHex[vk & 0xF];
    text += name;
  };
  for (int m = 0; m < kModifierCount; ++m)
    if (combo.modifiers & (1u << m)) add(ModifierKey(m));
  if (combo.key != 0) add(combo.key);
  return text;
}

}  // namespace norvi
