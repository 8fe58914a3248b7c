#include "controls/MenuGeometry.h"

#include <algorithm>

namespace norvi {
namespace {

constexpr uint32_t kColourMask = 0x00FFFFFF;
constexpr uint32_t kAlphaMask = 0xFF000000;
constexpr uint32_t kMagenta = 0x00FF00FF;
constexpr uint32_t kBlue1 = 0x00000001;
constexpr int kMenuTextIndent = 30;
constexpr int kMenuTextRight = 112;
constexpr int kMenuIconColumn = 25;

int FirstRowHolding(const std::vector<EdgeRect>& rows, int x, int y) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (Contains(rows[i], x, y)) return static_cast<int>(i);
  return MenuPointer::kNone;
}

}  // namespace

MenuLayout LayOutMenu(size_t itemCount) {
  MenuLayout layout;
  int y = kMenuTop;
  for (size_t i = 0; i < itemCount; ++i, y += kMenuRowHeight)
    layout.rows.push_back({kMenuRowLeft, y, kMenuRowRight, y + kMenuRowHeight});
  layout.width = kMenuWidth;
  layout.height = y + kMenuBottomMargin;
  return layout;
}

bool Contains(const EdgeRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool MenuPointer::Hover(const std::vector<EdgeRect>& rows, int x, int y) {
  if (hot_ != kNone && static_cast<size_t>(hot_) < rows.size() && Contains(rows[hot_], x, y))
    return false;
  const int before = hot_;
  hot_ = FirstRowHolding(rows, x, y);
  return hot_ != before;
}

bool MenuPointer::ButtonUp(const std::vector<EdgeRect>& rows, int x, int y, int& chosen) {
  chosen = kNone;
  if (hot_ == kNone) return false;
  if (static_cast<size_t>(hot_) >= rows.size() || !Contains(rows[hot_], x, y)) {
    hot_ = kNone;
    return true;
  }
  chosen = hot_;
  return false;
}

EdgeRect MenuTextRect(const EdgeRect& row) {
  return {row.left + kMenuTextIndent, row.top, row.left + kMenuTextRight, row.bottom};
}

PixelRect MenuIconRect(const EdgeRect& row, int iconWidth, int iconHeight) {
  return {row.left + (kMenuIconColumn - iconWidth) / 2,
          row.top + (row.bottom - row.top - iconHeight) / 2, iconWidth, iconHeight};
}

EdgeRect XPTextRect(const EdgeRect& item) {
  return {item.left + kXPIconColumn + kXPTextGap, item.top, item.right, item.bottom};
}

int XPItemWidth(int textWidth) {
  const int wanted = kXPIconColumn + kXPTextGap + textWidth + kXPTextMargin;
  return wanted < kXPItemWidth ? kXPItemWidth : wanted > kXPMaxItemWidth ? kXPMaxItemWidth : wanted;
}

std::u16string ShortenMiddle(std::u16string_view text, TextPart part,
                             const std::function<bool(std::u16string_view)>& fits) {
  std::u16string shown(text);
  if (part.start > text.size()) return shown;
  const size_t length = std::min(part.length, text.size() - part.start);
  const std::u16string_view before = text.substr(0, part.start);
  const std::u16string_view name = text.substr(part.start, length);
  const std::u16string_view after = text.substr(part.start + length);
  // Fewest characters cut first; each step keeps the longer half on the left.
  for (size_t cut = 0; !fits(shown) && cut < length; ++cut) {
    const size_t kept = length - cut - 1;
    shown.assign(before);
    shown.append(name.substr(0, (kept + 1) / 2));
    shown.push_back(u'\u2026');
    shown.append(name.substr(length - kept / 2));
    shown.append(after);
  }
  return shown;
}

PixelRect XPIconRect(const EdgeRect& item, bool selected) {
  const int inset = selected ? 2 : 3;
  return {item.left + inset, item.top + inset, kXPIconSize, kXPIconSize};
}

void KeyTextLayer(std::span<uint32_t> pixels) {
  for (uint32_t& p : pixels) {
    const uint32_t colour = p & kColourMask;
    if (colour == kMagenta)
      p &= kAlphaMask;
    else
      p = kAlphaMask | (colour == 0 ? kBlue1 : colour);
  }
}

void LiftBlack(std::span<uint32_t> pixels) {
  for (uint32_t& p : pixels)
    if ((p & kColourMask) == 0) p |= kBlue1;
}

}  // namespace norvi
