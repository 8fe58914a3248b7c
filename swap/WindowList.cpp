#include "swap/WindowList.h"

#include <algorithm>

namespace norvi::swap {
namespace {

// The cheap tests first; the title is read only for windows that may qualify.
bool Excluded(WindowId w, const IWindowSource& windows, std::u16string& title) {
  if (!windows.IsVisible(w) || windows.Parent(w) != 0 || windows.TitleLength(w) == 0 ||
      (windows.ExStyle(w) & kExToolWindow) != 0)
    return true;
  title = windows.Title(w);
  if (title.empty()) return true;
  return std::find(std::begin(kShellTitles), std::end(kShellTitles), title) !=
         std::end(kShellTitles);
}

}  // namespace

void ConsiderWindow(WindowId w, IWindowSource& windows, const SwapTrace& trace, EntryTable& table,
                    ListingCache& cache) {
  if (trace.enabled() && windows.IsVisible(w))
    trace.Line(u"PID=%x, HWND=%x, Parent=%x, Text= %ws\n",
               {windows.ProcessId(w), w, windows.Parent(w), windows.Title(w)});
  // The last row belongs to the desktop; no icon is extracted for a window not added.
  if (table.Full()) return;
  std::u16string title;
  if (Excluded(w, windows, title)) return;

  const uint32_t pid = windows.ProcessId(w);
  const std::u16string& path = cache.ExecutablePath(w, pid, windows);
  if (path.empty()) {
    trace.Line(u"Get EXE Name failed, PID= %d", {pid});
    return;
  }
  trace.Line(u"Process= %ws", {std::u16string_view(path)});
  const IconId icon = cache.Icon(w, path, windows);
  if (icon == 0) return;
  table.Add(icon, w, title);
}

void ListWindows(const std::vector<WindowId>& zOrder, IWindowSource& windows,
                 const SwapTrace& trace, EntryTable& table, ListingCache& cache) {
  cache.Retain(zOrder);
  for (const WindowId w : zOrder) ConsiderWindow(w, windows, trace, table, cache);
}

}  // namespace norvi::swap
