#pragma once
// The function picker: a modal skinned dialog in which one function is chosen for one button
// slot. It changes nothing itself; its owner reads the code and path it answers with.

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "controls/GDIBitmapBtn_win32.h"
#include "framework/Dialog_win32.h"
#include "model/ButtonSlot.h"
#include "picker/SettingPages_win32.h"

namespace norvi {

class CSettingDlg : public Dialog {
 public:
  // `slots` gives the native codes that the default button answers with.
  CSettingDlg(HWND parent, const PickerContext& context, const SlotTable& slots);

  void SetSlotIndex(int index) { slotIndex_ = index; }
  void SetCurrentFunction(std::u16string name) { currentFunction_ = std::move(name); }
  // Runs the picker modally over its parent: IDOK with a choice, else IDCANCEL.
  INT_PTR Run() { return DoModal(parent_); }

  int32_t ResultCode() const { return resultCode_; }
  // The chosen path (advanced functions only), at most 259 characters.
  const std::u16string& ResultPath() const { return path_; }

  // Shows the page of category n (1 to 5) and marks its tab; with the disable box checked
  // every tab is unmarked and every page hidden.
  void ShowCategory(int n);

  const CGDIBitmapBtn& Button(PickerButton button) const {
    return buttons_[static_cast<size_t>(button)];
  }
  // Page of category 1 to 5.
  Dialog& Page(int category) const;
  const CSetting_ListDlg& ListPage(int category) const { return *lists_[category - 1]; }
  const CSetting_AdvanceDlg& AdvancedPage() const { return *advance_; }

  bool PreTranslateMessage(MSG& msg) override;

 protected:
  BOOL OnInitDialog() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PlaceOverParent();
  void CreateButtons();
  void CreatePages();
  // Opens on the page of the slot's pending function with that function chosen.
  void ShowCurrentChoice();
  void OnButton(HWND from);
  void OnOkButton();
  void Paint();
  CGDIBitmapBtn& Mutable(PickerButton button) { return buttons_[static_cast<size_t>(button)]; }

  HWND parent_;
  const PickerContext& context_;
  const SlotTable& slots_;
  UniqueBitmap normal_, down_, over_;
  SIZE size_{};
  std::array<CGDIBitmapBtn, kPickerButtonCount> buttons_;
  std::array<std::unique_ptr<CSetting_ListDlg>, 4> lists_;
  std::unique_ptr<CSetting_AdvanceDlg> advance_;
  std::u16string currentFunction_;
  int slotIndex_ = 0;
  int32_t resultCode_ = 0;
  std::u16string path_;
};

}  // namespace norvi
