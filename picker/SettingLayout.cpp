#include "picker/SettingLayout.h"

#include "picker/KeysRowLayout.h"

namespace norvi {
namespace {

// Display order; each row's text is its function's name.
constexpr std::array<int32_t, 8> kBaseRows{1, 2, 3, 4, 5, 6, 7, 8};
constexpr std::array<int32_t, 13> kWindowsRows{33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45};
constexpr std::array<int32_t, 8> kMediaRows{49, 50, 51, 52, 53, 54, 55, 56};
// The middle button stands before the right one: users look for it under the left.
constexpr std::array<int32_t, 9> kMouseRows{65, 67, 66, 68, 69, 70, 71, 72, 73};

}  // namespace

std::span<const int32_t> ListRows(int category) {
  switch (category) {
    case kCategoryBase: return kBaseRows;
    case kCategoryWindows: return kWindowsRows;
    case kCategoryMedia: return kMediaRows;
    case kCategoryMouse: return kMouseRows;
    default: return {};
  }
}

int CategoryOf(int32_t code) {
  for (int category = kCategoryBase; category <= kCategoryMouse; ++category)
    for (const int32_t row : ListRows(category))
      if (row == code) return category;
  if (NeedsPath(code) || code == kKeysRow.code) return kCategoryAdvance;
  return 0;
}

bool NeedsPath(int32_t code) {
  for (const AdvancedRow& row : kAdvancedRows)
    if (row.code == code) return true;
  return false;
}

std::u16string DialogFilter(std::u16string_view filter) {
  std::u16string text(filter);
  for (char16_t& c : text)
    if (c == u'|') c = u'\0';
  return text;
}

}  // namespace norvi
