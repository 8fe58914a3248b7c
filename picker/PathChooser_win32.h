#pragma once
// The system's file-open dialog (Explorer style, no owner) and folder browser.

#include "picker/PathChooser.h"

namespace norvi {

class SystemPathChooser : public IPathChooser {
 public:
  bool ChooseFile(const PathRequest& request, std::u16string& path) override;
  bool ChooseFolder(std::u16string& path) override;
};

}  // namespace norvi
