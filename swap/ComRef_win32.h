#pragma once
// Move-only owners of a COM interface pointer and of a BSTR.

#include <windows.h>
// After windows.h, which it builds on.
#include <oleauto.h>

#include <utility>

namespace norvi::swap {

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(ComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComRef& operator=(ComRef&& o) noexcept {
    if (this != &o) {
      reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  T** put() {
    reset();
    return &p_;
  }
  void reset() {
    if (T* old = std::exchange(p_, nullptr)) old->Release();
  }

 private:
  T* p_ = nullptr;
};

class UniqueBstr {
 public:
  explicit UniqueBstr(const wchar_t* text) : s_(::SysAllocString(text)) {}
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { ::SysFreeString(s_); }
  BSTR get() const { return s_; }

 private:
  BSTR s_;
};

}  // namespace norvi::swap
