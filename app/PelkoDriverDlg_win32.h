#pragma once
// The main dialog: the skinned window with its 21 controls and the routing of its messages
// to its parts: the profile's apply and save, the device events, the tray, the languages and
// the per-program editing.

#include <windows.h>

#include <array>
#include <string>

#include "app/AppEditing.h"
#include "app/DeviceEvents_win32.h"
#include "app/LanguageMenu_win32.h"
#include "app/MainLayout.h"
#include "app/MainServices_win32.h"
#include "app/MainTray_win32.h"
#include "app/PngHSlider_win32.h"
#include "app/ProfileKeeper_win32.h"
#include "controls/BitmapEdit_win32.h"
#include "controls/GDIBitmapBtn_win32.h"
#include "framework/Dialog_win32.h"
#include "framework/Gdi_win32.h"
#include "model/KeyNames_win32.h"
#include "picker/PathChooser_win32.h"

namespace norvi {

constexpr UINT kMainDialogTemplate = 102;

class CPelkoDriverDlg : public Dialog, private IProfileView {
 public:
  explicit CPelkoDriverDlg(const MainServices& services);

  bool PreTranslateMessage(MSG& msg) override;

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override {}  // Escape and the dialog manager's cancel never close it
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // IProfileView
  void UpdateControls(int form) override;
  void RefreshTooltips() override;

  void BuildSkin();
  // The option buttons' looks: their label-free pictures with the labels of the current
  // language drawn over them.
  void LabelOptionButtons();
  UniqueBitmap LabelledPicture(HDC reference, HBITMAP labelFree, const RECT& place) const;
  void CreateControl(const ControlPlace& place, Gdiplus::Bitmap* languageBackground, HBITMAP over,
                     HBITMAP down);
  void AddSystemMenuItem();
  void SetIcons();
  // Captions and tooltips again from the string table.
  void RefreshLanguageTexts();

  // While a box of the main window is open (a message, the picker), what it answers belongs
  // to what was edited when it opened: the tray may not change that. True when one is open;
  // it is brought to the front.
  bool FrontOpenBox();
  // The box the user answers now: an enabled window the main window owns, directly or
  // through other boxes; null when none.
  HWND OpenBox() const;
  void OnTrayNotify(LPARAM mouseMessage);
  void ShowFromTray();
  void OnTrayCommand(UINT command);
  // Application mode: the main window edits one program's own assignments (empty: the
  // default profile, as always before).
  void EditAssignmentsOf(const std::u16string& program);
  // What the hint line shows when nothing is hovered.
  std::u16string RestingHint() const;
  void SaveAppAssignments();
  void RemoveAppAssignments();

  void Paint();
  void OnButton(HWND button);
  void OnSettingsButton(MainControl control);
  void SetWheelEditEnabled(bool enabled);
  void PushWheelLines();
  void NormaliseWheelLines();
  void ChooseFunction(int slot);
  void OnMouseMove(POINT client);
  void OnHoverText(LPARAM number);
  void OnClose();
  void OnTimer(UINT_PTR id);

  CGDIBitmapBtn& Button(MainControl control) { return buttons_[static_cast<size_t>(control)]; }
  RECT Place(MainControl control) const;

  const MainServices services_;
  ProfileImage& profile_;
  DeviceEvents device_;
  ProfileKeeper keeper_;
  AppEditing editing_;
  MainTray tray_;
  LanguageMenu language_;

  UniqueBitmap normal_;  // the background; buttons keep their own cut pictures
  SIZE size_{};
  bool chineseLayout_ = false;  // the layout the skin was built for, whatever language follows
  // The label-free looks of the buttons that carry a label (precision, rows, screen), in
  // order: normal, over, down.
  std::array<std::array<UniqueBitmap, 3>, 3> optionLooks_;
  // One button per place of the layout; the slider's and the edit's places stay unused.
  std::array<CGDIBitmapBtn, kMainControlCount> buttons_;
  CPngHSliderBar slider_;
  CBitmapEdit wheelEdit_;
  int32_t dialogLines_ = 3;
  std::u16string hint_;
  SystemPathChooser pathChooser_;
  Win32KeyNames keyNames_;
};

}  // namespace norvi
