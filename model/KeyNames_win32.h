#pragma once
// The keyboard's own key names, as the system's key-name text gives them for the active layout.

#include "model/KeyCombo.h"

namespace norvi {

class Win32KeyNames : public IKeyNames {
 public:
  std::u16string Name(uint8_t vk) const override;
};

}  // namespace norvi
