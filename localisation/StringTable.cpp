#include "localisation/StringTable.h"

#include <algorithm>
#include <exception>

#include "model/SystemErrors.h"
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
  // A file too big for the reader is no language: the strings shown so far stay.
  const uint32_t error = doc_.LoadError();
  if (error == syserr::FileTooLarge || error == syserr::NotEnoughMemory) return 0;
  try {
    std::array<std::u16string, kLanguageKeys.size()> fresh;
    for (size_t i = 0; i < kLanguageKeys.size(); ++i)
      fresh[i] = LookupKey(doc_, kLanguageKeyParent, AsciiToUtf16(kLanguageKeys[i]));
    strings_.swap(fresh);
  } catch (const std::exception&) {  // out of memory for the texts: likewise
    return 0;
  }
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
