#pragma once
// Whole-file reads and writes by UTF-16 path, reporting Windows error codes on every
// platform (the native build maps errno onto them), so outcomes read the same everywhere.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/SystemErrors.h"

namespace norvi {

struct FileResult {
  uint32_t error = syserr::Success;  // Windows error code; 0 on success
  size_t bytes = 0;                  // bytes read or written
  bool ok() const { return error == syserr::Success; }
};

// Reads at most buffer.size() bytes from the start of the file.
FileResult ReadFilePrefix(std::u16string_view path, std::span<std::byte> buffer);

// Creates or truncates the file and writes all of data.
FileResult WriteWholeFile(std::u16string_view path, std::span<const std::byte> data);

// Creates the folder and every missing level above it; success when it already exists.
FileResult CreateFolderTree(std::u16string_view path);

}  // namespace norvi
