#pragma once
// CXPMenu: a system popup menu whose items the program draws itself, each with a small icon
// from the program's icon resources and a text. Measuring and drawing requests arrive at the
// owner window, which hands them to the menu it is tracking.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/MenuGeometry.h"
#include "framework/Gdi_win32.h"
#include "base/Handles_win32.h"

namespace norvi {

class CXPMenu {
 public:
  // The record each owner-drawn item carries as its data.
  struct ItemData {
    uint16_t normalIcon = 0;
    int32_t selectedIcon = 0;
    std::u16string text;  // as shown: a long name has lost its middle
    int width = kXPItemWidth;
  };

  // An empty popup menu; icons come from `module` (nullptr: the program).
  explicit CXPMenu(HMODULE module = nullptr);

  // Appends an owner-drawn item as wide as its text. A text too long for the widest item
  // loses the middle of `shortenable` (say, a program's name inside it), else its end.
  bool AddItem(UINT command, uint16_t normalIcon, int32_t selectedIcon, std::u16string text,
               TextPart shortenable = {});
  // Shows the menu at `screen` for `owner` and returns when it closes; the command arrives at
  // the owner as WM_COMMAND.
  void Track(HWND owner, POINT screen, UINT flags = TPM_RIGHTBUTTON);
  // WM_MEASUREITEM and WM_DRAWITEM of this menu's items, as the owner receives them; false for
  // anything else.
  bool HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const;

  HMENU handle() const { return menu_.get(); }

 private:
  struct Item {
    ItemData data;
    UniqueIcon normal;
    UniqueIcon selected;
  };
  const Item* Find(ULONG_PTR itemData) const;
  void Draw(const DRAWITEMSTRUCT& draw, const Item& item) const;

  HMODULE module_;
  UniqueMenu menu_;
  std::vector<std::unique_ptr<Item>> items_;
};

}  // namespace norvi
