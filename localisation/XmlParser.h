#pragma once
// Builds the element table of a document in one pass over its text.

#include <string>
#include <string_view>

#include "localisation/ElemTable.h"

namespace norvi {

// Fills the table (record 0 is the document) and returns the well-formedness messages,
// separated by "; ", or an empty string for a well-formed document. Errors never stop the
// parse; each marks record 0 as not well-formed.
std::u16string ParseElements(std::u16string_view text, ElemTable& table);

}  // namespace norvi
