#include "swap/ListingCache.h"

#include <algorithm>
#include <set>

#include "swap/WindowList.h"

namespace norvi::swap {

void ListingCache::Retain(const std::vector<WindowId>& live) {
  std::vector<WindowId> sorted(live);
  std::sort(sorted.begin(), sorted.end());
  std::set<uint32_t> owners;
  for (auto it = windows_.begin(); it != windows_.end();) {
    if (std::binary_search(sorted.begin(), sorted.end(), it->first)) {
      owners.insert(it->second.pid);
      ++it;
    } else {
      it = windows_.erase(it);
    }
  }
  // A process is known only through its windows: with the last one gone it may have ended.
  std::erase_if(paths_, [&](const auto& p) { return owners.count(p.first) == 0; });
}

const std::u16string& ListingCache::ExecutablePath(WindowId w, uint32_t pid,
                                                   IWindowSource& source) {
  Remembered& window = windows_[w];
  if (window.pid != pid) window = Remembered{pid, false, {}};
  auto found = paths_.find(pid);
  if (found == paths_.end()) found = paths_.emplace(pid, source.ExecutablePath(pid)).first;
  return found->second;
}

IconId ListingCache::Icon(WindowId w, const std::u16string& path, IWindowSource& source) {
  Remembered& window = windows_[w];
  if (!window.extracted) {
    window.icon = source.FirstIcon(path);
    window.extracted = true;
  }
  return window.icon.get();
}

void ListingCache::Clear() {
  windows_.clear();
  paths_.clear();
}

}  // namespace norvi::swap
