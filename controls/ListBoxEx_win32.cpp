#include "controls/ListBoxEx_win32.h"

#include <string>

#include "controls/TextDraw_win32.h"

namespace norvi {
namespace {

static_assert(CListBoxEx::kSelectionChanged == 1125 && CListBoxEx::kTextFlags == 0x8134);

}  // namespace

bool CListBoxEx::Create(HWND parent, const RECT& rect, DWORD style, UINT id) {
  return CreateControl(L"LISTBOX", parent, rect, style, 0, L"", id);
}

void CListBoxEx::OnSubclassed() {
  font_ = CreateTextFont(language_, kListFont);
  background_.reset();
  disabledBackground_.reset();
  selection_ = ::GetSysColor(COLOR_HIGHLIGHT);
  selectedText_ = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  normalText_ = ::GetSysColor(COLOR_WINDOWTEXT);
  rowHeight_ = kDefaultRowHeight;
}

void CListBoxEx::SetColours(COLORREF background, COLORREF selection) {
  background_.reset(::CreateSolidBrush(background));
  selection_ = selection;
  Invalidate(true);
}

void CListBoxEx::SetTextColours(COLORREF normal, COLORREF selected) {
  normalText_ = normal;
  selectedText_ = selected;
  Invalidate(true);
}

void CListBoxEx::SetLanguage(int32_t language) {
  language_ = language;
  font_ = CreateTextFont(language_, kListFont);
  Invalidate(true);
}

void CListBoxEx::SetRowHeight(int height) {
  rowHeight_ = height;
  Invalidate(true);
}

int CListBoxEx::AddRow(const std::u16string& text) {
  const auto index =
      static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  if (index < 0) return index;
  Send(LB_SETITEMDATA, static_cast<WPARAM>(index), 0);
  Send(LB_SETCURSEL, static_cast<WPARAM>(index));
  return index;
}

bool CListBoxEx::OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = static_cast<UINT>(rowHeight_);
      result = TRUE;
      return true;
    case WM_DRAWITEM:
      DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      result = TRUE;
      return true;
    case WM_CTLCOLORLISTBOX: {
      HBRUSH brush = ColourRequest();
      if (!brush) return false;  // no colours set yet: the system's own background
      result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    case WM_COMMAND:
      if (HIWORD(wp) != LBN_SELCHANGE) return false;
      if (HWND parent = ::GetParent(hwnd()))
        ::PostMessageW(parent, kSelectionChanged, LOWORD(wp), Send(LB_GETCURSEL));
      result = 0;
      return true;
    default: return false;
  }
}

HBRUSH CListBoxEx::ColourRequest() {
  if (::IsWindowEnabled(hwnd())) return background_.get();
  if (!disabledBackground_)
    disabledBackground_.reset(::CreateSolidBrush(::GetSysColor(COLOR_INACTIVEBORDER)));
  return disabledBackground_.get();
}

void CListBoxEx::Fill(HDC dc, const RECT& rect, HBRUSH brush) const {
  if (brush) ::FillRect(dc, &rect, brush);
}

void CListBoxEx::DrawRow(const DRAWITEMSTRUCT& item) const {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  UniqueBrush selectionBrush(::CreateSolidBrush(selection_));
  if (selected || item.itemAction == ODA_SELECT) Fill(item.hDC, item.rcItem, selectionBrush.get());
  if (!selected && item.itemAction == ODA_SELECT) Fill(item.hDC, item.rcItem, background_.get());

  COLORREF text = selected ? selectedText_ : normalText_;
  if (item.itemAction == ODA_FOCUS && selected && !(item.itemState & ODS_FOCUS))
    Fill(item.hDC, item.rcItem, selectionBrush.get());
  if (item.itemState & ODS_DISABLED) text = ::GetSysColor(COLOR_BTNSHADOW);
  if (item.itemID == static_cast<UINT>(-1)) return;

  const auto length = static_cast<int>(Send(LB_GETTEXTLEN, item.itemID));
  if (length <= 0) return;
  std::u16string buffer(static_cast<size_t>(length) + 1, u'\0');
  const auto got =
      static_cast<int>(Send(LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(W(buffer.data()))));
  if (got <= 0) return;
  const TextScope scope(item.hDC, font_.get(), text);
  DrawWindowText(
      hwnd(), item.hDC, std::u16string_view(buffer.data(), static_cast<size_t>(got)),
      RECT{item.rcItem.left + kTextIndent, item.rcItem.top, item.rcItem.right, item.rcItem.bottom},
      kTextFlags);
}

}  // namespace norvi
