#pragma once
// Move-only owners of kernel handles. Closing twice or leaking is impossible by type.

#include <windows.h>

#include <utility>

namespace norvi {

// Owns a kernel handle; Invalid is the "none" value of the handle type (NULL or
// INVALID_HANDLE_VALUE, which the APIs return on failure).
template <HANDLE (*Invalid)()>
class BasicHandle {
 public:
  BasicHandle() = default;
  explicit BasicHandle(HANDLE h) : h_(h) {}
  BasicHandle(BasicHandle&& o) noexcept : h_(std::exchange(o.h_, Invalid())) {}
  BasicHandle& operator=(BasicHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Invalid()));
    return *this;
  }
  BasicHandle(const BasicHandle&) = delete;
  BasicHandle& operator=(const BasicHandle&) = delete;
  ~BasicHandle() { reset(); }

  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != Invalid() && h_ != nullptr; }
  HANDLE release() { return std::exchange(h_, Invalid()); }
  void reset(HANDLE h = Invalid()) {
    HANDLE old = std::exchange(h_, h);
    if (old != Invalid() && old != nullptr) ::CloseHandle(old);
  }

 private:
  HANDLE h_ = Invalid();
};

inline HANDLE NullHandleValue() { return nullptr; }
inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }

// Events, semaphores, threads, mutexes: NULL on failure.
using UniqueHandle = BasicHandle<NullHandleValue>;
// Files and devices: INVALID_HANDLE_VALUE on failure.
using UniqueFileHandle = BasicHandle<InvalidHandleValue>;

}  // namespace norvi
