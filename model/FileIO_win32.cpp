#include <windows.h>

#include <string>

#include "base/Handles_win32.h"
#include "base/WideText.h"
#include "model/FileIO.h"
#include "model/SystemErrors.h"

namespace norvi {

// The portable core's error numbers are the ones GetLastError gives.
static_assert(
    syserr::Success == ERROR_SUCCESS && syserr::FileNotFound == ERROR_FILE_NOT_FOUND &&
    syserr::PathNotFound == ERROR_PATH_NOT_FOUND && syserr::AccessDenied == ERROR_ACCESS_DENIED &&
    syserr::NotEnoughMemory == ERROR_NOT_ENOUGH_MEMORY && syserr::WriteFault == ERROR_WRITE_FAULT &&
    syserr::ReadFault == ERROR_READ_FAULT && syserr::GenFailure == ERROR_GEN_FAILURE &&
    syserr::InvalidParameter == ERROR_INVALID_PARAMETER &&
    syserr::AlreadyExists == ERROR_ALREADY_EXISTS && syserr::FileTooLarge == ERROR_FILE_TOO_LARGE &&
    syserr::NoMoreItems == ERROR_NO_MORE_ITEMS && syserr::FileExists == ERROR_FILE_EXISTS);
static_assert(kMaxPathChars == MAX_PATH - 1);

FileResult ReadFilePrefix(std::u16string_view path, std::span<std::byte> buffer) {
  const std::u16string p(path);
  UniqueFileHandle file(CreateFileW(W(p), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {GetLastError(), 0};
  size_t done = 0;
  while (done < buffer.size()) {
    DWORD n = 0;
    if (!ReadFile(file.get(), buffer.data() + done, static_cast<DWORD>(buffer.size() - done), &n,
                  nullptr))
      return {GetLastError(), done};
    if (n == 0) break;
    done += n;
  }
  return {syserr::Success, done};
}

FileResult WriteWholeFile(std::u16string_view path, std::span<const std::byte> data,
                          WriteMode mode) {
  const std::u16string p(path);
  UniqueFileHandle file(CreateFileW(W(p), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {GetLastError(), 0};
  size_t done = 0;
  while (done < data.size()) {
    DWORD n = 0;
    if (!WriteFile(file.get(), data.data() + done, static_cast<DWORD>(data.size() - done), &n,
                   nullptr))
      return {GetLastError(), done};
    done += n;
  }
  if (mode == WriteMode::Flushed && !FlushFileBuffers(file.get())) return {GetLastError(), done};
  return {syserr::Success, done};
}

FileResult WriteNewFile(std::u16string_view path, std::span<const std::byte> data) {
  const std::u16string p(path);
  FileResult result;
  {
    UniqueFileHandle file(CreateFileW(W(p), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {GetLastError(), 0};
    while (result.bytes < data.size()) {
      DWORD n = 0;
      if (!WriteFile(file.get(), data.data() + result.bytes,
                     static_cast<DWORD>(data.size() - result.bytes), &n, nullptr)) {
        result.error = GetLastError();
        break;
      }
      result.bytes += n;
    }
    if (result.ok() && !FlushFileBuffers(file.get())) result.error = GetLastError();
  }
  if (!result.ok()) DeleteFileW(W(p));
  return result;
}

bool PathExists(std::u16string_view path) {
  const std::u16string p(path);
  return GetFileAttributesW(W(p)) != INVALID_FILE_ATTRIBUTES;
}

uint32_t CurrentProcessId() {
  return GetCurrentProcessId();
}

bool IsReadOnlyFile(std::u16string_view path) {
  const std::u16string p(path);
  const DWORD attributes = GetFileAttributesW(W(p));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

FileResult CreateFolderTree(std::u16string_view path) {
  std::u16string p(path);
  while (p.size() > FolderRootLength(p) && (p.back() == u'\\' || p.back() == u'/')) p.pop_back();
  // Create each level below the root, from the top; existing levels are fine.
  for (size_t i = FolderRootLength(p); i <= p.size(); ++i) {
    if (i != p.size() && p[i] != u'\\' && p[i] != u'/') continue;
    const std::u16string level = p.substr(0, i);
    if (level.size() <= FolderRootLength(level)) continue;
    if (!CreateDirectoryW(W(level), nullptr)) {
      const DWORD e = GetLastError();
      if (e != ERROR_ALREADY_EXISTS && e != ERROR_ACCESS_DENIED) return {e, 0};
    }
  }
  const DWORD attributes = GetFileAttributesW(W(p));
  if (attributes == INVALID_FILE_ATTRIBUTES) return {GetLastError(), 0};
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {syserr::PathNotFound, 0};
  return {};
}

FileResult MoveFileReplacing(std::u16string_view from, std::u16string_view to) {
  const std::u16string source(from), target(to);
  if (!MoveFileExW(W(source), W(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return {GetLastError(), 0};
  return {};
}

FileResult MoveFileKeeping(std::u16string_view from, std::u16string_view to) {
  const std::u16string source(from), target(to);
  if (!MoveFileExW(W(source), W(target), MOVEFILE_WRITE_THROUGH)) return {GetLastError(), 0};
  return {};
}

FileResult RemoveFile(std::u16string_view path) {
  const std::u16string p(path);
  if (!DeleteFileW(W(p))) return {GetLastError(), 0};
  return {};
}

}  // namespace norvi
