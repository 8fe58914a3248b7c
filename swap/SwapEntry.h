#pragma once
// One listed window of the switcher and the table that holds them. Portable: windows and
// icons are opaque values here; the Win32 layer supplies them and the icon's destroyer.

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

#include "base/UniqueResource.h"

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

// How a listed icon goes back: the platform layer says, the core never touches icons.
struct IconDestroyer {
  void (*destroy)(IconId) = nullptr;
  void operator()(IconId id) const {
    if (destroy) destroy(id);
  }
};
using OwnedIcon = UniqueResource<IconId, IconDestroyer>;

struct SwapEntry {
  IconId icon = 0;  // borrowed from the listing cache, which outlives the switcher
  WindowId window = 0;
  SwapRect rect;
  std::array<char16_t, kTitleField> title{};

  std::u16string_view Title() const { return title.data(); }
};

struct EntryTable {
  std::array<SwapEntry, kEntryCapacity> entries{};
  int32_t count = 0;
  // Fewer windows than 29 are listed when no more rows fit on the screen.
  int32_t limit = kMaxListed;

  bool Full() const { return count >= limit; }
  // Appends a listed window; the title is cut to the field (never inside a surrogate pair).
  void Add(IconId icon, WindowId window, std::u16string_view title);
};

// Copies text into a title field, cut to 39 characters and terminated.
void CopyTitle(std::u16string_view text, std::array<char16_t, kTitleField>& field);

}  // namespace norvi::swap
