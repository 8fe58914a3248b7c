#pragma once
// Windows only: the program's folders, each read in full (never from a cut or unset buffer).

#include <string>

namespace norvi {

// The user's temporary folder followed by "Zarqo\Norvi", created when missing. When that
// folder cannot be had or created (a temporary path too long or unusable), the same under
// the user's local application-data folder. Empty when neither can be had.
std::u16string ConfigFolder();

// The full path of the program file; empty when it cannot be read in full.
std::u16string ProgramFilePath();

}  // namespace norvi
