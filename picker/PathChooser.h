#pragma once
// The questions the advanced page asks for a path: the system's file-open dialog and folder
// browser in the program, answered by the test itself in tests.

#include <string>

#include "picker/SettingLayout.h"

namespace norvi {

class IPathChooser {
 public:
  virtual ~IPathChooser() = default;
  // Asks for a file as `request` describes; true with its full path when the user confirms.
  virtual bool ChooseFile(const PathRequest& request, std::u16string& path) = 0;
  // Asks for a folder; true with its path when one was chosen.
  virtual bool ChooseFolder(std::u16string& path) = 0;
};

}  // namespace norvi
