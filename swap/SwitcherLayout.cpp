#include "swap/SwitcherLayout.h"

#include <algorithm>

namespace norvi::swap {

bool OpensAtCursor(int32_t mode) {
  return mode != kPlaceCentred && mode != kPlaceRightEdge && mode != kPlaceLeftEdge;
}

SwapRect RowRect(int32_t index) {
  const int32_t top = kRowTop + kRowPitch * index;
  return {kRowLeft, top, kRowRight, top + kRowHeight};
}

int32_t RowAt(Point client, int32_t rows) {
  if (client.x < kRowLeft || client.x >= kRowRight || client.y < kRowTop) return -1;
  const int32_t row = (client.y - kRowTop) / kRowPitch;
  const bool inGap = (client.y - kRowTop) % kRowPitch >= kRowHeight;
  return row < rows && !inGap ? row : -1;
}

bool RowPointer::MoveTo(int32_t row) {
  const bool changed = row != hovered_;
  hovered_ = row;
  return changed;
}

int32_t RowPointer::Release(int32_t row) {
  const int32_t clicked = row == pressed_ ? row : kNone;
  pressed_ = kNone;
  return clicked;
}

Size SwitcherSize(int32_t count) {
  const SwapRect first = RowRect(0);
  return {first.right + kSwitcherMargin - first.left, (count + 1) * kRowPitch + kSwitcherMargin};
}

Point AtCursor(Size window, Size screen, Point cursor) {
  Point p = cursor;
  if (p.x + window.width > screen.width) p.x -= window.width;
  if (p.y + window.height > screen.height) p.y -= window.height;
  return p;
}

int32_t ListedLimit(int32_t workHeight) {
  // (count + 1) rows of 40 and the margin must fit.
  const int32_t fits = (workHeight - kSwitcherMargin) / kRowPitch - 1;
  return std::clamp(fits, int32_t{1}, kMaxListed);
}

Point ClampInto(Point at, Size window, const SwapRect& workArea) {
  return {std::max(workArea.left, std::min(at.x, workArea.right - window.width)),
          std::max(workArea.top, std::min(at.y, workArea.bottom - window.height))};
}

Point OpeningPosition(int32_t mode, Size window, Size screen, Point cursor) {
  const int32_t middleY = (screen.height - window.height) / 2;
  switch (mode) {
    case kPlaceRightEdge: return {screen.width - window.width, middleY};
    case kPlaceLeftEdge: return {kLeftEdgeGap, middleY};
    case kPlaceCentred: return {(screen.width - window.width) / 2, middleY};
    default: return AtCursor(window, screen, cursor);
  }
}

std::u16string_view DesktopCaption(uint16_t systemLanguage) {
  return systemLanguage == kLangChineseSimplified ? u"\u684C\u9762" : u"Desktop";
}

KeyAction KeyDownAction(uint32_t virtualKey) {
  if (virtualKey == kVkReturn || virtualKey == kVkEscape) return KeyAction::Close;
  if (virtualKey == kVkSpace) return KeyAction::Swallow;
  return KeyAction::Default;
}

int32_t ActivationShowCommand(bool minimised, bool maximised) {
  if (minimised) return kShowRestore;
  return maximised ? kShowMaximized : kShow;
}

}  // namespace norvi::swap
