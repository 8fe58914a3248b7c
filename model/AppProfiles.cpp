#include "model/AppProfiles.h"

#include <algorithm>

namespace norvi {
namespace {

constexpr std::u16string_view kAppsFolderName = u"\\Apps";
constexpr std::u16string_view kAppFileSuffix = u".cfg";

bool PlainFileName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  constexpr std::u16string_view kForbidden = u"\\/:*?\"<>|";
  return std::none_of(name.begin(), name.end(), [&](char16_t c) {
    return c < 0x20 || kForbidden.find(c) != std::u16string_view::npos;
  });
}

char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

}  // namespace

std::u16string AppsFolderIn(std::u16string_view configFolder) {
  std::u16string folder(configFolder);
  folder += kAppsFolderName;
  return folder;
}

std::u16string_view ExecutableNameOf(std::u16string_view imagePath) {
  const size_t cut = imagePath.find_last_of(u"\\/");
  return cut == std::u16string_view::npos ? imagePath : imagePath.substr(cut + 1);
}

std::optional<std::u16string> AppProfilePathIn(std::u16string_view configFolder,
                                               std::u16string_view executableName) {
  if (!PlainFileName(executableName)) return std::nullopt;
  std::u16string path = AppsFolderIn(configFolder);
  path += u'\\';
  path += executableName;
  path += kAppFileSuffix;
  return path;
}

AppAssignments LoadAppAssignments(std::u16string_view configFolder,
                                  std::u16string_view executableName,
                                  const ProfileImage& defaults) {
  AppAssignments result{AppSource::Default, defaults};
  const std::optional<std::u16string> path = AppProfilePathIn(configFolder, executableName);
  if (!path) return result;
  ProfileImage own = defaults;
  const ProfileOutcome loaded = LoadProfileFile(*path, own);
  switch (loaded.status) {
    case ProfileStatus::Loaded:
      result.source = AppSource::Own;
      result.image.Slots = own.Slots;
      result.image.Remapped = own.Remapped;
      break;
    case ProfileStatus::InvalidSignature: result.source = AppSource::Invalid; break;
    case ProfileStatus::FirstRun:
    case ProfileStatus::PathMissing: break;  // no file of its own
    default: result.source = AppSource::Unread; break;
  }
  return result;
}

ProfileOutcome SaveAppAssignments(std::u16string_view configFolder,
                                  std::u16string_view executableName, const ProfileImage& image) {
  const std::optional<std::u16string> path = AppProfilePathIn(configFolder, executableName);
  if (!path) return {ProfileStatus::SaveFailed, syserr::InvalidName};
  const FileResult folder = CreateFolderTree(AppsFolderIn(configFolder));
  if (!folder.ok()) return {ProfileStatus::SaveFailed, folder.error};
  return SaveProfileFile(*path, image);
}

FileResult RemoveAppAssignments(std::u16string_view configFolder,
                                std::u16string_view executableName) {
  const std::optional<std::u16string> path = AppProfilePathIn(configFolder, executableName);
  if (!path) return {};
  const FileResult removed = RemoveFile(*path);
  if (removed.error == syserr::FileNotFound || removed.error == syserr::PathNotFound) return {};
  return removed;
}

bool SameExecutableName(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

}  // namespace norvi
