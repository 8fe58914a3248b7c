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

inline HANDLE NullHandleValue() {
  return nullptr;
}
inline HANDLE InvalidHandleValue() {
  return INVALID_HANDLE_VALUE;
}

// Events, semaphores, threads, mutexes: NULL on failure.
using UniqueHandle = BasicHandle<NullHandleValue>;
// Files and devices: INVALID_HANDLE_VALUE on failure.
using UniqueFileHandle = BasicHandle<InvalidHandleValue>;

// Owns a window: destroys it unless it is already gone (a parent may have destroyed it).
class UniqueWindow {
 public:
  UniqueWindow() = default;
  explicit UniqueWindow(HWND h) : h_(h) {}
  UniqueWindow(UniqueWindow&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueWindow& operator=(UniqueWindow&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  UniqueWindow(const UniqueWindow&) = delete;
  UniqueWindow& operator=(const UniqueWindow&) = delete;
  ~UniqueWindow() { reset(); }

  HWND get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  HWND release() { return std::exchange(h_, nullptr); }
  void reset(HWND h = nullptr) {
    HWND old = std::exchange(h_, h);
    if (old && ::IsWindow(old)) ::DestroyWindow(old);
  }

 private:
  HWND h_ = nullptr;
};

// Owns a module from LoadLibraryW.
class UniqueModule {
 public:
  UniqueModule() = default;
  explicit UniqueModule(HMODULE h) : h_(h) {}
  UniqueModule(UniqueModule&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueModule& operator=(UniqueModule&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  UniqueModule(const UniqueModule&) = delete;
  UniqueModule& operator=(const UniqueModule&) = delete;
  ~UniqueModule() { reset(); }

  HMODULE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(HMODULE h = nullptr) {
    HMODULE old = std::exchange(h_, h);
    if (old) ::FreeLibrary(old);
  }

 private:
  HMODULE h_ = nullptr;
};

}  // namespace norvi
