#pragma once
// The advanced page's fifth row, "Keys...": a choice button, the capture field that takes the
// combination, and a button that clears it (page coordinates, below the four path rows).

#include <string_view>

#include "controls/ImageGeometry.h"
#include "model/FunctionCodes.h"

namespace norvi {

struct KeysRowPlace {
  int32_t code;
  std::string_view labelKey;  // label and choice tooltip
  EdgeRect choice, field, clear, label;
};

constexpr KeysRowPlace kKeysRow{fn::Keys,
                                "str_list_advance_keys",
                                {21, 140, 38, 157},
                                {130, 141, 262, 157},
                                {273, 138, 349, 160},
                                {41, 141, 127, 161}};

// Texts of the row: the clear button, the field's prompts, and its tooltip for each kind of
// combination.
constexpr std::string_view kKeysClearKey = "str_keys_clear";
constexpr std::string_view kKeysPromptKey = "str_keys_prompt";        // empty field, idle
constexpr std::string_view kKeysListeningKey = "str_keys_listening";  // empty field, listening
constexpr std::string_view kKeysHintKey = "str_keys_hint";
constexpr std::string_view kKeysModifiersOnlyKey = "str_keys_modifiers_only";
constexpr std::string_view kKeysEscapeKey = "str_keys_escape";

// What follows the modifiers of a combination not finished yet: "Ctrl + Shift + ...".
constexpr std::u16string_view kKeysUnfinished = u" + \u2026";

}  // namespace norvi
