#pragma once
// Whole-file reads and writes by UTF-16 path, reporting Windows error codes on every
// platform (the native build maps errno onto them), so outcomes read the same everywhere.

#include <cstddef>
#include <cstdint>
#include <functional>
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

enum class WriteMode { Buffered, Flushed };

// Creates or truncates the file and writes all of data; Flushed: the bytes are on the disk
// before it returns.
FileResult WriteWholeFile(std::u16string_view path, std::span<const std::byte> data,
                          WriteMode mode = WriteMode::Buffered);

// Creates the file, which must not exist yet (ERROR_FILE_EXISTS), writes all of data and
// flushes it. A failure after the creation removes the file again.
FileResult WriteNewFile(std::u16string_view path, std::span<const std::byte> data);

// True when the file exists and is marked read-only.
bool IsReadOnlyFile(std::u16string_view path);

// True when a file or a folder has this name.
bool PathExists(std::u16string_view path);

// Writes data to a temporary file of this process beside path (a name no other file has:
// one left behind by anything is never written into), flushes it, then puts it in place of
// path in one step: an interrupted save leaves the old file or the new one, never a short
// one. On failure the old file is untouched and the temporary file is gone. A read-only
// file is not replaced (ERROR_ACCESS_DENIED).
FileResult ReplaceFileContents(std::u16string_view path, std::span<const std::byte> data);

// Renames from to to, replacing an existing to, written through to the disk.
FileResult MoveFileReplacing(std::u16string_view from, std::u16string_view to);

// Renames from to to, written through to the disk; fails (ERROR_ALREADY_EXISTS) when to
// exists, which therefore never loses a byte.
FileResult MoveFileKeeping(std::u16string_view from, std::u16string_view to);

// Deletes the file.
FileResult RemoveFile(std::u16string_view path);

// Creates the folder and every missing level above it; success when it already exists.
// Levels inside the root (a drive, or the server and share of a UNC path) are never created.
FileResult CreateFolderTree(std::u16string_view path);

// The id of the running process, which its temporary names carry.
uint32_t CurrentProcessId();

// The files a replacing save tries first, one after the other while the name is taken:
// "<path>.new-<process id in 8 hex digits>-<attempt in one hex digit>". Same folder, so the
// final rename never crosses volumes; the process id keeps two programs saving at once apart.
constexpr int kTemporaryAttempts = 16;
std::u16string TemporarySiblingOf(std::u16string_view path, uint32_t processId, int attempt);
// The most a temporary name adds to its file's path.
constexpr size_t kLongestTemporarySuffix = 15;

// The longest path the file functions take without a long-path prefix, terminator excluded.
constexpr size_t kMaxPathChars = 259;

// Reads a text of unknown length from a query with the Windows buffer convention: the query
// fills buffer (size units, terminator included) and returns the length written, or a value
// of size or more when the buffer was too small (the text then cut or not written), or 0 on
// failure. The buffer grows until the text fits, up to 32767 units. Empty on failure.
std::u16string GrowingQuery(const std::function<uint32_t(char16_t* buffer, uint32_t size)>& query);

// Length of the part of a path that names its root and cannot be created: "C:\" (3),
// "\\server\share\" (up to and with the backslash after the share), "\\?\C:\",
// "\\?\UNC\server\share\", a leading "\" (1); 0 for a relative path.
size_t FolderRootLength(std::u16string_view path);

}  // namespace norvi
