#include "actions/KeyHold.h"

namespace norvi {
namespace {

constexpr size_t kMaxComboEvents = kModifierCount + 1;

struct EventList {
  std::array<InputEvent, kMaxComboEvents> events{};
  size_t count = 0;
  void Add(const InputEvent& e) { events[count++] = e; }
  std::span<const InputEvent> View() const { return {events.data(), count}; }
};

int32_t QuerySetting(ISystemCalls& system, uint32_t action, int32_t fallback) {
  // The system writes a DWORD-sized value (an unsigned int on every Windows target).
  uint32_t value = 0;
  if (!system.ParametersInfo(action, 0, &value, 0)) return fallback;
  return static_cast<int32_t>(value);
}

}  // namespace

uint32_t RepeatDelayMs(int32_t delaySetting) {
  if (delaySetting < 0) delaySetting = 0;
  if (delaySetting > 3) delaySetting = 3;
  return 250u * static_cast<uint32_t>(delaySetting + 1);
}

uint32_t RepeatPeriodMs(int32_t speedSetting) {
  if (speedSetting < 0) speedSetting = 0;
  if (speedSetting > 31) speedSetting = 31;
  // 2.5 repeats a second at 0 to 30 at 31, evenly: 62000 / (155 + 55 * speed) ms.
  return 62000u / (155u + 55u * static_cast<uint32_t>(speedSetting));
}

InputEvent ComboKeyDown(uint8_t vk) {
  InputEvent e{InputKind::Key, vk, IsExtendedKey(vk) ? kKeyExtended : 0u};
  e.extraInfo = kOwnInputMark;
  return e;
}

InputEvent ComboKeyUp(uint8_t vk) {
  InputEvent e = ComboKeyDown(vk);
  e.flags |= kKeyUp;
  return e;
}

bool KeyHold::HeldElsewhere(int slot, uint8_t vk) const {
  for (int i = 0; i < kSlotCount; ++i) {
    const Held& other = held_[static_cast<size_t>(i)];
    if (i == slot || !other.has) continue;
    if (other.combo.key == vk) return true;
    for (int m = 0; m < kModifierCount; ++m)
      if ((other.combo.modifiers & (1u << m)) && ModifierKey(m) == vk) return true;
  }
  return false;
}

void KeyHold::Press(int slot, const KeyCombo& combo) {
  if (slot < 0 || slot >= kSlotCount || Holds(slot) || !IsValid(combo)) return;
  EventList down;
  for (int m = 0; m < kModifierCount; ++m)
    if ((combo.modifiers & (1u << m)) && !HeldElsewhere(slot, ModifierKey(m)))
      down.Add(ComboKeyDown(ModifierKey(m)));
  if (combo.key != 0 && !HeldElsewhere(slot, combo.key)) down.Add(ComboKeyDown(combo.key));
  held_[static_cast<size_t>(slot)] = {true, combo};
  if (down.count) input_.Inject(down.View());
  if (combo.key == 0) return;
  // After the input, so the press is not kept waiting for the settings.
  repeating_ = slot;
  repeatStarted_ = false;
  timer_.Start(kKeyRepeatTimerId, RepeatDelayMs(QuerySetting(system_, kSpiGetKeyboardDelay, 1)));
}

void KeyHold::Release(int slot) {
  if (slot < 0 || slot >= kSlotCount || !Holds(slot)) return;
  if (repeating_ == slot) StopRepeat();
  const KeyCombo combo = held_[static_cast<size_t>(slot)].combo;
  held_[static_cast<size_t>(slot)].has = false;
  EventList up;
  if (combo.key != 0 && !HeldElsewhere(slot, combo.key)) up.Add(ComboKeyUp(combo.key));
  for (int m = kModifierCount - 1; m >= 0; --m)
    if ((combo.modifiers & (1u << m)) && !HeldElsewhere(slot, ModifierKey(m)))
      up.Add(ComboKeyUp(ModifierKey(m)));
  if (up.count) input_.Inject(up.View());
}

void KeyHold::ReleaseAll() {
  for (int slot = 0; slot < kSlotCount; ++slot) Release(slot);
}

void KeyHold::Tap(const KeyCombo& combo) {
  if (!IsValid(combo)) return;
  // A key a held button keeps down stays down.
  const auto free = [this](uint8_t vk) { return !HeldElsewhere(-1, vk); };
  EventList down, up;
  for (int m = 0; m < kModifierCount; ++m)
    if ((combo.modifiers & (1u << m)) && free(ModifierKey(m)))
      down.Add(ComboKeyDown(ModifierKey(m)));
  if (combo.key != 0 && free(combo.key)) {
    down.Add(ComboKeyDown(combo.key));
    up.Add(ComboKeyUp(combo.key));
  }
  for (int m = kModifierCount - 1; m >= 0; --m)
    if ((combo.modifiers & (1u << m)) && free(ModifierKey(m))) up.Add(ComboKeyUp(ModifierKey(m)));
  if (down.count) input_.Inject(down.View());
  if (up.count) input_.Inject(up.View());
}

void KeyHold::OnRepeatTimer() {
  if (repeating_ < 0 || !Holds(repeating_)) {
    StopRepeat();
    return;
  }
  const InputEvent again[] = {ComboKeyDown(held_[static_cast<size_t>(repeating_)].combo.key)};
  input_.Inject(again);
  if (!repeatStarted_) {
    repeatStarted_ = true;
    timer_.Start(kKeyRepeatTimerId,
                 RepeatPeriodMs(QuerySetting(system_, kSpiGetKeyboardSpeed, 31)));
  }
}

void KeyHold::StopRepeat() {
  if (repeating_ >= 0) timer_.Kill(kKeyRepeatTimerId);
  repeating_ = -1;
  repeatStarted_ = false;
}

}  // namespace norvi
