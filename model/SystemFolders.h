#pragma once
// Windows only: the folder that holds "Profile.cfg" and "Language.cfg".

#include <string>

namespace norvi {

// The user's temporary folder followed by "Zarqo\Norvi".
std::u16string ConfigFolder();

}  // namespace norvi
