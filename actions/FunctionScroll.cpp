// Horizontal scrolling: the strategy is chosen by the class of the window under the cursor.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "actions/FindScrollBar.h"
#include "actions/Function.h"
#include "actions/Sequences.h"

namespace norvi {
namespace {

constexpr int32_t kArrowInset = 5;  // pixels from the scroll bar's corner to its arrow
constexpr int32_t kHtmlStepPixels = 10;
constexpr int kRepeats = 2;  // every strategy scrolls twice per tilt

// Arrow-key parameters: repeat count 1, scan code 0x4B / 0x4D, extended; key-up adds the
// previous-state and transition bits.
constexpr intptr_t kLeftDownParam = 0x014B0001;
constexpr intptr_t kLeftUpParam = static_cast<intptr_t>(0xC14B0001u);
constexpr intptr_t kRightDownParam = 0x014D0001;
constexpr intptr_t kRightUpParam = static_cast<intptr_t>(0xC14D0001u);

enum class Strategy : uint8_t { ScrollBarMessage, ArrowClick, ArrowKeys, Generic };

struct ClassStrategy {
  std::u16string_view windowClass;
  Strategy strategy;
};

// Tested in this order; the first match decides.
constexpr ClassStrategy kStrategies[] = {
    {u"_WwG", Strategy::ScrollBarMessage},
    {u"paneClassDC", Strategy::ScrollBarMessage},
    {u"VISIOG", Strategy::ScrollBarMessage},
    {u"PSViewC", Strategy::ScrollBarMessage},
    {u"EditControl", Strategy::ScrollBarMessage},
    {u"FrontPageEditorDocumentView", Strategy::ScrollBarMessage},
    {u"EXCEL7", Strategy::ArrowClick},
    {u"AVL_AVView", Strategy::ScrollBarMessage},
    {u"OGrid", Strategy::ScrollBarMessage},
    {u"OFormSub", Strategy::ScrollBarMessage},
    {u"OPrtPrevPage", Strategy::ScrollBarMessage},
    {u"MozillaWindowClass", Strategy::ArrowKeys},
    {u"Chrome_RenderWidgetHostHWND", Strategy::ArrowKeys},
    {u"OperaWindowClass", Strategy::ArrowKeys},
};

Strategy StrategyFor(std::u16string_view windowClass) {
  for (const ClassStrategy& entry : kStrategies)
    if (entry.windowClass == windowClass) return entry.strategy;
  return Strategy::Generic;
}

uintptr_t LineCode(bool left) {
  return left ? kLineLeft : kLineRight;
}

}  // namespace

void CFunction::ScrollHorizontally(bool left) {
  CFindScrollBar finder(windows_);
  const ScreenPoint cursor = windows_.CursorPosition();
  const WindowHandle w = windows_.WindowAt(cursor);
  const WindowHandle desktop = windows_.Desktop();
  ClassNameBuffer buffer;
  const std::u16string_view c = windows_.ClassOf(w, buffer);
  debug_.Write(u"ClassName:");
  debug_.Write(c);
  if (IsDesktopIconView(windows_, w, c) || w == desktop) return;

  const Strategy strategy = StrategyFor(c);
  if (strategy == Strategy::ArrowKeys) {
    if (w != kNoWindow) ArrowKeys(w, left);
    return;
  }
  finder.SetCursorPoint(cursor);
  const WindowHandle target = finder.FindScrollTarget(w);
  if (target == kNoWindow) {
    debug_.Write(u"No scroll bar found\n");
    return;
  }
  switch (strategy) {
    case Strategy::ScrollBarMessage: ScrollBarMessages(target, left); break;
    case Strategy::ArrowClick: ArrowClicks(target, cursor, left); break;
    default: GenericScroll(w, c == kClassHtmlView, left); break;
  }
}

void CFunction::ArrowKeys(WindowHandle w, bool left) {
  const uintptr_t key = left ? kVkLeft : kVkRight;
  for (int i = 0; i < kRepeats; ++i) {
    windows_.Post(w, kMessageKeyDown, key, left ? kLeftDownParam : kRightDownParam);
    input_.Pause(kClickPauseMs);
    windows_.Post(w, kMessageKeyUp, key, left ? kLeftUpParam : kRightUpParam);
  }
}

void CFunction::ScrollBarMessages(WindowHandle target, bool left) {
  const WindowHandle parent = windows_.ParentOf(target);
  for (int i = 0; i < kRepeats; ++i)
    windows_.Post(parent, kMessageHScroll, LineCode(left), static_cast<intptr_t>(target));
}

void CFunction::ArrowClicks(WindowHandle target, ScreenPoint cursor, bool left) {
  const ScreenRect r = windows_.RectOf(target);
  const ScreenPoint arrow{left ? r.left + kArrowInset : r.right - kArrowInset, r.top + kArrowInset};
  windows_.MoveCursor(arrow);
  const bool swapped = windows_.Metric(kMetricSwapButton) != 0;
  const uint32_t down = kMouseAbsolute | (swapped ? kMouseRightDown : kMouseLeftDown);
  const uint32_t up = kMouseAbsolute | (swapped ? kMouseRightUp : kMouseLeftUp);
  const InputEvent click[] = {MouseWith(down, arrow.x, arrow.y), PauseFor(kClickPauseMs),
                              MouseWith(up, arrow.x, arrow.y)};
  for (int i = 0; i < kRepeats; ++i) Play(input_, click);
  windows_.MoveCursor(cursor);
}

void CFunction::GenericScroll(WindowHandle w, bool htmlView, bool left) {
  for (int i = 0; i < kRepeats; ++i) {
    if (htmlView)
      BrowserDocumentScroll(1, left);
    else if (left)
      windows_.Post(w, kMessageHScroll, kLineLeft, 0);
    else
      windows_.Send(w, kMessageHScroll, kLineRight, 0);
  }
}

void CFunction::BrowserDocumentScroll(int32_t count, bool left) {
  ClassNameBuffer buffer;
  const WindowHandle w = windows_.WindowAt(windows_.CursorPosition());
  if (windows_.ClassOf(w, buffer) != kClassHtmlView) return;
  const int64_t pixels = int64_t{kHtmlStepPixels} * count * (left ? -1 : 1);
  const auto dx = static_cast<int32_t>(std::clamp<int64_t>(pixels, INT32_MIN, INT32_MAX));
  if (windows_.ScrollHtmlView(w, dx) != HtmlScrollResult::ScrollByFailed) return;
  for (int32_t i = 0; i < count; ++i) windows_.Send(w, kMessageHScroll, LineCode(left), 0);
}

}  // namespace norvi
