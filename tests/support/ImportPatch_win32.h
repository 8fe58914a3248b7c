#pragma once
// Replaces one function that a loaded module imports from a DLL, for as long as the patch
// lives: a test watches the exact arguments a product module hands to Windows (SendInput,
// SetTimer, ...) without the call being typed out or timed.

#include <windows.h>

namespace norvi::testkit {

class ImportPatch {
 public:
  ImportPatch(HMODULE module, const char* dll, const char* function, const void* replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  // False when the module does not import that function by name.
  explicit operator bool() const { return slot_ != nullptr; }
  // The function the slot held before, to pass calls on to.
  template <class Fn>
  Fn Original() const {
    return reinterpret_cast<Fn>(original_);
  }

 private:
  void Write(void* value);
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace norvi::testkit
