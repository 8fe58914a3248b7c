// What the picker offers, against the catalogue and the profile; the file filters of the
// advanced page as the system reads them.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <span>
#include <vector>

#include "model/FunctionCodes.h"
#include "model/ProfileImage.h"
#include "picker/KeysRowLayout.h"
#include "picker/SettingLayout.h"

namespace norvi {
namespace {

TEST(PickerLayout, FiltersBecomeTerminatedPairsEndingInAnEmptyOne) {
  using namespace std::string_literals;
  const struct {
    std::u16string_view in;
    std::u16string out;
  } cases[] = {
      {u"(*.wav*)|*.wav*||", u"(*.wav*)\0*.wav*\0\0"s},
      {u"(*.*)|*.*||", u"(*.*)\0*.*\0\0"s},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DialogFilter(c.in), c.out);
  }
}

// Every function of the catalogue is offered exactly once: on the list page of its category,
// as a row of the advanced page (the path rows and the Keys row), or (disabling) by the
// disable button.
TEST(PickerOffers, EveryFunctionOnceOnThePageOfItsCategory) {
  const std::map<int, FunctionCategory> pageOf = {{kCategoryBase, FunctionCategory::Base},
                                                  {kCategoryWindows, FunctionCategory::Windows},
                                                  {kCategoryMedia, FunctionCategory::Media},
                                                  {kCategoryMouse, FunctionCategory::Mouse}};
  std::multiset<int32_t> offered{fn::Disable, kKeysRow.code};
  EXPECT_EQ(kKeysRow.labelKey, FunctionKey(kKeysRow.code));
  for (const auto& [page, category] : pageOf) {
    for (const int32_t code : ListRows(page)) {
      const FunctionInfo* f = FindFunction(code);
      ASSERT_NE(f, nullptr) << code;
      EXPECT_EQ(f->category, category) << code;
      offered.insert(code);
    }
  }
  EXPECT_TRUE(ListRows(kCategoryAdvance).empty());
  EXPECT_TRUE(ListRows(0).empty() && ListRows(kCategoryCount + 1).empty());
  for (const AdvancedRow& row : kAdvancedRows) {
    EXPECT_TRUE(UsesPath(row.code)) << row.code;
    EXPECT_EQ(row.labelKey, FunctionKey(row.code)) << row.code;
    offered.insert(row.code);
  }
  std::multiset<int32_t> catalogue;
  for (const FunctionInfo& f : FunctionCatalogue()) catalogue.insert(f.code);
  EXPECT_EQ(offered, catalogue);
}

// A choice the picker offers survives the profile: written, read back and checked, the slot
// still holds it, path included; a value it never offers, and Keys without a combination, are
// put back to the slot's own.
TEST(PickerOffers, ChoicesRoundTripThroughTheProfileAndOthersFallBackToTheNative) {
  std::vector<int32_t> offered{fn::Disable, kKeysRow.code};
  for (int page = kCategoryBase; page <= kCategoryMouse; ++page)
    for (const int32_t code : ListRows(page)) offered.push_back(code);
  for (const AdvancedRow& row : kAdvancedRows) offered.push_back(row.code);
  const std::set<int32_t> offeredSet(offered.begin(), offered.end());
  // Next to every offered code, and the ends of the range.
  std::vector<int32_t> never{INT32_MIN, INT32_MAX, 0};
  for (const int32_t code : offered)
    for (const int32_t near : {code - 1, code + 1})
      if (!offeredSet.count(near)) never.push_back(near);

  const auto roundTrip = [](int32_t code, int slot, std::u16string_view path) {
    ProfileImage image = DefaultProfile();
    image.Slots[slot].TempID = image.Slots[slot].FunID = code;
    SetPath(image.Slots[slot], path);
    ProfileImage read{};
    EXPECT_EQ(ImageFromBytes(ImageBytes(image), read), ImageCheck::Valid);
    CorrectImage(read);
    return read.Slots[slot];
  };
  for (int slot = 0; slot < kSlotCount; ++slot) {
    SCOPED_TRACE(slot);
    for (const int32_t code : offered) {
      const std::u16string_view path = code == fn::Keys ? u"keys:1:ctrl+shift+T" : u"C:\\chosen";
      const ButtonSlot read = roundTrip(code, slot, path);
      EXPECT_EQ(read.TempID, code);
      EXPECT_EQ(read.FunID, code);
      EXPECT_EQ(PathLength(read), path.size()) << code;
    }
    never.push_back(fn::Keys);  // with a path that is no combination
    for (const int32_t code : never) {
      const ButtonSlot read = roundTrip(code, slot, u"C:\\chosen");
      EXPECT_EQ(read.TempID, read.InitID) << code;
      EXPECT_EQ(read.FunID, read.InitID) << code;
    }
  }
}

}  // namespace
}  // namespace norvi
