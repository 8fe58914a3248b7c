#include "swap/SwapEntry.h"

#include <algorithm>

namespace norvi::swap {

void CopyTitle(std::u16string_view text, std::array<char16_t, kTitleField>& field) {
  size_t length = std::min(text.size(), kTitleField - 1);
  // A cut between the halves of a surrogate pair would leave half a character.
  if (length < text.size() && length > 0 && text[length - 1] >= 0xD800 &&
      text[length - 1] <= 0xDBFF)
    --length;
  std::copy_n(text.begin(), length, field.begin());
  std::fill(field.begin() + static_cast<std::ptrdiff_t>(length), field.end(), u'\0');
}

void EntryTable::Add(IconId icon, WindowId window, std::u16string_view title) {
  if (Full()) return;
  SwapEntry& e = entries[static_cast<size_t>(count)];
  e.icon = icon;
  e.window = window;
  CopyTitle(title, e.title);
  ++count;
}

}  // namespace norvi::swap
