#pragma once
// The five pages of the function picker: four lists of functions and the advanced page, whose
// four functions need a path.

#include <windows.h>

#include <array>
#include <memory>
#include <span>
#include <string>

#include "controls/GDIBitmapBtn_win32.h"
#include "controls/ListBoxEx_win32.h"
#include "controls/SkinScrollWnd_win32.h"
#include "framework/Dialog_win32.h"
#include "framework/Gdi_win32.h"
#include "model/FunctionName.h"
#include "picker/KeysRow_win32.h"
#include "picker/PathChooser.h"
#include "picker/SettingLayout.h"

namespace norvi {

// What the picker and its pages need from the program.
struct PickerContext {
  const IStringLookup& strings;
  std::u16string programFolder;  // base of the skin pictures
  IPathChooser& chooser;
  HMODULE resources = nullptr;    // templates and the scroll-bar skin; nullptr: the program file
  bool chineseInterface = false;  // the layout of the picker's message box
};

// A list page: the functions of one category, no row selected when it is built.
class CSetting_ListDlg : public Dialog {
 public:
  CSetting_ListDlg(int category, const PickerContext& context);

  // The code of the selected row; 0 when no row is selected.
  int32_t GetSelectedCode() const;
  // Selects the row of the code and scrolls it into view; no row when the page lacks it.
  void Select(int32_t code);
  const CListBoxEx& List() const { return list_; }

  bool PreTranslateMessage(MSG& msg) override;

 protected:
  BOOL OnInitDialog() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint();

  const PickerContext& context_;
  std::span<const int32_t> rows_;
  UniqueBitmap background_;
  SIZE backgroundSize_{};
  UniqueBitmap scrollSkin_;  // outlives the list, whose scroll bars draw from it
  CListBoxEx list_;
};

class CSetting_BaseDlg : public CSetting_ListDlg {
 public:
  explicit CSetting_BaseDlg(const PickerContext& c) : CSetting_ListDlg(kCategoryBase, c) {}
};
class CSetting_WindowsDlg : public CSetting_ListDlg {
 public:
  explicit CSetting_WindowsDlg(const PickerContext& c) : CSetting_ListDlg(kCategoryWindows, c) {}
};
class CSetting_MediaDlg : public CSetting_ListDlg {
 public:
  explicit CSetting_MediaDlg(const PickerContext& c) : CSetting_ListDlg(kCategoryMedia, c) {}
};
class CSetting_MouseDlg : public CSetting_ListDlg {
 public:
  explicit CSetting_MouseDlg(const PickerContext& c) : CSetting_ListDlg(kCategoryMouse, c) {}
};

// The advanced page: per row a choice button, a path field and a browse button; below them the
// "Keys..." row (picker/KeysRow_win32.h).
class CSetting_AdvanceDlg : public Dialog {
 public:
  explicit CSetting_AdvanceDlg(const PickerContext& context);

  // The code of the first checked row, copying its path into `path` when the path is not
  // empty; 0 with `path` untouched when no row is checked. The "Keys..." row answers 85 and
  // the combination's text, or 0 while it holds none.
  int32_t GetChoice(std::u16string& path) const;
  // Checks the row of the code and shows its path; nothing for a code of no row.
  void ShowChoice(int32_t code, std::u16string_view path);

  const CGDIBitmapBtn& Choice(int row) const { return choices_[row]; }
  const CGDIBitmapBtn& PathField(int row) const { return paths_[row]; }
  const CGDIBitmapBtn& BrowseButton(int row) const { return browses_[row]; }
  const CKeysRow& KeysRow() const { return keys_; }

  bool PreTranslateMessage(MSG& msg) override;

 protected:
  BOOL OnInitDialog() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateButton(CGDIBitmapBtn& button, const EdgeRect& rect);
  void OnCommand(HWND from, UINT code);
  void CheckRow(int row);
  void AskForPath(int row);
  void ShowPath(int row, std::u16string_view path);
  void Paint();

  const PickerContext& context_;
  UniqueBitmap normal_, down_, over_;
  SIZE size_{};
  std::array<CGDIBitmapBtn, kAdvancedRowCount> choices_;
  std::array<CGDIBitmapBtn, kAdvancedRowCount> paths_;
  std::array<CGDIBitmapBtn, kAdvancedRowCount> browses_;
  CKeysRow keys_;
};

inline RECT ToRect(const EdgeRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

// Loads a skin picture from the program folder; a missing picture stays empty.
UniqueBitmap LoadSkinPicture(const std::u16string& programFolder, std::u16string_view name,
                             SIZE* size = nullptr);

}  // namespace norvi
