#include "framework/LateLibrary_win32.h"

#include <string>

namespace norvi {

FARPROC LateLibrary::Find(const char* name) {
  if (!tried_) {
    tried_ = true;
    wchar_t folder[MAX_PATH];
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
      module_.reset(::LoadLibraryW((std::wstring(folder, n) + L"\\" + name_).c_str()));
  }
  return module_ ? ::GetProcAddress(module_.get(), name) : nullptr;
}

}  // namespace norvi
