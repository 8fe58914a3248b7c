#pragma once
// Small helpers shared by the localisation tests.

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>

#include "model/FileIO.h"

namespace norvi::test {

// How many times part occurs in text, without overlaps.
inline size_t Occurrences(std::u16string_view text, std::u16string_view part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != text.npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

inline void WriteText(const std::u16string& path, std::string_view text) {
  ASSERT_TRUE(WriteWholeFile(path, std::as_bytes(std::span(text.data(), text.size()))).ok());
}

}  // namespace norvi::test
