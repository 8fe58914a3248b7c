// The platform-neutral part of the file helpers: the replacing save, built on the platform's
// own writes and renames.
#include "model/FileIO.h"

namespace norvi {

FileResult ReplaceFileContents(std::u16string_view path, std::span<const std::byte> data) {
  // A file the user made read-only is not to be replaced; a rename would replace it anyway.
  if (IsReadOnlyFile(path)) return {syserr::AccessDenied, 0};
  const std::u16string temporary = TemporarySiblingOf(path);
  // The bytes reach the disk before the name points at them.
  FileResult result = WriteWholeFile(temporary, data, WriteMode::Flushed);
  if (result.ok()) {
    const FileResult moved = MoveFileReplacing(temporary, path);
    if (moved.ok()) return result;
    result = moved;
  }
  RemoveFile(temporary);
  return {result.error, 0};
}

}  // namespace norvi
