#pragma once
// Display names of function codes, read from the current language's strings.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/KeyCombo.h"

namespace norvi {

// Lookup of an interface string by its language key; the string table implements it.
class IStringLookup {
 public:
  virtual ~IStringLookup() = default;
  // Empty for an unknown key or a key the current language leaves out.
  virtual std::u16string_view Text(std::string_view key) const = 0;
  // The interface language the strings are in (1 to 12), which picks the face they are
  // drawn with; 0 when they come from no language file.
  virtual int32_t LanguageIndex() const { return 0; }
};

// A copy of the current display name; empty for a code without a name.
std::u16string FunctionName(int32_t code, const IStringLookup& strings);

// Language key of a key combination's name with its keys: "Keys: %s".
constexpr std::string_view kKeysNamedKey = "str_keys_named";

// The name of a slot's function as the hint line, the tooltips and the picker show it: the
// display name, except that a key combination reads "Keys: Ctrl + Shift + T" (the keyboard's
// own key names in place of %s). A combination whose text does not parse reads as the plain
// display name.
std::u16string SlotFunctionName(int32_t code, std::u16string_view path,
                                const IStringLookup& strings, const IKeyNames& names);

}  // namespace norvi
