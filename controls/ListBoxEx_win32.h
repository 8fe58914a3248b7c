#pragma once
// The picker's list: an owner-drawn list box with rows of one height, its own background,
// selection and text colours, and a private message to its parent when the user changes the
// selection.

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Gdi_win32.h"
#include "framework/Window_win32.h"

namespace norvi {

class CListBoxEx : public Window {
 public:
  // Posted to the parent when the user changes the selection: wParam = control identifier,
  // lParam = the new current selection.
  static constexpr UINT kSelectionChanged = WM_USER + 101;  // 1125
  static constexpr int kDefaultRowHeight = 20;
  static constexpr int kTextIndent = 5;
  static constexpr UINT kTextFlags =
      DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS;

  // Creates the list box in `parent` and attaches it.
  bool Create(HWND parent, const RECT& rect, DWORD style, UINT id);

  void SetColours(COLORREF background, COLORREF selection);
  void SetTextColours(COLORREF normal, COLORREF selected);
  void SetRowHeight(int height);
  // The interface language of the rows (1 to 12), which picks their font.
  void SetLanguage(int32_t language);
  // Appends a row with item data 0 and selects it; the program's own selection is not
  // reported as a change. Returns the row's index (negative on failure).
  int AddRow(const std::u16string& text);

  HBRUSH BackgroundBrush() const { return background_.get(); }
  COLORREF SelectionColour() const { return selection_; }
  COLORREF TextColour() const { return normalText_; }
  COLORREF SelectedTextColour() const { return selectedText_; }
  int RowHeight() const { return rowHeight_; }

 protected:
  bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  // The defaults are set whenever a window is attached, created or subclassed.
  void OnSubclassed() override;

 private:
  void DrawRow(const DRAWITEMSTRUCT& item) const;
  HBRUSH ColourRequest();
  void Fill(HDC dc, const RECT& rect, HBRUSH brush) const;

  UniqueFont font_;
  int32_t language_ = 0;
  UniqueBrush background_;
  UniqueBrush disabledBackground_;  // made at the first request while disabled
  COLORREF selection_ = 0;
  COLORREF selectedText_ = 0;
  COLORREF normalText_ = 0;
  int rowHeight_ = kDefaultRowHeight;
};

}  // namespace norvi
