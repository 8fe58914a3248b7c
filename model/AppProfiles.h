#pragma once
// Per-application assignments: "Apps\<executable file name>.cfg" under the configuration
// folder, in the same layout as the default profile and read and written by the same code.
// Only the eight slots come from an application's file; pointer speed, precision and wheel
// lines are system-wide and always come from the default profile.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "model/FileIO.h"
#include "model/ProfileImage.h"
#include "model/ProfileStore.h"

namespace norvi {

// "%s\Apps".
std::u16string AppsFolderIn(std::u16string_view configFolder);

// The file name part of a full image path ("C:\Windows\notepad.exe" -> "notepad.exe").
std::u16string_view ExecutableNameOf(std::u16string_view imagePath);

// "%s\Apps\%s.cfg", or nothing when the name is not a plain file name (empty, "." or "..",
// a separator, a drive colon, a wildcard or a control character), names a device (CON, PRN,
// AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$, with any extension, in any case), or
// would make a path too long to save under: such a name must never reach a folder outside
// "Apps", a device, or a save that cannot succeed.
std::optional<std::u16string> AppProfilePathIn(std::u16string_view configFolder,
                                               std::u16string_view executableName);

// Which assignments a program gets.
enum class AppSource {
  Own,      // its own file, valid
  Default,  // no file of its own (or a name that cannot have one)
  Invalid,  // its file has a wrong signature: the default, as for a bad default profile
  Unread,   // its file exists but could not be read: the default
};

struct AppAssignments {
  AppSource source;
  ProfileImage image;  // what applies: the default's settings, the slots of the source
};

// The assignments for one program, given the default profile in force. Every outcome is
// safe to apply; anything but a valid file of its own gives exactly the default profile.
// pause waits between the read attempts of a file that exists but cannot be read.
AppAssignments LoadAppAssignments(std::u16string_view configFolder,
                                  std::u16string_view executableName, const ProfileImage& defaults,
                                  const std::function<void()>& pause = {});

// Writes the program's file (creating "Apps" when needed) through the default profile's
// replacing save, after the user's OK: a file with a wrong signature is set aside first, as
// "Profile.cfg" is.
ProfileOutcome SaveAppAssignments(std::u16string_view configFolder,
                                  std::u16string_view executableName, const ProfileImage& image,
                                  const std::function<void()>& pause = {});

// Removes the program's file so it falls back to the default; success when there was none.
// A file with a wrong signature is set aside instead: its bytes may still be the user's.
FileResult RemoveAppAssignments(std::u16string_view configFolder,
                                std::u16string_view executableName);

// The form of an executable name in which names the file system takes for the same file are
// equal: letters of the Latin, Greek and Cyrillic alphabets (and full-width Latin) in upper
// case.
std::u16string FoldedName(std::u16string_view name);
// Equality of executable names without case, as the file system compares them.
bool SameExecutableName(std::u16string_view a, std::u16string_view b);

// Which programs have a valid file of their own, as far as known, by executable name without
// case. Only a file that was read (valid, invalid) or found missing is remembered: one that
// could not be read is looked at again next time.
class AppFileIndex {
 public:
  using Look = std::function<AppSource(std::u16string_view program)>;
  // Whether program has a valid file of its own; look reads it when it is not known.
  bool HasOwnFile(std::u16string_view program, const Look& look);
  // The program's file changed: look again next time.
  void Forget(std::u16string_view program);
  void Clear() { known_.clear(); }

 private:
  std::map<std::u16string, bool> known_;  // by FoldedName
};

}  // namespace norvi
