#pragma once
// Which top-level windows the switcher lists, decided over a small window-system seam.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "swap/ListingCache.h"
#include "swap/SwapEntry.h"
#include "swap/SwapTrace.h"

namespace norvi::swap {

// What the enumeration asks of the window system; user32 in the product, a fake in tests.
class IWindowSource {
 public:
  virtual ~IWindowSource() = default;
  virtual bool IsVisible(WindowId w) const = 0;
  // The parent or owner window; 0 for none.
  virtual WindowId Parent(WindowId w) const = 0;
  virtual int32_t TitleLength(WindowId w) const = 0;
  virtual uint32_t ExStyle(WindowId w) const = 0;
  // The title as read into a 260-character buffer; empty when it cannot be read.
  virtual std::u16string Title(WindowId w) const = 0;
  virtual uint32_t ProcessId(WindowId w) const = 0;
  // The executable file of a process; empty when it cannot be found.
  virtual std::u16string ExecutablePath(uint32_t processId) = 0;
  // The first icon of an executable; an empty holder when it has none.
  virtual OwnedIcon FirstIcon(const std::u16string& path) = 0;
};

inline constexpr uint32_t kExToolWindow = 0x00000080;
// Shell windows that are never listed (matched exactly, case-sensitive).
inline constexpr std::u16string_view kShellTitles[] = {u"Program Manager", u"Start"};

// The enumeration callback: appends window w to the table when it qualifies. Its process's
// path and its icon come from the cache, looked up there only when w is new.
void ConsiderWindow(WindowId w, IWindowSource& windows, const SwapTrace& trace, EntryTable& table,
                    ListingCache& cache);
// A whole listing in z-order (top first): the cache forgets the windows no longer there, then
// each window is considered.
void ListWindows(const std::vector<WindowId>& zOrder, IWindowSource& windows,
                 const SwapTrace& trace, EntryTable& table, ListingCache& cache);

}  // namespace norvi::swap
