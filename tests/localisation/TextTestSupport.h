#pragma once
// Small helpers shared by the localisation tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "model/FileIO.h"
#include "model/Text.h"

namespace norvi::testkit {

// How many times part occurs in text, without overlaps.
inline size_t Occurrences(std::u16string_view text, std::u16string_view part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != text.npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

// A path under the source tree; under Wine the Unix root is drive Z:.
inline std::u16string SourcePath(std::u16string_view relative) {
  const char* root = std::getenv("NORVI_SOURCE_DIR");
  std::u16string path = Utf8ToUtf16(root ? root : NORVI_DEFAULT_SOURCE_DIR);
#ifdef _WIN32
  if (!path.empty() && path[0] == u'/') path = u"Z:" + path;
  std::replace(path.begin(), path.end(), u'/', u'\\');
#endif
  return path + u"\\" + std::u16string(relative);
}

inline void WriteText(const std::u16string& path, std::string_view text) {
  ASSERT_TRUE(WriteWholeFile(path, std::as_bytes(std::span(text.data(), text.size()))).ok());
}

}  // namespace norvi::testkit
