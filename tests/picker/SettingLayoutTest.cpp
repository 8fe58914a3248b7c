// The file filters of the advanced page as the system reads them: pairs of terminated strings
// ended by an empty one.
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

}  // namespace
}  // namespace norvi
