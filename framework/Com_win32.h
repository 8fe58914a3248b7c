#pragma once
// Owners of a COM interface pointer, a BSTR and task memory, and a scoped COM apartment.

#include <windows.h>
// After windows.h, which they build on.
#include <objbase.h>
#include <oleauto.h>

#include "base/UniqueResource.h"

namespace norvi {

// Adopts a reference handed out by a Create/Query call (no AddRef) and releases it once.
struct ComRelease {
  template <typename I>
  void operator()(I* p) const {
    p->Release();
  }
};
template <typename I>
using ComRef = UniqueResource<I*, ComRelease>;

// QueryInterface-style out-parameters take void**.
template <typename I>
void** PutVoid(ComRef<I>& ref) {
  return reinterpret_cast<void**>(ref.put());
}

struct FreeBstr {
  void operator()(BSTR s) const { ::SysFreeString(s); }
};
using UniqueBstr = UniqueResource<BSTR, FreeBstr>;

inline UniqueBstr MakeBstr(const wchar_t* text) {
  return UniqueBstr(::SysAllocString(text));
}

// Memory a COM or shell call handed out with CoTaskMemAlloc.
struct FreeCoTaskMem {
  void operator()(void* p) const { ::CoTaskMemFree(p); }
};

// Joins or starts a single-threaded apartment on this thread for one task. A failed start
// (the thread already chose another model) is left alone; only a successful one is balanced.
class ComApartment {
 public:
  ComApartment() : started_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (started_) ::CoUninitialize();
  }
  // Whether this thread is in the apartment through this scope.
  explicit operator bool() const { return started_; }

 private:
  bool started_;
};

}  // namespace norvi
