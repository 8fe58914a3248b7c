// The picker's portable tables where a slip would go unnoticed on screen: the file filters as
// the system reads them and the rows of the lists.
#include <gtest/gtest.h>

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

TEST(PickerLayout, EachListHoldsItsCategoryAndOnlyTheMousePageLeavesCodeOrder) {
  const struct {
    int category;
    size_t rows;
    int32_t first, last;
  } cases[] = {{kCategoryBase, 8, 1, 8},
               {kCategoryWindows, 13, 33, 45},
               {kCategoryMedia, 8, 49, 56},
               {kCategoryMouse, 9, 65, 73}};
  for (const auto& c : cases) {
    const auto rows = ListRows(c.category);
    ASSERT_EQ(rows.size(), c.rows) << c.category;
    EXPECT_EQ(rows.front().code, c.first);
    EXPECT_EQ(rows.back().code, c.last);
    for (size_t i = 1; i < rows.size(); ++i) {
      const bool swapped = c.category == kCategoryMouse && i <= 3;
      if (!swapped) {
        EXPECT_EQ(rows[i].code, rows[i - 1].code + 1) << c.category << " row " << i;
      }
    }
  }
  const auto mouse = ListRows(kCategoryMouse);
  EXPECT_EQ(mouse[1].code, 67);
  EXPECT_EQ(mouse[1].key, "str_list_mouse_middle");
  EXPECT_EQ(mouse[2].code, 66);
  EXPECT_TRUE(ListRows(0).empty());
  EXPECT_TRUE(ListRows(kCategoryAdvance).empty());
}

}  // namespace
}  // namespace norvi
