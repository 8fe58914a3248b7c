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

std::u16string SetAsidePathOf(std::u16string_view profilePath) {
  std::u16string path(profilePath);
  path += u".bad";
  return path;
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
    const FileResult moved = MoveFileReplacing(path_, SetAsidePathOf(path_));
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
