#pragma once
// What the switcher remembers between openings: each listed window's icon and each
// process's executable path, so that a window is looked up once in its life rather than at
// every opening. Icons are owned here; the entry table borrows them.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "swap/SwapEntry.h"

namespace norvi::swap {

class IWindowSource;

class ListingCache {
 public:
  // Forgets every window and process that is not among the live top-level windows; called
  // before each listing with the whole enumeration, so a process that has ended is gone from
  // the cache before its id can come back as another process's.
  void Retain(const std::vector<WindowId>& live);
  // The executable path of window w's process pid (empty when it cannot be found), looked up
  // only the first time that process is seen. A window now owned by another process than the
  // one remembered (a reused handle) is started afresh.
  const std::u16string& ExecutablePath(WindowId w, uint32_t pid, IWindowSource& source);
  // Window w's icon, extracted from path only the first time w is seen; 0 for none. Call
  // after ExecutablePath for the same window.
  IconId Icon(WindowId w, const std::u16string& path, IWindowSource& source);
  // Releases every icon (the library is being unloaded).
  void Clear();

  size_t windows() const { return windows_.size(); }
  size_t processes() const { return paths_.size(); }

 private:
  struct Remembered {
    uint32_t pid = 0;
    bool extracted = false;
    OwnedIcon icon;
  };
  std::map<WindowId, Remembered> windows_;
  std::map<uint32_t, std::u16string> paths_;
};

}  // namespace norvi::swap
