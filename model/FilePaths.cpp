// The portable part of file access: names derived from paths.

#include "model/FileIO.h"

namespace norvi {
namespace {

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

// Length up to and with the separator that ends the next `parts` components after start,
// or the whole path when it ends first.
size_t AfterComponents(std::u16string_view path, size_t start, int parts) {
  size_t i = start;
  for (int part = 0; part < parts; ++part) {
    while (i < path.size() && !IsSeparator(path[i])) ++i;
    if (i == path.size()) return i;
    ++i;
  }
  return i;
}

bool HasDrive(std::u16string_view path, size_t at) {
  return path.size() >= at + 2 && path[at + 1] == u':' &&
         ((path[at] >= u'A' && path[at] <= u'Z') || (path[at] >= u'a' && path[at] <= u'z'));
}

size_t DriveRootLength(std::u16string_view path, size_t at) {
  const size_t end = at + 2;
  return end < path.size() && IsSeparator(path[end]) ? end + 1 : end;
}

}  // namespace

std::u16string TemporarySiblingOf(std::u16string_view path, uint32_t processId, int attempt) {
  constexpr char16_t kHex[] = u"0123456789abcdef";
  std::u16string temporary(path);
  temporary += u".new-";
  for (int shift = 28; shift >= 0; shift -= 4) temporary += kHex[(processId >> shift) & 0xF];
  temporary += u'-';
  temporary += kHex[attempt & 0xF];
  return temporary;
}

std::u16string GrowingQuery(const std::function<uint32_t(char16_t* buffer, uint32_t size)>& query) {
  constexpr uint32_t kLongest = 32768;  // the longest path Windows knows, terminator included
  for (uint32_t size = 260;; size = size * 2 > kLongest ? kLongest : size * 2) {
    std::u16string buffer(size, u'\0');
    const uint32_t n = query(buffer.data(), size);
    if (n == 0) return {};
    if (n < size) {
      buffer.resize(n);
      return buffer;
    }
    if (size == kLongest) return {};
  }
}

size_t FolderRootLength(std::u16string_view path) {
  constexpr std::u16string_view kLongPrefix = u"\\\\?\\";
  constexpr std::u16string_view kLongUnc = u"\\\\?\\UNC\\";
  if (path.starts_with(kLongUnc)) return AfterComponents(path, kLongUnc.size(), 2);
  if (path.starts_with(kLongPrefix))
    return HasDrive(path, kLongPrefix.size()) ? DriveRootLength(path, kLongPrefix.size())
                                              : AfterComponents(path, kLongPrefix.size(), 1);
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
    return AfterComponents(path, 2, 2);
  if (HasDrive(path, 0)) return DriveRootLength(path, 0);
  return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

}  // namespace norvi
