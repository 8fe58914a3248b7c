#pragma once
// Owners of a COM interface pointer and of a BSTR.

#include <windows.h>
// After windows.h, which it builds on.
#include <oleauto.h>

#include "framework/UniqueResource.h"

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

}  // namespace norvi
