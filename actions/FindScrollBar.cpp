#include "actions/FindScrollBar.h"

#include <cstdint>

namespace norvi {
namespace {

bool IsScrollBarClass(std::u16string_view c) {
  return c == kClassScrollBar || c == kClassNuiScrollBar;
}

}  // namespace

bool IsDesktopIconView(IWindowSystem& windows, WindowHandle w, std::u16string_view windowClass) {
  if (windowClass != u"SysListView32") return false;
  ClassNameBuffer buffer;
  for (WindowHandle a = windows.ParentOf(w); a != kNoWindow; a = windows.ParentOf(a))
    if (windows.ClassOf(a, buffer) == u"Progman") return true;
  return false;
}

WindowHandle CFindScrollBar::FindScrollTarget(WindowHandle w) {
  ClassNameBuffer buffer;
  if (w == kNoWindow || w == windows_.Desktop() ||
      IsDesktopIconView(windows_, w, windows_.ClassOf(w, buffer)))
    return kNoWindow;

  WindowHandle t = windows_.ChildAt(w, windows_.CursorPosition());
  if (t == kNoWindow) t = w;
  WindowHandle result = HasHorizontalScroll(t) ? t : kNoWindow;
  const std::u16string_view c = windows_.ClassOf(t, buffer);
  if (c == u"MozillaWindowClass") result = windows_.ParentOf(t);
  if (c == u"DirectUIHWND") result = SearchDirectUiChildren(t, result);

  if (c != kClassScrollBar) {
    if (result != kNoWindow) return result;
    result = SearchChildren(t);
    if (result != kNoWindow) return result;
    result = SearchSiblings(t);
  }
  if (result != kNoWindow) return result;
  if (c != u"paneClassDC" && c != u"VISIOG") return kNoWindow;
  return EnumerateNearScrollBars(t);
}

WindowHandle CFindScrollBar::SearchDirectUiChildren(WindowHandle t, WindowHandle result) {
  const WindowHandle first = windows_.ChildAfter(t, kNoWindow);
  if (result == kNoWindow) result = SearchChildren(first);
  const WindowHandle second = windows_.ChildAfter(t, first);
  if (result == kNoWindow) result = SearchChildren(second);
  return result;
}

WindowHandle CFindScrollBar::EnumerateNearScrollBars(WindowHandle t) {
  found_ = kNoWindow;
  reference_ = windows_.RectOf(t);
  // A failed enumeration simply finds nothing.
  windows_.EnumDescendants(windows_.ParentOf(t), &CFindScrollBar::EnumerationStep, this);
  return found_;
}

bool CFindScrollBar::EnumerationStep(WindowHandle y, void* context) {
  auto* self = static_cast<CFindScrollBar*>(context);
  if (!self->IsNearScrollBar(y)) return true;
  self->found_ = y;
  return false;
}

bool CFindScrollBar::IsNearScrollBar(WindowHandle y) {
  ClassNameBuffer buffer;
  if (!IsScrollBarClass(windows_.ClassOf(y, buffer)) || !HasHorizontalScroll(y)) return false;
  const ScreenRect b = windows_.RectOf(y);
  // 64-bit so that rectangles at the edge of the coordinate range cannot overflow.
  if (int64_t{b.left} < int64_t{reference_.left} - kNearScrollBarSlack) return false;
  if (int64_t{b.right} > int64_t{reference_.right} + kNearScrollBarSlack) return false;
  return true;
}

bool CFindScrollBar::HasHorizontalScroll(WindowHandle x) {
  ClassNameBuffer buffer;
  const std::u16string_view c = windows_.ClassOf(x, buffer);
  if (c == kClassHtmlView) return true;
  if (!IsScrollBarClass(c)) return (windows_.StyleOf(x) & kStyleHScroll) != 0;
  const ScreenRect r = windows_.RectOf(x);
  const int64_t width = int64_t{r.right} - r.left;
  const int64_t height = int64_t{r.bottom} - r.top;
  return width > height && cursor_.x < r.right;
}

WindowHandle CFindScrollBar::SearchChildren(WindowHandle x) {
  if (x == kNoWindow) return kNoWindow;
  const WindowHandle first = windows_.Related(x, WindowRelation::FirstChild);
  if (first == kNoWindow) return kNoWindow;
  return HasHorizontalScroll(first) ? first : SearchSiblings(first);
}

// A horizontal "ScrollBar" control inside an "AVL_AVScrollBar" frame. Reading the child's
// class replaces the caller's class, which the caller's next test then sees.
WindowHandle CFindScrollBar::HorizontalBarInside(WindowHandle y, ClassNameBuffer& buffer,
                                                 std::u16string_view& windowClass) {
  if (windowClass != u"AVL_AVScrollBar") return kNoWindow;
  const WindowHandle z = windows_.Related(y, WindowRelation::FirstChild);
  if (z == kNoWindow) return kNoWindow;
  windowClass = windows_.ClassOf(z, buffer);
  const bool horizontal = (windows_.StyleOf(z) & (kScrollBarVertical | kScrollBarSizeBox)) == 0;
  return windowClass == kClassScrollBar && horizontal ? z : kNoWindow;
}

// The scrollable child of a frame window, or a scroll bar beside that child.
WindowHandle CFindScrollBar::SearchFrameChild(WindowHandle y) {
  const WindowHandle z = windows_.Related(y, WindowRelation::FirstChild);
  if (z == kNoWindow) return kNoWindow;
  return HasHorizontalScroll(z) ? z : SearchSiblings(z);
}

WindowHandle CFindScrollBar::SearchSiblings(WindowHandle x) {
  ClassNameBuffer buffer;
  for (WindowHandle y = windows_.Related(x, WindowRelation::Next); y != kNoWindow;
       y = windows_.Related(y, WindowRelation::Next)) {
    std::u16string_view c = windows_.ClassOf(y, buffer);
    if (const WindowHandle bar = HorizontalBarInside(y, buffer, c); bar != kNoWindow) return bar;
    if (IsScrollBarClass(c) && HasHorizontalScroll(y)) return y;
  }
  for (WindowHandle y = windows_.Related(x, WindowRelation::Previous); y != kNoWindow;
       y = windows_.Related(y, WindowRelation::Previous)) {
    std::u16string_view c = windows_.ClassOf(y, buffer);
    if (const WindowHandle bar = HorizontalBarInside(y, buffer, c); bar != kNoWindow) return bar;
    if (IsScrollBarClass(c) && HasHorizontalScroll(y)) return y;
    if (c == u"AfxWnd70" || c == u"AfxWnd42") {
      if (const WindowHandle inner = SearchFrameChild(y); inner != kNoWindow) return inner;
    }
  }
  return kNoWindow;
}

}  // namespace norvi
