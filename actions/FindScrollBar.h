#pragma once
// Finds the scroll bar (or scrollable window) that a horizontal scroll should address, near
// the window under the cursor. Lives for one scroll action.

#include <cstdint>
#include <string_view>

#include "actions/Seams.h"

namespace norvi {

// Window styles and class names the search relies on.
constexpr uint32_t kStyleHScroll = 0x00100000;
constexpr uint32_t kScrollBarVertical = 0x0001;
constexpr uint32_t kScrollBarSizeBox = 0x0008;
constexpr int32_t kNearScrollBarSlack = 25;  // pixels a found bar may stick out sideways

constexpr std::u16string_view kClassScrollBar = u"ScrollBar";
constexpr std::u16string_view kClassNuiScrollBar = u"NUIScrollbar";
constexpr std::u16string_view kClassHtmlView = u"Internet Explorer_Server";

// The desktop's icon view: a "SysListView32" with a "Progman" ancestor.
bool IsDesktopIconView(IWindowSystem& windows, WindowHandle w, std::u16string_view windowClass);

class CFindScrollBar {
 public:
  explicit CFindScrollBar(IWindowSystem& windows) : windows_(windows) {}
  CFindScrollBar(const CFindScrollBar&) = delete;
  CFindScrollBar& operator=(const CFindScrollBar&) = delete;

  void SetCursorPoint(ScreenPoint p) { cursor_ = p; }
  WindowHandle FindScrollTarget(WindowHandle w);
  bool HasHorizontalScroll(WindowHandle x);
  WindowHandle SearchChildren(WindowHandle x);
  WindowHandle SearchSiblings(WindowHandle x);

 private:
  WindowHandle SearchDirectUiChildren(WindowHandle t, WindowHandle result);
  WindowHandle EnumerateNearScrollBars(WindowHandle t);
  WindowHandle HorizontalBarInside(WindowHandle y, ClassNameBuffer& buffer,
                                   std::u16string_view& windowClass);
  WindowHandle SearchFrameChild(WindowHandle y);
  static bool EnumerationStep(WindowHandle y, void* context);
  bool IsNearScrollBar(WindowHandle y);

  IWindowSystem& windows_;
  ScreenPoint cursor_;
  // Enumeration state: the window found and the rectangle it must lie near.
  WindowHandle found_ = kNoWindow;
  ScreenRect reference_;
};

}  // namespace norvi
