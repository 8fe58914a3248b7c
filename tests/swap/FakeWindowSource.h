#pragma once
// A fake window system for the listing rules (windows by id, process paths and icons) and a
// trace sink that keeps its lines.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "swap/WindowList.h"
#include "tests/support/LineRecorder.h"

namespace norvi::swap {

struct FakeWindow {
  std::u16string title;
  bool visible = true;
  WindowId parent = 0;
  uint32_t exStyle = 0;
  uint32_t pid = 7;
  bool titleReadable = true;
};

// Icons the fake handed out and the table destroyed.
inline std::multiset<IconId>& DestroyedIcons() {
  static std::multiset<IconId> destroyed;
  return destroyed;
}
inline void CountDestroyed(IconId id) {
  DestroyedIcons().insert(id);
}

class FakeWindows : public IWindowSource {
 public:
  std::map<WindowId, FakeWindow> windows;
  std::map<uint32_t, std::u16string> paths = {{7, u"C:\\app\\app.exe"}};
  std::set<std::u16string> iconless;
  int iconsMade = 0;
  int pathLookups = 0;

  WindowId Add(FakeWindow w) {
    const WindowId id = 0x100 + windows.size() * 2;
    windows[id] = std::move(w);
    return id;
  }
  // The windows as the enumeration meets them: in id order.
  std::vector<WindowId> ZOrder() const {
    std::vector<WindowId> order;
    for (const auto& [id, w] : windows) order.push_back(id);
    return order;
  }
  bool IsVisible(WindowId w) const override { return windows.at(w).visible; }
  WindowId Parent(WindowId w) const override { return windows.at(w).parent; }
  int32_t TitleLength(WindowId w) const override {
    return static_cast<int32_t>(windows.at(w).title.size());
  }
  uint32_t ExStyle(WindowId w) const override { return windows.at(w).exStyle; }
  std::u16string Title(WindowId w) const override {
    return windows.at(w).titleReadable ? windows.at(w).title : u"";
  }
  uint32_t ProcessId(WindowId w) const override { return windows.at(w).pid; }
  std::u16string ExecutablePath(uint32_t pid) override {
    ++pathLookups;
    auto it = paths.find(pid);
    return it == paths.end() ? u"" : it->second;
  }
  OwnedIcon FirstIcon(const std::u16string& path) override {
    if (iconless.count(path)) return {};
    return OwnedIcon(static_cast<IconId>(0x5000 + ++iconsMade), IconDestroyer{CountDestroyed});
  }
};

}  // namespace norvi::swap
