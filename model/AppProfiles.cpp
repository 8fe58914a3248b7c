#include "model/AppProfiles.h"

#include <algorithm>
#include <array>

namespace norvi {
namespace {

constexpr std::u16string_view kAppsFolderName = u"\\Apps";
constexpr std::u16string_view kAppFileSuffix = u".cfg";
// What a save adds to an application's file name at most: a temporary name (its set-aside
// names are shorter).
constexpr size_t kLongestSaveSuffix = kLongestTemporarySuffix;

char16_t UpperCase(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
      (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F) ||
      (c >= 0xFF41 && c <= 0xFF5A))
    return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  // Latin Extended-A: pairs of upper and lower case, the lower one odd, or even in the
  // two runs that start one later.
  if (c >= 0x100 && c <= 0x17E) {
    const bool oddLower = (c < 0x138) || (c >= 0x14A && c < 0x178);
    if (oddLower && (c & 1)) return static_cast<char16_t>(c - 1);
    if (!oddLower && !(c & 1) && c != 0x138 && c != 0x178) return static_cast<char16_t>(c - 1);
  }
  return c;
}

// Windows opens these as devices in any folder, with any extension and in any case.
bool NamesDevice(std::u16string_view name) {
  std::u16string stem = FoldedName(name.substr(0, name.find(u'.')));
  while (!stem.empty() && stem.back() == u' ') stem.pop_back();
  constexpr std::array<std::u16string_view, 6> kDevices{u"CON", u"PRN",    u"AUX",
                                                        u"NUL", u"CONIN$", u"CONOUT$"};
  if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end()) return true;
  if (stem.size() != 4 || (stem.substr(0, 3) != u"COM" && stem.substr(0, 3) != u"LPT"))
    return false;
  const char16_t digit = stem[3];
  // The superscript digits one to three count as digits here.
  return (digit >= u'1' && digit <= u'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

bool PlainFileName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  constexpr std::u16string_view kForbidden = u"\\/:*?\"<>|";
  return std::none_of(name.begin(), name.end(), [&](char16_t c) {
    return c < 0x20 || kForbidden.find(c) != std::u16string_view::npos;
  });
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
  if (!PlainFileName(executableName) || NamesDevice(executableName)) return std::nullopt;
  std::u16string path = AppsFolderIn(configFolder);
  path += u'\\';
  path += executableName;
  path += kAppFileSuffix;
  if (path.size() + kLongestSaveSuffix > kMaxPathChars) return std::nullopt;
  return path;
}

AppAssignments LoadAppAssignments(std::u16string_view configFolder,
                                  std::u16string_view executableName, const ProfileImage& defaults,
                                  const std::function<void()>& pause) {
  AppAssignments result{AppSource::Default, defaults};
  const std::optional<std::u16string> path = AppProfilePathIn(configFolder, executableName);
  if (!path) return result;
  ProfileImage own = defaults;
  const ProfileOutcome loaded = ProfileFile(*path, pause).Load(own);
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
                                  std::u16string_view executableName, const ProfileImage& image,
                                  const std::function<void()>& pause) {
  const std::optional<std::u16string> path = AppProfilePathIn(configFolder, executableName);
  if (!path) return {ProfileStatus::SaveFailed, syserr::InvalidName};
  const FileResult folder = CreateFolderTree(AppsFolderIn(configFolder));
  if (!folder.ok()) return {ProfileStatus::SaveFailed, folder.error};
  // What is there now decides whether it must be set aside first.
  ProfileFile file(*path, pause);
  ProfileImage before = DefaultProfile();
  file.Load(before);
  file.UserConfirmed();
  return file.Save(image);
}

FileResult RemoveAppAssignments(std::u16string_view configFolder,
                                std::u16string_view executableName) {
  const std::optional<std::u16string> path = AppProfilePathIn(configFolder, executableName);
  if (!path) return {};
  ProfileImage before = DefaultProfile();
  const ProfileStatus status = ProfileFile(*path).Load(before).status;
  const FileResult removed =
      status == ProfileStatus::InvalidSignature ? SetAside(*path) : RemoveFile(*path);
  if (removed.error == syserr::FileNotFound || removed.error == syserr::PathNotFound) return {};
  return removed;
}

std::u16string FoldedName(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) c = UpperCase(c);
  return folded;
}

bool SameExecutableName(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return UpperCase(x) == UpperCase(y); });
}

bool AppFileIndex::HasOwnFile(std::u16string_view program, const Look& look) {
  std::u16string key = FoldedName(program);
  if (const auto known = known_.find(key); known != known_.end()) return known->second;
  const AppSource source = look(program);
  const bool own = source == AppSource::Own;
  if (source != AppSource::Unread) known_.emplace(std::move(key), own);
  return own;
}

void AppFileIndex::Forget(std::u16string_view program) {
  known_.erase(FoldedName(program));
}

}  // namespace norvi
