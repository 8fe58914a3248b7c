#pragma once
// The eight programmable inputs and the record that says what each one does.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace norvi {

constexpr int kSlotCount = 8;
constexpr int kPathUnits = 260;  // code units of a slot path, terminator included

// Stored byte for byte in the profile file: no padding, UTF-16 path on every target.
struct ButtonSlot {
  int32_t InitID;  // native code of the input
  int32_t TempID;  // chosen in the picker, not yet applied
  int32_t FunID;   // in force: what dispatch performs
  char16_t Path[kPathUnits];
};
static_assert(sizeof(ButtonSlot) == 532);
static_assert(offsetof(ButtonSlot, TempID) == 4);
static_assert(offsetof(ButtonSlot, FunID) == 8);
static_assert(offsetof(ButtonSlot, Path) == 12);

using SlotTable = std::array<ButtonSlot, kSlotCount>;
static_assert(sizeof(SlotTable) == kSlotCount * sizeof(ButtonSlot));

enum Slot : int {
  SlotMiddle = 0,
  SlotRight = 1,
  SlotWheelUp = 2,
  SlotWheelDown = 3,
  SlotForward = 4,
  SlotBack = 5,
  SlotTiltLeft = 6,
  SlotTiltRight = 7,
};

struct SlotInfo {
  int32_t factoryInitId;
  uint32_t filterBit;             // the slot's bit in the driver's mouse filter mask
  std::u16string_view traceWord;  // ending of the main window's trace lines
};

constexpr std::array<SlotInfo, kSlotCount> kSlotInfo{{
    {67, 0x004, u"中键"},
    {66, 0x002, u"右键"},
    {70, 0x020, u"滚轮上滚"},
    {71, 0x040, u"滚轮下滚"},
    {68, 0x010, u"前进键"},
    {69, 0x008, u"后退键"},
    {72, 0x080, u"滚轮左滚"},
    {73, 0x100, u"滚轮右滚"},
}};

// The buttons, which report a release; the wheel's steps and tilts do not.
constexpr bool IsButtonSlot(int slot) {
  return slot == SlotMiddle || slot == SlotRight || slot == SlotForward || slot == SlotBack;
}

constexpr uint32_t SlotFilterBit(int slot) {
  return kSlotInfo[slot].filterBit;
}

// Mask of the driver filter: the bits of every slot whose flag is set.
uint32_t FilterMask(const std::array<int32_t, kSlotCount>& remapped);

// Factory state: every code equals the native one, paths empty.
SlotTable FactorySlots();

// Length of a path up to its terminator, never past the field.
size_t PathLength(const ButtonSlot& slot);

// The path up to its terminator.
inline std::u16string_view PathText(const ButtonSlot& slot) {
  return {slot.Path, PathLength(slot)};
}

// Copies text into a slot path, cut to 259 units, the rest of the field zeroed.
void SetPath(ButtonSlot& slot, std::u16string_view text);

}  // namespace norvi
