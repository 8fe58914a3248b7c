#include "localisation/StringTable.h"

#include <algorithm>
#include <exception>

#include "localisation/BuiltInTexts.h"
#include "localisation/Languages.h"
#include "model/Text.h"

namespace norvi {
namespace {

// Index of key in the table; kLanguageKeys.size() when it is not there.
size_t KeyIndex(std::string_view key) {
  return static_cast<size_t>(std::find(kLanguageKeys.begin(), kLanguageKeys.end(), key) -
                             kLanguageKeys.begin());
}

constexpr std::u16string_view kEnglishFileName = u"en.xml";

// Where the file name of path starts.
size_t FileNameStart(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? 0 : slash + 1;
}

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// Fills every empty string from the language file at path, read into doc.
void FillEmptyFrom(XmlDoc& doc, std::u16string_view path,
                   std::array<std::u16string, kLanguageKeys.size()>& strings) {
  if (!doc.LoadFile(path)) return;
  for (size_t i = 0; i < kLanguageKeys.size(); ++i)
    if (strings[i].empty())
      strings[i] = LookupKey(doc, kLanguageKeyParent, AsciiToUtf16(kLanguageKeys[i]));
}

}  // namespace

int32_t LanguageOfFile(std::u16string_view path) {
  const std::u16string_view name = path.substr(FileNameStart(path));
  for (const Language& language : kLanguages) {
    const std::u16string_view file = language.file;
    if (SameNameIgnoringCase(name, file.substr(FileNameStart(file)))) return language.index;
  }
  return 0;
}

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
  language_ = LanguageOfFile(path);
  try {
    std::array<std::u16string, kLanguageKeys.size()> fresh;
    for (size_t i = 0; i < kLanguageKeys.size(); ++i)
      fresh[i] = LookupKey(doc_, kLanguageKeyParent, AsciiToUtf16(kLanguageKeys[i]));
    const size_t name = FileNameStart(path);
    if (!SameNameIgnoringCase(path.substr(name), kEnglishFileName)) {
      XmlDoc english;
      FillEmptyFrom(english,
                    std::u16string(path.substr(0, name)) + std::u16string(kEnglishFileName), fresh);
    }
    for (size_t i = 0; i < kLanguageKeys.size(); ++i)
      if (fresh[i].empty()) fresh[i] = BuiltInEnglish(kLanguageKeys[i]);
    strings_.swap(fresh);
  } catch (const std::exception&) {  // no memory for the texts: the shown ones stay
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
