#pragma once
// Windows only: the program's folders, each read in full (never from a cut or unset buffer).

#include <string>

#include "model/ProfileStore.h"

namespace norvi {

// The user's temporary folder followed by "Zarqo\Norvi", created when missing. When that
// folder cannot be had or created, or is too long for the names the program writes in it
// (or its name is taken by a file), the same under the user's local application-data
// folder, and the choice says so.
ConfigFolderChoice ConfigFolder();

// The full path of the program file; empty when it cannot be read in full.
std::u16string ProgramFilePath();

}  // namespace norvi
