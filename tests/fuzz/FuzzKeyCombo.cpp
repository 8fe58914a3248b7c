// Any UTF-16 text read as a key combination: what parses is valid and is exactly its own
// canonical text, and no modifier-free, key-free or non-key combination ever comes out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/KeyCombo.h"

namespace {

constexpr size_t kMaxUnits = 260;  // a slot's whole path field

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace norvi;
  std::u16string text(std::min(size / 2, kMaxUnits), u'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * 2);
  const auto combo = ParseKeyCombo(text);
  if (!combo) return 0;
  Check(IsValid(*combo));
  Check(combo->key == 0 || IsComboKey(combo->key));
  Check(FormatKeyCombo(*combo) == text);
  return 0;
}
