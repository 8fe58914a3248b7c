#include "app/MainLayout.h"

namespace norvi {
namespace {

using C = MainControl;

constexpr ControlPlace Same(C control, LayoutRect place) {
  return {control, place, place};
}

constexpr std::array<ControlPlace, kMainControlCount> kPlaces{{
    Same(C::Minimise, {921, 1, 959, 40}),
    Same(C::Close, {960, 1, 998, 40}),
    Same(C::SpeedSlider, {106, 210, 292, 226}),
    Same(C::Precision, {62, 237, 262, 261}),
    {C::RowsOption, {60, 407, 271, 427}, {59, 406, 246, 451}},
    {C::RowsEdit, {277, 411, 300, 428}, {256, 436, 279, 453}},
    {C::RowsUp, {300, 406, 315, 417}, {279, 431, 294, 442}},
    {C::RowsDown, {300, 417, 315, 428}, {279, 442, 294, 453}},
    {C::ScreenOption, {62, 437, 203, 457}, {60, 459, 294, 510}},
    Same(C::Slot0, {836, 192, 872, 222}),
    Same(C::Slot1, {883, 190, 936, 233}),
    Same(C::Slot2, {829, 142, 880, 188}),
    Same(C::Slot3, {834, 221, 876, 263}),
    Same(C::Slot4, {531, 402, 556, 427}),
    Same(C::Slot5, {564, 400, 595, 428}),
    Same(C::Slot6, {504, 427, 532, 454}),
    Same(C::Slot7, {498, 390, 524, 417}),
    Same(C::Language, {36, 647, 78, 664}),
    Same(C::Pair, {410, 619, 594, 665}),
    Same(C::Defaults, {595, 619, 777, 665}),
    Same(C::Ok, {778, 619, 963, 665}),
}};

}  // namespace

const std::array<ControlPlace, kMainControlCount>& MainControlPlaces() {
  return kPlaces;
}

LayoutRect PlaceOf(MainControl control, bool chineseInterface) {
  const ControlPlace& place = kPlaces[static_cast<size_t>(control)];
  return chineseInterface ? place.chinese : place.other;
}

uint32_t HoverHits(const std::array<LayoutRect, kDescribedCount>& rects, int32_t x, int32_t y) {
  uint32_t hits = 0;
  for (size_t i = 0; i < rects.size(); ++i) {
    const LayoutRect& r = rects[i];
    if (x >= r.left - 1 && x < r.right + 1 && y >= r.top - 1 && y < r.bottom + 1) hits |= 1u << i;
  }
  return hits;
}

MainControl SlotControl(int slot) {
  return static_cast<MainControl>(static_cast<int>(MainControl::Slot0) + slot);
}

namespace {

// The fourteen described controls in hover order and their language keys; the slot buttons
// show their function's name instead.
struct Described {
  MainControl control;
  std::string_view key;
};
constexpr std::array<Described, kDescribedCount> kDescribed{{
    {MainControl::Precision, "str_improveAccuracy"},
    {MainControl::RowsOption, "str_rollerRows"},
    {MainControl::ScreenOption, "str_rollerScreen"},
    {MainControl::Slot0, {}},
    {MainControl::Slot1, {}},
    {MainControl::Slot2, {}},
    {MainControl::Slot3, {}},
    {MainControl::Slot4, {}},
    {MainControl::Slot5, {}},
    {MainControl::Slot6, {}},
    {MainControl::Slot7, {}},
    {MainControl::Pair, "str_openPair"},
    {MainControl::Defaults, "str_list_default"},
    {MainControl::Ok, "str_ok"},
}};

}  // namespace

int SlotOf(MainControl control) {
  const int slot = static_cast<int>(control) - static_cast<int>(MainControl::Slot0);
  return slot >= 0 && slot < kSlotCount ? slot : -1;
}

MainControl DescribedControl(int number) {
  return kDescribed[static_cast<size_t>(number - 1)].control;
}

std::u16string HoverText(int number, const SlotTable& slots, const IStringLookup& strings,
                         const IKeyNames& keyNames) {
  if (number < 1 || number > kDescribedCount) return {};
  const Described& d = kDescribed[static_cast<size_t>(number - 1)];
  if (const int slot = SlotOf(d.control); slot >= 0) {
    const ButtonSlot& s = slots[static_cast<size_t>(slot)];
    return SlotFunctionName(s.FunID, PathText(s), strings, keyNames);
  }
  return std::u16string(strings.Text(d.key));
}

}  // namespace norvi
