#pragma once
// Loading, saving and resetting "Profile.cfg". Each operation reports its outcome as a value;
// the main window turns outcomes into the messages below.
//
// Nothing the user stored is lost: a file with a wrong signature is moved aside as
// "Profile.cfg.bad" before anything is saved in its place (older copies move on to
// "Profile.cfg.bad-2" ... "Profile.cfg.bad-5"), and a file that exists but cannot be read is
// not saved over until the user asks for it (OK or restore defaults).

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "model/FileIO.h"
#include "model/ProfileImage.h"

namespace norvi {

enum class ProfileStatus {
  Loaded,            // read and signature valid (out-of-range values corrected)
  FirstRun,          // no "Profile.cfg" yet: the image became the default image
  PathMissing,       // the folder is missing: open-failure message
  Unreadable,        // exists but cannot be opened or read: the default image, file kept
  InvalidSignature,  // wrong signature or shorter than it: the default image, file set aside
  Saved,
  SaveFailed,   // systemError says why
  SaveSkipped,  // the unreadable file is kept until the user confirms a change
};

struct ProfileOutcome {
  ProfileStatus status;
  uint32_t systemError = 0;  // Windows error code of an open, read or write failure
};

// "%s%s": the user's temporary folder (ending in a backslash) and "Zarqo\Norvi".
std::u16string ConfigFolderFrom(std::u16string_view tempPath);
// "%s\Profile.cfg".
std::u16string ProfilePathIn(std::u16string_view configFolder);
// Where files with a wrong signature are kept: the newest as "%s.bad", the older ones as
// "%s.bad-2" up to "%s.bad-<kSetAsideCopies>" (copy 1 is the newest).
constexpr int kSetAsideCopies = 5;
std::u16string SetAsidePathOf(std::u16string_view profilePath, int copy = 1);
// Moves the file to its newest set-aside name, each older copy one name on; only the oldest
// of kSetAsideCopies goes. Never replaces a file: any failure (the oldest cannot be
// removed, a name in the way) stops before the file is moved and is returned.
FileResult SetAside(std::u16string_view path);

// The longest path a folder holding the program's files needs: the folder's own length and
// the longest name the program writes in it, the temporary save of an application's file
// ("Apps\<name>.cfg") for a name of kProgramNameRoom characters. Beyond kMaxPathChars a save
// would fail. (A longer name still gets a file where it fits, see AppProfilePathIn.)
constexpr size_t kProgramNameRoom = 64;
size_t LongestPathIn(std::u16string_view configFolder);

// Where the program keeps its files, and the usual folder when that is another one.
struct ConfigFolderChoice {
  std::u16string folder;
  std::u16string usual;  // empty: folder is the usual one
  bool Elsewhere() const { return !usual.empty(); }
};
// ConfigFolderFrom of the first base (each ending in a backslash; empty ones are skipped)
// whose folder leaves room for every name the program writes there and can be had: make
// creates it if needed and says whether it is a folder now. When none can, the first one,
// whose loads and saves then report the failure.
ConfigFolderChoice ChooseConfigFolder(std::span<const std::u16string> bases,
                                      const std::function<bool(const std::u16string&)>& make);

// What a load makes of the bytes read: a valid image corrected (Loaded), anything else the
// default image (InvalidSignature).
ProfileStatus ProfileFromBytes(std::span<const std::byte> bytes, ProfileImage& image);

// Attempts at reading a file that exists but cannot be read (another program may hold it
// for a moment), and the pause between them.
constexpr int kProfileReadAttempts = 5;
constexpr uint32_t kProfileReadPauseMs = 250;

// One profile file and what it needs before the next save.
class ProfileFile {
 public:
  // pause waits between read attempts; empty: no wait.
  explicit ProfileFile(std::u16string path, std::function<void()> pause = {});

  const std::u16string& Path() const { return path_; }

  // Reads the file into the image. Every outcome leaves an image that is safe to show and
  // apply: a valid file corrected (CorrectImage); a missing, unreadable or invalid one the
  // default image; a missing folder keeps a loaded image (else the default one).
  ProfileOutcome Load(ProfileImage& image);
  // Writes the image in one replacing step; an invalid file is first moved aside, an
  // unreadable one is left alone unless the user confirmed.
  ProfileOutcome Save(const ProfileImage& image);
  // Writes the default image, as the restore-defaults button does.
  ProfileOutcome Reset();
  // The user pressed OK or restore defaults: from now on saves may replace the file.
  void UserConfirmed() { userConfirmed_ = true; }

 private:
  std::u16string path_;
  std::function<void()> pause_;
  bool setAsideFirst_ = false;   // the file has a wrong signature
  bool keepUnreadable_ = false;  // the file could not be read
  bool userConfirmed_ = false;
};

// One load or one save of a file in the profile's layout, without the retry pauses and the
// setting aside of a ProfileFile.
ProfileOutcome LoadProfileFile(std::u16string_view path, ProfileImage& image);
ProfileOutcome SaveProfileFile(std::u16string_view path, const ProfileImage& image);

// Message texts, with %s standing for the profile path where they have one.
constexpr std::u16string_view kOpenFailedText =
    u"Failed to open file, check whether there is a %s path?";
constexpr std::u16string_view kInvalidProfileText = u"This file is an invaild Profile!";
constexpr std::u16string_view kInvalidProfileTextChinese = u"该文件不是有效的配置文件!";
// Caption of the standard message box that reports a failed save of the language choice.
constexpr std::u16string_view kSaveFailedCaption = u"Info";

// Language keys of the profile's own messages (never the language choice's "str_msg2" and
// "str_msg5", which say the language was not saved), each with the path as its one %s.
constexpr std::string_view kProfileUnreadableKey = "str_msg_profile_unreadable";
constexpr std::string_view kProfileNotSavedKey = "str_msg_profile_not_saved";
constexpr std::string_view kProfileAppliedNotSavedKey = "str_msg_profile_applied_not_saved";
// Said once at start when the files are kept elsewhere than in the usual folder, with the
// folder they are kept in.
constexpr std::string_view kConfigElsewhereKey = "str_msg_config_elsewhere";

}  // namespace norvi
