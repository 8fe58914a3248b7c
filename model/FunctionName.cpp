#include "model/FunctionName.h"

#include "model/FunctionCodes.h"

namespace norvi {

std::u16string FunctionName(int32_t code, const IStringLookup& strings) {
  const std::string_view key = FunctionKey(code);
  if (key.empty()) return {};
  return std::u16string(strings.Text(key));
}

}  // namespace norvi
