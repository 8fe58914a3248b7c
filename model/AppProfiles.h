#pragma once
// Per-application assignments: "Apps\<executable file name>.cfg" under the configuration
// folder, in the same layout as the default profile and read and written by the same code.
// Only the eight slots come from an application's file; pointer speed, precision and wheel
// lines are system-wide and always come from the default profile.

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
// a separator, a drive colon, a wildcard or a control character): such a name must never
// reach a folder outside "Apps".
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
AppAssignments LoadAppAssignments(std::u16string_view configFolder,
                                  std::u16string_view executableName, const ProfileImage& defaults);

// Writes the program's file (creating "Apps" when needed) through the default profile's
// replacing save.
ProfileOutcome SaveAppAssignments(std::u16string_view configFolder,
                                  std::u16string_view executableName, const ProfileImage& image);

// Removes the program's file so it falls back to the default; success when there was none.
FileResult RemoveAppAssignments(std::u16string_view configFolder,
                                std::u16string_view executableName);

// Case-insensitive equality of executable names, as the file system compares them.
bool SameExecutableName(std::u16string_view a, std::u16string_view b);

}  // namespace norvi
