#include "model/ButtonSlot.h"

#include <algorithm>

namespace norvi {

uint32_t FilterMask(const std::array<int32_t, kSlotCount>& remapped) {
  uint32_t mask = 0;
  for (int i = 0; i < kSlotCount; ++i)
    if (remapped[i]) mask |= SlotFilterBit(i);
  return mask;
}

SlotTable FactorySlots() {
  SlotTable slots{};
  for (int i = 0; i < kSlotCount; ++i) {
    const int32_t code = kSlotInfo[i].factoryInitId;
    slots[i].InitID = slots[i].TempID = slots[i].FunID = code;
  }
  return slots;
}

size_t PathLength(const ButtonSlot& slot) {
  const char16_t* end = std::find(slot.Path, slot.Path + kPathUnits, u'\0');
  return static_cast<size_t>(end - slot.Path);
}

void SetPath(ButtonSlot& slot, std::u16string_view text) {
  std::fill(std::begin(slot.Path), std::end(slot.Path), u'\0');
  const size_t n = std::min(text.size(), static_cast<size_t>(kPathUnits - 1));
  std::copy_n(text.begin(), n, slot.Path);
}

}  // namespace norvi
