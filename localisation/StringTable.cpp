#include "localisation/StringTable.h"

#include <algorithm>

#include "model/Text.h"

namespace norvi {
namespace {

// Index of key in the table; kLanguageKeys.size() when it is not there.
size_t KeyIndex(std::string_view key) {
  return static_cast<size_t>(std::find(kLanguageKeys.begin(), kLanguageKeys.end(), key) -
                             kLanguageKeys.begin());
}

}  // namespace

std::u16string LookupKey(XmlDoc& doc, std::u16string_view parentName, std::u16string_view key) {
  doc.Rewind();
  // Each round enters one more level of nested parentName elements.
  while (doc.FindChild(parentName)) {
    doc.EnterChild();
    if (doc.FindChild(key)) return doc.ChildText();
  }
  return {};
}

int StringTable::LoadLanguageStrings(std::u16string_view path) {
  const bool read = doc_.LoadFile(path);
  for (size_t i = 0; i < kLanguageKeys.size(); ++i)
    strings_[i] = LookupKey(doc_, kLanguageKeyParent, AsciiToUtf16(kLanguageKeys[i]));
  return read ? 1 : 0;
}

std::u16string_view StringTable::Text(std::string_view key) const {
  const size_t i = KeyIndex(key);
  return i < strings_.size() ? std::u16string_view(strings_[i]) : std::u16string_view();
}

int StringTable::Set(std::string_view key, std::u16string text) {
  const size_t i = KeyIndex(key);
  if (i >= strings_.size()) return 0;
  strings_[i] = std::move(text);
  return 1;
}

}  // namespace norvi
