#pragma once
// A library of the system folder that only some commands need, loaded at its first use
// instead of with the program: what it costs to load and initialise stays out of the start.

#include <windows.h>

#include "base/Handles_win32.h"

namespace norvi {

class LateLibrary {
 public:
  explicit LateLibrary(const wchar_t* name) : name_(name) {}
  // The export, loading the library from the system folder (never from elsewhere) on the
  // first call; null when either is missing.
  template <class Function>
  Function Export(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(Find(name)));
  }

 private:
  FARPROC Find(const char* name);
  const wchar_t* name_;
  UniqueModule module_;
  bool tried_ = false;
};

}  // namespace norvi
