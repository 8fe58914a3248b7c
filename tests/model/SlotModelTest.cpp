#include <gtest/gtest.h>

#include <map>
#include <set>

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

TEST(FunctionCatalogue, CodesSitInTheirCategoryRangesWithUniqueKeys) {
  std::set<std::string_view> keys;
  int count = 0;
  for (const FunctionInfo& f : FunctionCatalogue()) {
    ++count;
    EXPECT_TRUE(keys.insert(f.key).second) << f.key;
    const auto base = static_cast<int32_t>((f.code - 1) / 16);
    static constexpr FunctionCategory kByBlock[] = {
        FunctionCategory::Base,  FunctionCategory::None,  FunctionCategory::Windows,
        FunctionCategory::Media, FunctionCategory::Mouse, FunctionCategory::Advance};
    ASSERT_LT(base, 6);
    EXPECT_EQ(f.category, f.code == 96 ? FunctionCategory::Disable : kByBlock[base]) << f.code;
    EXPECT_EQ(FindFunction(f.code), &f);
  }
  EXPECT_EQ(count, 44);
  EXPECT_EQ(FunctionKey(35), "str_list_windows_lock_PC");
  EXPECT_EQ(FunctionKey(69), "str_list_mouse_backward");
  EXPECT_EQ(FunctionKey(84), "str_list_advance_open_dir");
  EXPECT_EQ(FunctionKey(96), "str_list_disable");
  EXPECT_EQ(CategoryHeaderKey(FunctionCategory::Advance), "str_list_advance");
}

// The whole table as written down for the product: a swapped pair of keys fails.
TEST(FunctionCatalogue, EveryCodeHasItsOwnKey) {
  const std::map<int32_t, std::string_view> expected = {
      {1, "str_list_base_cut"},
      {2, "str_list_base_copy"},
      {3, "str_list_base_paste"},
      {4, "str_list_base_selectall"},
      {5, "str_list_base_search"},
      {6, "str_list_base_new"},
      {7, "str_list_base_paint"},
      {8, "str_list_base_save"},
      {33, "str_list_windows_switch_window"},
      {34, "str_list_windows_close_window"},
      {35, "str_list_windows_lock_PC"},
      {36, "str_list_windows_resource_manager"},
      {37, "str_list_windows_run"},
      {38, "str_list_windows_desktop"},
      {39, "str_list_windows_start"},
      {40, "str_list_windows_find"},
      {41, "str_list_windows_super_button"},
      {42, "str_list_windows_zoom_in"},
      {43, "str_list_windows_zoom_out"},
      {44, "str_list_windows_maximize"},
      {45, "str_list_windows_minimize"},
      {49, "str_list_media_player"},
      {50, "str_list_media_play_pause"},
      {51, "str_list_media_stop"},
      {52, "str_list_media_previous"},
      {53, "str_list_media_next"},
      {54, "str_list_media_vol_plus"},
      {55, "str_list_media_vol_less"},
      {56, "str_list_media_mute"},
      {65, "str_list_mouse_left"},
      {66, "str_list_mouse_right"},
      {67, "str_list_mouse_middle"},
      {68, "str_list_mouse_forward"},
      {69, "str_list_mouse_backward"},
      {70, "str_list_mouse_roll_up"},
      {71, "str_list_mouse_roll_down"},
      {72, "str_list_mouse_roll_left"},
      {73, "str_list_mouse_roll_right"},
      {81, "str_list_advance_play_sound"},
      {82, "str_list_advance_open_program"},
      {83, "str_list_advance_open_file"},
      {84, "str_list_advance_open_dir"},
      {85, "str_list_advance_keys"},
      {96, "str_list_disable"},
  };
  std::map<int32_t, std::string_view> actual;
  for (const FunctionInfo& f : FunctionCatalogue()) actual[f.code] = f.key;
  EXPECT_EQ(actual, expected);
  for (const auto& [code, key] : expected) EXPECT_EQ(FunctionKey(code), key) << code;
}

TEST(FunctionCatalogue, EveryOtherValueHasNoName) {
  const std::set<int32_t> known = {1,  2,  3,  4,  5,  6,  7,  8,  33, 34, 35, 36, 37, 38, 39,
                                   40, 41, 42, 43, 44, 45, 49, 50, 51, 52, 53, 54, 55, 56, 65,
                                   66, 67, 68, 69, 70, 71, 72, 73, 81, 82, 83, 84, 85, 96};
  for (int32_t code = -20; code <= 300; ++code)
    EXPECT_EQ(FindFunction(code) != nullptr, known.count(code) == 1) << code;
  EXPECT_EQ(FindFunction(INT32_MIN), nullptr);
  EXPECT_EQ(FindFunction(INT32_MAX), nullptr);
  EXPECT_TRUE(UsesPath(81) && UsesPath(84));
  EXPECT_FALSE(UsesPath(80) || UsesPath(85) || UsesPath(96));
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

TEST(SlotTable, FactoryOrderBitsAndMask) {
  const SlotTable slots = FactorySlots();
  const int32_t expected[kSlotCount] = {67, 66, 70, 71, 68, 69, 72, 73};
  const uint32_t bits[kSlotCount] = {0x004, 0x002, 0x020, 0x040, 0x010, 0x008, 0x080, 0x100};
  for (int i = 0; i < kSlotCount; ++i) {
    EXPECT_EQ(slots[i].InitID, expected[i]);
    EXPECT_EQ(slots[i].TempID, expected[i]);
    EXPECT_EQ(slots[i].FunID, expected[i]);
    EXPECT_EQ(PathLength(slots[i]), 0u);
    EXPECT_EQ(SlotFilterBit(i), bits[i]);
  }
  EXPECT_EQ(kSlotInfo[SlotForward].traceWord, u"前进键");
  EXPECT_EQ(FilterMask({0, 0, 0, 0, 0, 0, 0, 0}), 0u);
  EXPECT_EQ(FilterMask({1, 1, 1, 1, 1, 1, 1, 1}), 0x1FEu);
  EXPECT_EQ(FilterMask({0, 0, 0, 0, 1, 0, 1, 1}), 0x190u);
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
