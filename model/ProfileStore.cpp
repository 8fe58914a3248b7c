#include "model/ProfileStore.h"

#include <array>
#include <utility>

#include "model/FileIO.h"

namespace norvi {

std::u16string ConfigFolderFrom(std::u16string_view tempPath) {
  std::u16string folder(tempPath);
  folder += u"Zarqo\\Norvi";
  return folder;
}

std::u16string ProfilePathIn(std::u16string_view configFolder) {
  std::u16string path(configFolder);
  path += u"\\Profile.cfg";
  return path;
}

std::u16string SetAsidePathOf(std::u16string_view profilePath, int copy) {
  std::u16string path(profilePath);
  path += u".bad";
  if (copy > 1) {
    path += u'-';
    path += static_cast<char16_t>(u'0' + copy);
  }
  return path;
}

FileResult SetAside(std::u16string_view path) {
  if (!PathExists(path)) return {syserr::FileNotFound, 0};
  int free = 1;
  while (free <= kSetAsideCopies && PathExists(SetAsidePathOf(path, free))) ++free;
  if (free > kSetAsideCopies) {
    free = kSetAsideCopies;
    const FileResult removed = RemoveFile(SetAsidePathOf(path, free));
    if (!removed.ok()) return removed;
  }
  for (int copy = free; copy > 1; --copy) {
    const FileResult moved =
        MoveFileKeeping(SetAsidePathOf(path, copy - 1), SetAsidePathOf(path, copy));
    if (!moved.ok()) return moved;
  }
  return MoveFileKeeping(path, SetAsidePathOf(path, 1));
}

size_t LongestPathIn(std::u16string_view configFolder) {
  constexpr std::u16string_view kApps = u"\\Apps\\", kSuffix = u".cfg";
  constexpr size_t kLongestName = kApps.size() + kProgramNameRoom + kSuffix.size();
  // Every fixed name is shorter: "\Language.cfg" and "\Profile.cfg.bad-5" too.
  static_assert(kLongestName > std::u16string_view(u"\\Language.cfg").size());
  return configFolder.size() + kLongestName + kLongestTemporarySuffix;
}

ConfigFolderChoice ChooseConfigFolder(std::span<const std::u16string> bases,
                                      const std::function<bool(const std::u16string&)>& make) {
  std::u16string first;
  for (const std::u16string& base : bases) {
    if (base.empty()) continue;
    std::u16string folder = ConfigFolderFrom(base);
    if (first.empty()) first = folder;
    // A folder too long for the program's longer names would load and then fail every save.
    if (LongestPathIn(folder) > kMaxPathChars || !make(folder)) continue;
    if (folder == first) return {std::move(folder), {}};
    return {std::move(folder), std::move(first)};
  }
  return {std::move(first), {}};
}

ProfileStatus ProfileFromBytes(std::span<const std::byte> bytes, ProfileImage& image) {
  if (ImageFromBytes(bytes, image) != ImageCheck::Valid) {
    image = DefaultProfile();
    return ProfileStatus::InvalidSignature;
  }
  CorrectImage(image);
  return ProfileStatus::Loaded;
}

ProfileFile::ProfileFile(std::u16string path, std::function<void()> pause)
    : path_(std::move(path)), pause_(std::move(pause)) {}

ProfileOutcome ProfileFile::Load(ProfileImage& image) {
  // Read into a buffer first so a failed read leaves the image as it was.
  std::array<std::byte, kProfileSize> bytes;
  FileResult read;
  for (int attempt = 1;; ++attempt) {
    read = ReadFilePrefix(path_, bytes);
    const bool missing = read.error == syserr::FileNotFound || read.error == syserr::PathNotFound;
    if (read.ok() || missing || attempt == kProfileReadAttempts) break;
    if (pause_) pause_();
  }
  setAsideFirst_ = false;
  keepUnreadable_ = false;
  if (!read.ok()) {
    switch (read.error) {
      case syserr::FileNotFound: image = DefaultProfile(); return {ProfileStatus::FirstRun};
      case syserr::PathNotFound:
        if (image.ProfileSignature != kProfileSignature) image = DefaultProfile();
        CorrectImage(image);
        return {ProfileStatus::PathMissing, read.error};
      default:
        keepUnreadable_ = true;
        image = DefaultProfile();
        return {ProfileStatus::Unreadable, read.error};
    }
  }
  const ProfileStatus status = ProfileFromBytes(std::span(bytes).first(read.bytes), image);
  setAsideFirst_ = status == ProfileStatus::InvalidSignature;
  return {status};
}

ProfileOutcome ProfileFile::Save(const ProfileImage& image) {
  if (keepUnreadable_ && !userConfirmed_) return {ProfileStatus::SaveSkipped};
  if (setAsideFirst_) {
    const FileResult moved = SetAside(path_);
    // Gone meanwhile: nothing left to keep. Any other failure keeps the file unsaved over.
    if (!moved.ok() && moved.error != syserr::FileNotFound)
      return {ProfileStatus::SaveFailed, moved.error};
    setAsideFirst_ = false;
  }
  const FileResult written = ReplaceFileContents(path_, ImageBytes(image));
  if (!written.ok()) return {ProfileStatus::SaveFailed, written.error};
  keepUnreadable_ = false;
  return {ProfileStatus::Saved};
}

ProfileOutcome ProfileFile::Reset() {
  return Save(DefaultProfile());
}

ProfileOutcome LoadProfileFile(std::u16string_view path, ProfileImage& image) {
  return ProfileFile(std::u16string(path)).Load(image);
}

ProfileOutcome SaveProfileFile(std::u16string_view path, const ProfileImage& image) {
  return ProfileFile(std::u16string(path)).Save(image);
}

}  // namespace norvi
