#include "tests/support/ImportPatch_win32.h"

namespace norvi::testkit {
namespace {

template <class T>
T* At(HMODULE module, DWORD offset) {
  return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

// The import address slot of dll!function in the module, or nullptr.
void** FindSlot(HMODULE module, const char* dll, const char* function) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  const auto* nt = At<const IMAGE_NT_HEADERS>(module, dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return nullptr;
  for (auto* d = At<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); d->Name; ++d) {
    if (::lstrcmpiA(At<const char>(module, d->Name), dll) != 0 || !d->OriginalFirstThunk) continue;
    auto* names = At<IMAGE_THUNK_DATA>(module, d->OriginalFirstThunk);
    auto* slots = At<IMAGE_THUNK_DATA>(module, d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName =
          At<const IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
      if (::lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0)
        return reinterpret_cast<void**>(&slots->u1.Function);
    }
  }
  return nullptr;
}

}  // namespace

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function,
                         const void* replacement)
    : slot_(module ? FindSlot(module, dll, function) : nullptr) {
  if (!slot_) return;
  original_ = *slot_;
  Write(const_cast<void*>(replacement));
}

ImportPatch::~ImportPatch() {
  if (slot_) Write(original_);
}

void ImportPatch::Write(void* value) {
  DWORD old = 0;
  ::VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &old);
  *slot_ = value;
  ::VirtualProtect(slot_, sizeof(void*), old, &old);
}

}  // namespace norvi::testkit
