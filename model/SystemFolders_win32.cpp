#include <windows.h>

#include "framework/WideText.h"
#include "model/ProfileStore.h"
#include "model/SystemFolders.h"

namespace norvi {

std::u16string ConfigFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  return ConfigFolderFrom(n > 0 && n <= MAX_PATH ? U16(temp) : std::u16string());
}

}  // namespace norvi
