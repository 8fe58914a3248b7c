#include "controls/XPMenu_win32.h"

#include "controls/MenuGeometry.h"
#include "controls/TextDraw_win32.h"

namespace norvi {
namespace {

constexpr COLORREF kSelectedFill = RGB(177, 185, 207);
constexpr COLORREF kNormalFill = RGB(219, 216, 209);
constexpr COLORREF kSelectedText = RGB(0, 60, 145);
constexpr COLORREF kNormalText = RGB(0, 0, 0);
constexpr UINT kTextFlags =
    DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS;
static_assert(kTextFlags == 0x8135);
constexpr int kFontHeight = 14;
constexpr int kFontWeight = 500;

HICON LoadSmallIcon(HMODULE module, int id) {
  return static_cast<HICON>(
      ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, kXPIconSize, kXPIconSize, 0));
}

UniqueFont ItemFont() {
  return UniqueFont(::CreateFontW(kFontHeight, 0, 0, 0, kFontWeight, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, FF_SWISS, L"Arial"));
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  UniqueBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &r, brush.get());
}

}  // namespace

CXPMenu::CXPMenu(HMODULE module)
    : module_(module ? module : ::GetModuleHandleW(nullptr)), menu_(::CreatePopupMenu()) {}

bool CXPMenu::AddItem(UINT command, uint16_t normalIcon, int32_t selectedIcon, std::u16string text,
                      TextPart shortenable) {
  auto item = std::make_unique<Item>();
  // Measured once with the font that draws it, so that what is measured is what shows.
  WindowDC screen(nullptr);
  UniqueFont font = ItemFont();
  const TextScope measure(screen.get(), font.get(), kNormalText);
  const auto width = [&measure](std::u16string_view t) { return measure.Extent(t).cx; };
  if (shortenable.length > 0)
    text = ShortenMiddle(text, shortenable,
                         [&width](std::u16string_view t) { return width(t) <= kXPMaxTextWidth; });
  const int itemWidth = XPItemWidth(width(text));
  item->data = {normalIcon, selectedIcon, std::move(text), itemWidth};
  item->normal.reset(LoadSmallIcon(module_, normalIcon));
  item->selected.reset(LoadSmallIcon(module_, selectedIcon));
  if (!menu_ ||
      !::AppendMenuW(menu_.get(), MF_OWNERDRAW, command, reinterpret_cast<LPCWSTR>(&item->data)))
    return false;
  items_.push_back(std::move(item));
  return true;
}

void CXPMenu::Track(HWND owner, POINT screen, UINT flags) {
  ::TrackPopupMenu(menu_.get(), flags, screen.x, screen.y, 0, owner, nullptr);
}

const CXPMenu::Item* CXPMenu::Find(ULONG_PTR itemData) const {
  for (const auto& item : items_)
    if (reinterpret_cast<ULONG_PTR>(&item->data) == itemData) return item.get();
  return nullptr;
}

bool CXPMenu::HandleOwnerMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) const {
  if (msg == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (measure->CtlType != ODT_MENU || !Find(measure->itemData)) return false;
    measure->itemWidth = static_cast<UINT>(Find(measure->itemData)->data.width);
    measure->itemHeight = kXPItemHeight;
    result = TRUE;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    const Item* item = draw->CtlType == ODT_MENU ? Find(draw->itemData) : nullptr;
    if (!item) return false;
    Draw(*draw, *item);
    result = TRUE;
    return true;
  }
  return false;
}

void CXPMenu::Draw(const DRAWITEMSTRUCT& draw, const Item& item) const {
  const HDC dc = draw.hDC;
  const RECT& r = draw.rcItem;
  const EdgeRect edges{r.left, r.top, r.right, r.bottom};
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  if (selected) {
    {
      SelectObjectScope brush(dc, ::GetStockObject(NULL_BRUSH));
      SelectObjectScope pen(dc, ::GetStockObject(BLACK_PEN));
      ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    RECT inside = r;
    ::InflateRect(&inside, -1, -1);
    Fill(dc, inside, kSelectedFill);
  } else {
    Fill(dc, {r.left, r.top, r.left + kXPIconColumn, r.bottom}, kNormalFill);
    Fill(dc, {r.left + kXPIconColumn, r.top, r.right, r.bottom}, kNormalFill);
  }
  const PixelRect icon = XPIconRect(edges, selected);
  ::DrawIconEx(dc, icon.x, icon.y, (selected ? item.selected : item.normal).get(), icon.width,
               icon.height, 0, nullptr, DI_NORMAL);
  UniqueFont font = ItemFont();
  const TextScope text(dc, font.get(), selected ? kSelectedText : kNormalText);
  const EdgeRect t = XPTextRect(edges);
  DrawWindowText(::WindowFromDC(dc), dc, item.data.text, RECT{t.left, t.top, t.right, t.bottom},
                 kTextFlags);
}

}  // namespace norvi
