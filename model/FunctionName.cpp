#include "model/FunctionName.h"

#include "model/FunctionCodes.h"
#include "model/Text.h"

namespace norvi {

std::u16string FunctionName(int32_t code, const IStringLookup& strings) {
  const std::string_view key = FunctionKey(code);
  if (key.empty()) return {};
  return std::u16string(strings.Text(key));
}

std::u16string SlotFunctionName(int32_t code, std::u16string_view path,
                                const IStringLookup& strings, const IKeyNames& names) {
  const auto combo = code == fn::Keys ? ParseKeyCombo(path) : std::nullopt;
  if (!combo) return FunctionName(code, strings);
  const std::u16string keys = ComboText(*combo, names);
  const std::u16string_view format = strings.Text(kKeysNamedKey);
  // Without its text (a language file that lacks it) the keys alone still say what it does.
  return format.empty() ? keys : FillIn(format, keys);
}

}  // namespace norvi
