// The platform-neutral part of the file helpers: the replacing save, built on the platform's
// own writes and renames.
#include "model/FileIO.h"

namespace norvi {

FileResult ReplaceFileContents(std::u16string_view path, std::span<const std::byte> data) {
  // A file the user made read-only is not to be replaced; a rename would replace it anyway.
  if (IsReadOnlyFile(path)) return {syserr::AccessDenied, 0};
  const uint32_t process = CurrentProcessId();
  FileResult result{syserr::FileExists, 0};
  std::u16string temporary;
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    temporary = TemporarySiblingOf(path, process, attempt);
    // The bytes reach the disk before the name points at them. Only a file this save
    // created is written, renamed or removed: anything already under the name is not ours.
    result = WriteNewFile(temporary, data);
    if (result.ok() || !PathExists(temporary)) break;
  }
  if (!result.ok()) return {result.error, 0};
  const FileResult moved = MoveFileReplacing(temporary, path);
  if (moved.ok()) return result;
  RemoveFile(temporary);
  return {moved.error, 0};
}

}  // namespace norvi
