#pragma once
// Until the program's owner-drawn list box is available: a plain system list box with the
// same calls, so the pages can be built and tested.

#include <windows.h>

#include <string>

#include "framework/WideText.h"
#include "framework/Window_win32.h"

namespace norvi {

class CListBoxEx : public Window {
 public:
  bool Create(HWND parent, const RECT& rect, DWORD style, UINT id) {
    return CreateControl(L"LISTBOX", parent, rect,
                         style & ~static_cast<DWORD>(LBS_OWNERDRAWVARIABLE | LBS_OWNERDRAWFIXED), 0,
                         L"", id);
  }
  void SetColours(COLORREF, COLORREF) {}
  void SetTextColours(COLORREF, COLORREF) {}
  void SetRowHeight(int) {}
  void AddRow(const std::u16string& text) {
    const LRESULT index = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text)));
    Send(LB_SETITEMDATA, index, 0);
    Send(LB_SETCURSEL, index);
  }
};

inline void SkinScrollAttach(HWND, HBITMAP) {}

}  // namespace norvi
