#pragma once
// The main dialog: routes the skinned window's messages to its parts (the skin and its
// controls, the profile's apply and save, the device events, the tray, the languages and the
// per-program editing) and keeps what the controls show in step with the edited profile.

#include <windows.h>

#include <array>
#include <string>

#include "app/AppEditing.h"
#include "app/DeviceEvents_win32.h"
#include "app/LanguageMenu_win32.h"
#include "app/MainLayout.h"
#include "app/MainSkin_win32.h"
#include "app/MainServices_win32.h"
#include "app/MainTray_win32.h"
#include "app/ProfileKeeper_win32.h"
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

  const MainServices services_;
  ProfileImage& profile_;
  DeviceEvents device_;
  ProfileKeeper keeper_;
  AppEditing editing_;
  MainTray tray_;
  LanguageMenu language_;

  MainSkin skin_;
  int32_t dialogLines_ = 3;
  std::u16string hint_;
  SystemPathChooser pathChooser_;
  Win32KeyNames keyNames_;
};

}  // namespace norvi
