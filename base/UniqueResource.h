#pragma once
// The one move-only owner every handle, window, module, hook, icon and interface pointer is
// held by. Portable and header-only, so the core, Swap.dll and Pardex.dll use it without
// linking the framework.

#include <type_traits>
#include <utility>

namespace norvi {

// Owns a T and gives it back once with `Release` (a function object; an empty one costs
// nothing, one with state travels with the resource). `Invalid` is the "none" value the
// acquiring call returns on failure (a constant, or a function returning it when the value is
// not a constant expression, like INVALID_HANDLE_VALUE). A null pointer is never a resource
// either: APIs that fail with INVALID_HANDLE_VALUE still hand out null handles elsewhere.
template <typename T, typename Release, auto Invalid = T{}>
class UniqueResource : private Release {
 public:
  UniqueResource() = default;
  explicit UniqueResource(T h) : h_(h) {}
  UniqueResource(T h, Release release) : Release(std::move(release)), h_(h) {}
  UniqueResource(UniqueResource&& o) noexcept : Release(std::move(o.releaser())), h_(o.release()) {}
  UniqueResource& operator=(UniqueResource&& o) noexcept {
    if (this != &o) {
      // What is held now goes back the way it came, before the releaser is replaced.
      reset(o.release());
      releaser() = std::move(o.releaser());
    }
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { reset(); }

  static T None() {
    if constexpr (std::is_invocable_r_v<T, decltype(Invalid)>)
      return Invalid();
    else
      return Invalid;
  }
  static bool Holds(T h) {
    if constexpr (std::is_pointer_v<T>)
      if (h == nullptr) return false;
    return h != None();
  }

  T get() const { return h_; }
  explicit operator bool() const { return Holds(h_); }
  // Interface pointers are used through their owner.
  T operator->() const { return h_; }
  // Gives up ownership without releasing.
  T release() { return std::exchange(h_, None()); }
  void reset(T h = None()) {
    const T old = std::exchange(h_, h);
    if (Holds(old)) releaser()(old);
  }
  // For out-parameters: releases what is held and hands out the slot to fill.
  T* put() {
    reset();
    return &h_;
  }

 private:
  Release& releaser() { return *this; }

  T h_ = None();
};

}  // namespace norvi
