#pragma once
// One listed window of the switcher and the table that holds them. Portable: windows and
// icons are opaque values here; the Win32 layer supplies them and the icon's destroyer.

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

namespace norvi::swap {

using WindowId = std::uintptr_t;
using IconId = std::uintptr_t;

// The target of the extra desktop row instead of a window handle.
inline constexpr WindowId kDesktopMarker = 0xFFFF;
// 30 rows; the last one is kept for the desktop row, so at most 29 windows are listed.
inline constexpr int32_t kEntryCapacity = 30;
inline constexpr int32_t kMaxListed = kEntryCapacity - 1;
// A listed title keeps at most 39 characters (a 40-character field with its terminator).
inline constexpr size_t kTitleField = 40;

struct SwapRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Owns one icon; the platform layer says how it is destroyed.
class OwnedIcon {
 public:
  using Destroyer = void (*)(IconId);
  OwnedIcon() = default;
  OwnedIcon(IconId id, Destroyer destroy) : id_(id), destroy_(destroy) {}
  OwnedIcon(OwnedIcon&& o) noexcept : id_(std::exchange(o.id_, 0)), destroy_(o.destroy_) {}
  OwnedIcon& operator=(OwnedIcon&& o) noexcept {
    if (this != &o) {
      reset();
      id_ = std::exchange(o.id_, 0);
      destroy_ = o.destroy_;
    }
    return *this;
  }
  OwnedIcon(const OwnedIcon&) = delete;
  OwnedIcon& operator=(const OwnedIcon&) = delete;
  ~OwnedIcon() { reset(); }

  IconId get() const { return id_; }
  explicit operator bool() const { return id_ != 0; }
  void reset() {
    if (const IconId old = std::exchange(id_, 0); old != 0 && destroy_) destroy_(old);
  }

 private:
  IconId id_ = 0;
  Destroyer destroy_ = nullptr;
};

struct SwapEntry {
  OwnedIcon icon;
  WindowId window = 0;
  SwapRect rect;
  std::array<char16_t, kTitleField> title{};

  std::u16string_view Title() const { return title.data(); }
};

struct EntryTable {
  std::array<SwapEntry, kEntryCapacity> entries{};
  int32_t count = 0;

  bool Full() const { return count >= kMaxListed; }
  // Appends a listed window; the title is cut to the field (never inside a surrogate pair).
  void Add(OwnedIcon icon, WindowId window, std::u16string_view title);
  // Destroys the icons of the listed entries (the switcher's window has gone).
  void DestroyIcons();
};

// Copies text into a title field, cut to 39 characters and terminated.
void CopyTitle(std::u16string_view text, std::array<char16_t, kTitleField>& field);

}  // namespace norvi::swap
