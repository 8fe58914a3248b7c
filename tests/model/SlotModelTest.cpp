// The function catalogue and the slot table by their rules: categories, keys, names, lookups
// outside the catalogue, the factory slots and the driver's filter mask.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <map>
#include <set>
#include <string>

#include "model/ButtonSlot.h"
#include "model/FunctionCodes.h"
#include "model/FunctionName.h"

namespace norvi {
namespace {

class FakeStrings : public IStringLookup {
 public:
  std::map<std::string, std::u16string, std::less<>> texts;
  std::u16string_view Text(std::string_view key) const override {
    auto it = texts.find(key);
    return it == texts.end() ? std::u16string_view{} : std::u16string_view(it->second);
  }
};

// The catalogue's rules, not its rows: each code in the block of sixteen of its category (96
// alone disables), each key under its category's header key, and lookup by code finds the
// entry itself.
TEST(FunctionCatalogue, CodesSitInTheirCategoryBlocksAndKeysUnderTheirHeaders) {
  std::set<std::string_view> keys;
  for (const FunctionInfo& f : FunctionCatalogue()) {
    EXPECT_TRUE(keys.insert(f.key).second) << f.key;
    const auto block = static_cast<int32_t>((f.code - 1) / 16);
    static constexpr FunctionCategory kByBlock[] = {
        FunctionCategory::Base,  FunctionCategory::None,  FunctionCategory::Windows,
        FunctionCategory::Media, FunctionCategory::Mouse, FunctionCategory::Advance};
    ASSERT_LT(block, 6);
    EXPECT_EQ(f.category, f.code == fn::Disable ? FunctionCategory::Disable : kByBlock[block])
        << f.code;
    const std::string_view header = CategoryHeaderKey(f.category);
    ASSERT_FALSE(header.empty()) << f.code;
    EXPECT_TRUE(f.key == header || f.key.rfind(std::string(header) + "_", 0) == 0) << f.key;
    EXPECT_EQ(FindFunction(f.code), &f);
    EXPECT_EQ(FunctionKey(f.code), f.key);
    // The advanced functions but Keys, which keeps its combination in the path field as text.
    EXPECT_EQ(UsesPath(f.code), f.category == FunctionCategory::Advance && f.code != fn::Keys)
        << f.code;
  }
  EXPECT_TRUE(CategoryHeaderKey(FunctionCategory::None).empty());
}

// Lookup agrees with the catalogue for every value, and the values next to each category's
// codes, the gaps between the blocks and the ends of the range have no name.
TEST(FunctionCatalogue, ValuesOutsideTheCatalogueHaveNoName) {
  std::set<int32_t> known;
  for (const FunctionInfo& f : FunctionCatalogue()) known.insert(f.code);
  for (int32_t code = -20; code <= 300; ++code) {
    EXPECT_EQ(FindFunction(code) != nullptr, known.count(code) == 1) << code;
    EXPECT_EQ(FunctionKey(code).empty(), known.count(code) == 0) << code;
  }
  for (int32_t code : {0, 9, 16, 17, 32, 46, 48, 57, 64, 74, 80, 86, 95, 97, -fn::Copy, INT32_MIN,
                       INT32_MAX, INT32_MIN + fn::Copy})
    EXPECT_EQ(FindFunction(code), nullptr) << code;
  EXPECT_FALSE(UsesPath(fn::PlaySound - 1) || UsesPath(fn::OpenFolder + 1) ||
               UsesPath(fn::Disable));
}

TEST(FunctionName, FollowsTheCurrentLanguageAndIsEmptyWithoutKey) {
  FakeStrings strings;
  strings.texts["str_list_base_copy"] = u"Copy";
  strings.texts["str_list_disable"] = u"Disable";
  EXPECT_EQ(FunctionName(2, strings), u"Copy");
  EXPECT_EQ(FunctionName(96, strings), u"Disable");
  EXPECT_EQ(FunctionName(9, strings), u"");
  EXPECT_EQ(FunctionName(3, strings), u"");  // key known, language leaves it out
  strings.texts["str_list_base_copy"] = u"复制";
  EXPECT_EQ(FunctionName(2, strings), u"复制");
}

// Each slot starts on its own input's native function, a mouse function; the left button is
// never one of the eight.
TEST(SlotTable, FactorySlotsHoldTheirInputsNativeMouseFunction) {
  const SlotTable slots = FactorySlots();
  std::set<int32_t> natives;
  for (int i = 0; i < kSlotCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(slots[i].TempID, slots[i].InitID);
    EXPECT_EQ(slots[i].FunID, slots[i].InitID);
    EXPECT_EQ(PathLength(slots[i]), 0u);
    const FunctionInfo* native = FindFunction(slots[i].InitID);
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(native->category, FunctionCategory::Mouse);
    natives.insert(slots[i].InitID);
  }
  EXPECT_EQ(natives.size(), static_cast<size_t>(kSlotCount));
  EXPECT_EQ(natives.count(fn::MouseLeft), 0u);
  EXPECT_EQ(slots[SlotForward].InitID, fn::MouseForward);
  EXPECT_EQ(slots[SlotBack].InitID, fn::MouseBack);
  EXPECT_EQ(slots[SlotTiltLeft].InitID, fn::TiltLeft);
  EXPECT_EQ(slots[SlotWheelUp].InitID, fn::WheelUp);
}

// The driver's mask: one bit of its own per slot, never bit 0, and the mask of the flags set.
TEST(SlotTable, FilterMaskHasOneBitPerRemappedSlot) {
  uint32_t all = 0;
  for (int i = 0; i < kSlotCount; ++i) {
    const uint32_t bit = SlotFilterBit(i);
    EXPECT_EQ(std::popcount(bit), 1) << i;
    EXPECT_EQ(all & bit, 0u) << i;
    all |= bit;
    std::array<int32_t, kSlotCount> one{};
    one[i] = 1;
    EXPECT_EQ(FilterMask(one), bit) << i;
  }
  EXPECT_EQ(all & 1u, 0u);
  EXPECT_EQ(FilterMask({0, 0, 0, 0, 0, 0, 0, 0}), 0u);
  EXPECT_EQ(FilterMask({1, 1, 1, 1, 1, 1, 1, 1}), 0x1FEu);
  EXPECT_EQ(FilterMask({0, 0, 0, 0, 1, 0, 1, 1}), 0x190u);  // forward and both tilts
  EXPECT_EQ(SlotFilterBit(SlotForward), 0x010u);
}

TEST(SlotTable, SetPathCutsAt259AndZeroesTheRest) {
  ButtonSlot slot{};
  std::fill(std::begin(slot.Path), std::end(slot.Path), u'x');
  SetPath(slot, u"C:\\a.wav");
  EXPECT_EQ(PathLength(slot), 8u);
  for (int i = 8; i < kPathUnits; ++i) ASSERT_EQ(slot.Path[i], 0) << i;

  SetPath(slot, std::u16string(400, u'p'));
  EXPECT_EQ(PathLength(slot), 259u);
  EXPECT_EQ(slot.Path[259], 0);
}

}  // namespace
}  // namespace norvi
