#pragma once
// Loading, saving and resetting "Profile.cfg". Each operation reports its outcome as a value;
// the main window turns outcomes into the messages below.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/ProfileImage.h"

namespace norvi {

enum class ProfileStatus {
  Loaded,            // read and signature valid
  FirstRun,          // no "Profile.cfg" yet: the image became the default image
  PathMissing,       // the folder is missing: open-failure message, image unchanged
  OpenFailed,        // any other open or read failure: silent, image unchanged
  InvalidSignature,  // read, but the signature is wrong: message, bytes kept
  Saved,
  SaveFailed,  // systemError says why
};

struct ProfileOutcome {
  ProfileStatus status;
  uint32_t systemError = 0;  // Windows error code of an open, read or write failure
};

// "%s%s": the user's temporary folder (ending in a backslash) and "Zarqo\Norvi".
std::u16string ConfigFolderFrom(std::u16string_view tempPath);
// "%s\Profile.cfg".
std::u16string ProfilePathIn(std::u16string_view configFolder);

ProfileOutcome LoadProfileFile(std::u16string_view path, ProfileImage& image);
ProfileOutcome SaveProfileFile(std::u16string_view path, const ProfileImage& image);
// Writes the default image; the caller then loads it back and applies it.
ProfileOutcome ResetProfileFile(std::u16string_view path);

// Message texts, with %s standing for the profile path where they have one.
constexpr std::u16string_view kOpenFailedText =
    u"Failed to open file, check whether there is a %s path?";
constexpr std::u16string_view kInvalidProfileText = u"This file is an invaild Profile!";
constexpr std::u16string_view kInvalidProfileTextChinese = u"该文件不是有效的配置文件!";
constexpr std::u16string_view kSaveFailedCaption = u"Info";

// Language key of the message for a failed save: "str_msg5" (no %s) when access is
// denied, otherwise "str_msg2" (the path as its one %s).
std::string_view SaveFailureMessageKey(uint32_t systemError);

}  // namespace norvi
