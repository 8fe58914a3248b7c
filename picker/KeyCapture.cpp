#include "picker/KeyCapture.h"

#include "model/PlatformValues.h"

namespace norvi {

void KeyCapture::KeyDown(uint8_t vk) {
  if (const uint8_t bit = ModifierBitOf(vk)) {
    held_ |= bit;
    pending_ |= bit;
    return;
  }
  if (!IsComboKey(vk)) return;
  chosen_ = {held_, vk};
  pending_ = 0;
}

void KeyCapture::KeyUp(uint8_t vk) {
  const uint8_t bit = ModifierBitOf(vk);
  if (bit == 0) return;
  held_ &= static_cast<uint8_t>(~bit);
  // Every modifier let go with no other key between: the modifiers are the combination.
  if (held_ == 0 && pending_ != 0) {
    chosen_ = {pending_, 0};
    pending_ = 0;
  }
}

void KeyCapture::Reset(const KeyCombo& chosen) {
  const KeyCombo kept = chosen;  // may be our own
  Clear();
  chosen_ = kept;
}

CaptureNote KeyCapture::Note() const {
  if (chosen_.Empty()) return CaptureNote::None;
  if (chosen_.key == 0) return CaptureNote::ModifiersOnly;
  if (chosen_.key == kVkEscape && chosen_.modifiers == 0) return CaptureNote::Escape;
  return CaptureNote::None;
}

}  // namespace norvi
