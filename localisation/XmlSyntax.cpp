#include "localisation/XmlSyntax.h"

namespace norvi::xml {

std::u16string_view TagAt(std::u16string_view text, size_t pos) {
  char16_t quote = 0;
  for (size_t i = pos + 1; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'>') {
      return text.substr(pos, i + 1 - pos);
    }
  }
  return text.substr(pos);
}

std::u16string_view AttributeValue(std::u16string_view tag, std::u16string_view name,
                                   bool ignoreCase) {
  // Past "<", an optional "?" of a processing instruction, and the tag name.
  size_t i = tag.size() > 1 && tag[1] == u'?' ? 2 : 1;
  i = NameEnd(tag, i);
  while (i < tag.size()) {
    while (i < tag.size() && (IsSpace(tag[i]) || tag[i] == u'/' || tag[i] == u'?')) ++i;
    const size_t nameStart = i;
    while (i < tag.size() && !IsSpace(tag[i]) && tag[i] != u'=' && tag[i] != u'>') ++i;
    const std::u16string_view attribute = tag.substr(nameStart, i - nameStart);
    if (attribute.empty()) return {};
    while (i < tag.size() && IsSpace(tag[i])) ++i;
    std::u16string_view value;
    if (i < tag.size() && tag[i] == u'=') {
      ++i;
      while (i < tag.size() && IsSpace(tag[i])) ++i;
      size_t valueStart = i;
      if (i < tag.size() && (tag[i] == u'"' || tag[i] == u'\'')) {
        const char16_t quote = tag[i++];
        valueStart = i;
        while (i < tag.size() && tag[i] != quote) ++i;
        value = tag.substr(valueStart, i - valueStart);
        if (i < tag.size()) ++i;
      } else {
        while (i < tag.size() && !IsSpace(tag[i]) && tag[i] != u'>') ++i;
        value = tag.substr(valueStart, i - valueStart);
      }
    }
    if (ignoreCase ? EqualsIgnoringCase(attribute, name) : attribute == name) return value;
  }
  return {};
}

}  // namespace norvi::xml
