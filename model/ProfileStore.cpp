#include "model/ProfileStore.h"

#include <array>

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

ProfileOutcome LoadProfileFile(std::u16string_view path, ProfileImage& image) {
  // Read into a buffer first so a failed read leaves the image as it was.
  std::array<std::byte, kProfileSize> bytes;
  const FileResult read = ReadFilePrefix(path, bytes);
  if (!read.ok()) {
    switch (read.error) {
      case syserr::FileNotFound:
        image = DefaultProfile();
        return {ProfileStatus::FirstRun, read.error};
      case syserr::PathNotFound: return {ProfileStatus::PathMissing, read.error};
      default: return {ProfileStatus::OpenFailed, read.error};
    }
  }
  const ImageCheck check = ImageFromBytes(std::span(bytes).first(read.bytes), image);
  return {check == ImageCheck::Valid ? ProfileStatus::Loaded : ProfileStatus::InvalidSignature};
}

ProfileOutcome SaveProfileFile(std::u16string_view path, const ProfileImage& image) {
  const FileResult written = ReplaceFileContents(path, ImageBytes(image));
  if (!written.ok()) return {ProfileStatus::SaveFailed, written.error};
  return {ProfileStatus::Saved};
}

ProfileOutcome ResetProfileFile(std::u16string_view path) {
  return SaveProfileFile(path, DefaultProfile());
}

std::string_view SaveFailureMessageKey(uint32_t systemError) {
  return systemError == syserr::AccessDenied ? "str_msg5" : "str_msg2";
}

}  // namespace norvi
