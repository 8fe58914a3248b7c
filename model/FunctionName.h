#pragma once
// Display names of function codes, read from the current language's strings.

#include <cstdint>
#include <string>
#include <string_view>

namespace norvi {

// Lookup of an interface string by its language key; the string table implements it.
class IStringLookup {
 public:
  virtual ~IStringLookup() = default;
  // Empty for an unknown key or a key the current language leaves out.
  virtual std::u16string_view Text(std::string_view key) const = 0;
};

// A copy of the current display name; empty for a code without a name.
std::u16string FunctionName(int32_t code, const IStringLookup& strings);

}  // namespace norvi
