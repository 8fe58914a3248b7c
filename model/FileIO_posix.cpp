// Native build only: the portable core's file access for tests and fuzzing on Linux.
// Backslashes in product paths are folder separators here too.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/UniqueResource.h"
#include "model/FileIO.h"
#include "model/Text.h"

namespace norvi {
namespace {

std::string NativePath(std::u16string_view path) {
  std::string p = Utf16ToUtf8(path);
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
}

// The Windows code for the same failure: a missing file in an existing folder is
// "file not found", a missing folder on the way "path not found".
uint32_t FromErrno(int e, const std::string& path) {
  switch (e) {
    case ENOENT: {
      const size_t slash = path.find_last_of('/');
      struct stat st {};
      const std::string parent = slash == std::string::npos ? "." : path.substr(0, slash);
      return (parent.empty() || stat(parent.c_str(), &st) == 0) ? syserr::FileNotFound
                                                                : syserr::PathNotFound;
    }
    case ENOTDIR: return syserr::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return syserr::AccessDenied;
    case EEXIST: return syserr::AlreadyExists;
    default: return syserr::WriteFault;
  }
}

struct CloseFd {
  void operator()(int fd) const { close(fd); }
};
using UniqueFd = UniqueResource<int, CloseFd, -1>;

}  // namespace

FileResult ReadFilePrefix(std::u16string_view path, std::span<std::byte> buffer) {
  const std::string p = NativePath(path);
  const UniqueFd fd(open(p.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return {FromErrno(errno, p), 0};
  size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n = read(fd.get(), buffer.data() + done, buffer.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {errno == EISDIR ? syserr::AccessDenied : syserr::ReadFault, done};
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return {syserr::Success, done};
}

FileResult WriteWholeFile(std::u16string_view path, std::span<const std::byte> data,
                          WriteMode mode) {
  const std::string p = NativePath(path);
  const UniqueFd fd(open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!fd) return {FromErrno(errno, p), 0};
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd.get(), data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {syserr::WriteFault, done};
    }
    done += static_cast<size_t>(n);
  }
  if (mode == WriteMode::Flushed && fsync(fd.get()) != 0) return {syserr::WriteFault, done};
  return {syserr::Success, done};
}

FileResult WriteNewFile(std::u16string_view path, std::span<const std::byte> data) {
  const std::string p = NativePath(path);
  FileResult result;
  {
    const UniqueFd fd(open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!fd) return {errno == EEXIST ? syserr::FileExists : FromErrno(errno, p), 0};
    while (result.bytes < data.size()) {
      const ssize_t n = write(fd.get(), data.data() + result.bytes, data.size() - result.bytes);
      if (n < 0) {
        if (errno == EINTR) continue;
        result.error = syserr::WriteFault;
        break;
      }
      result.bytes += static_cast<size_t>(n);
    }
    if (result.ok() && fsync(fd.get()) != 0) result.error = syserr::WriteFault;
  }
  if (!result.ok()) unlink(p.c_str());
  return result;
}

bool PathExists(std::u16string_view path) {
  struct stat st {};
  return lstat(NativePath(path).c_str(), &st) == 0;
}

uint32_t CurrentProcessId() {
  return static_cast<uint32_t>(getpid());
}

bool IsReadOnlyFile(std::u16string_view path) {
  struct stat st {};
  return stat(NativePath(path).c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

FileResult CreateFolderTree(std::u16string_view path) {
  const std::string p = NativePath(path);
  for (size_t i = 1; i <= p.size(); ++i) {
    if (i != p.size() && p[i] != '/') continue;
    const std::string level = p.substr(0, i);
    if (mkdir(level.c_str(), 0755) != 0 && errno != EEXIST) return {FromErrno(errno, level), 0};
  }
  struct stat st {};
  if (stat(p.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {syserr::PathNotFound, 0};
  return {};
}

FileResult MoveFileReplacing(std::u16string_view from, std::u16string_view to) {
  const std::string source = NativePath(from), target = NativePath(to);
  if (std::rename(source.c_str(), target.c_str()) != 0) return {FromErrno(errno, target), 0};
  return {};
}

FileResult MoveFileKeeping(std::u16string_view from, std::u16string_view to) {
  const std::string source = NativePath(from), target = NativePath(to);
  if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0)
    return {FromErrno(errno, target), 0};
  return {};
}

FileResult RemoveFile(std::u16string_view path) {
  const std::string p = NativePath(path);
  if (unlink(p.c_str()) != 0) return {FromErrno(errno, p), 0};
  return {};
}

}  // namespace norvi
