#pragma once
// The main dialog: the skinned window with its 21 controls, apply and device-event dispatch,
// the pointer and wheel settings, the tray icon and the orderly shutdown.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "actions/Function.h"
#include "actions/Production_win32.h"
#include "app/AppSwitch.h"
#include "app/ApplyModel.h"
#include "app/DeviceDispatch.h"
#include "app/ForegroundTracker_win32.h"
#include "app/LanguageSelection.h"
#include "app/MainLayout.h"
#include "app/PngHSlider_win32.h"
#include "app/TrayIcon_win32.h"
#include "controls/BitmapEdit_win32.h"
#include "controls/GDIBitmapBtn_win32.h"
#include "controls/WndPopup_win32.h"
#include "controls/XPMenu_win32.h"
#include "device/USBDriver_win32.h"
#include "framework/Dialog_win32.h"
#include "framework/Gdi_win32.h"
#include "model/ProfileStore.h"
#include "picker/PathChooser_win32.h"

namespace norvi {

class CPelkoDriverApp;

constexpr UINT kMainDialogTemplate = 102;

// The main window's timers, on its own handle.
class WindowTimer : public ITimer {
 public:
  explicit WindowTimer(const Window& window) : window_(window) {}
  void Start(uint32_t id, uint32_t periodMs) override { window_.SetTimer(id, periodMs); }
  void Kill(uint32_t id) override { window_.KillTimer(id); }

 private:
  const Window& window_;
};

class CPelkoDriverDlg : public Dialog,
                        private ISlotPerformer,
                        private IFilterLink,
                        private ILanguageWindow {
 public:
  explicit CPelkoDriverDlg(CPelkoDriverApp& app);
  ~CPelkoDriverDlg() override;

  // Sends, applies and saves; returns how the save went.
  ProfileOutcome ApplySetting();
  int32_t ApplyFilerToDevice();
  void UpdateControls(int form);
  void RefreshTooltips();
  void NormaliseWheelLines();

  bool PreTranslateMessage(MSG& msg) override;

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override {}  // Escape and the dialog manager's cancel never close it
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // ISlotPerformer, IFilterLink: the executor and the driver link.
  void PerformSlot(int slot) override { function_.PerformSlot(slot); }
  int32_t SetMouseFilter(uint32_t mask) override { return driver_.SetMouseFilter(mask); }
  int32_t SetKeyboardFilter(uint32_t value) override { return driver_.SetKeyboardFilter(value); }
  int32_t SetComboFilter(uint32_t bits) override { return driver_.SetComboFilter(bits); }

  void BuildSkin();
  void CreateControl(const ControlPlace& place, Gdiplus::Bitmap* languageBackground, HBITMAP over,
                     HBITMAP down);
  void AddSystemMenuItem();
  void SetIcons();
  // The basic language: false loads its strings (at creation), true shows its flag.
  void InitBasicLanguage(bool showFlag);
  void LoadBasicLanguage();
  void ShowBasicFlag();
  void PostStartLanguage();
  void OpenLanguageMenu();

  // ILanguageWindow: the steps of a language change.
  bool LanguageMenuOpen() const override;
  void SetChineseInterface(bool chinese) override;
  void LoadLanguageStrings(std::u16string_view file) override;
  void ShowFlag(int32_t index) override;
  void StoreLanguageChoice(int32_t index) override;
  void RefreshLanguageTexts() override;
  void CloseLanguageMenu() override;
  void AddTrayIcon();
  void OnTrayNotify(LPARAM mouseMessage);
  void ShowTrayMenu();
  void ShowFromTray();
  void OnDeviceChange(WPARAM event);
  void OnForegroundCheck();
  void LoadProfile();
  ProfileOutcome SaveProfile();
  void ResetProfile();
  // A failed save shows the text under failureKey with the profile path.
  void ReportSave(const ProfileOutcome& outcome, std::string_view failureKey);
  // The language text under key, its %s replaced by path, in the message box.
  void TellText(std::string_view key, const std::u16string& path);
  // The program in front changed; its assignments apply when no click is in progress.
  void OnForeground(const std::u16string& program);
  void SwitchTo(const std::optional<std::u16string>& key);
  int32_t ApplyInForce(ITraceSink& trace);
  void ShowProgramInTip();
  // Application mode: the main window edits one program's own assignments (empty: the
  // default profile, as always before).
  void EditAssignmentsOf(const std::u16string& program);
  ProfileImage& Edited() { return editing_.empty() ? profile_ : appImage_; }
  std::u16string AppModeText(const std::u16string& program) const;
  // What the hint line shows when nothing is hovered.
  std::u16string RestingHint() const;
  void SaveAppAssignments();
  void RemoveAppAssignments();
  // A program's file was written or removed: the assignments in force follow.
  void AppFileChanged(const std::u16string& program);

  void Paint();
  void OnButton(HWND button);
  void OnSettingsButton(MainControl control);
  void SetWheelEditEnabled(bool enabled);
  void PushWheelLines();
  void ChooseFunction(int slot);
  void OnMouseMove(POINT client);
  void OnHoverText(LPARAM number);
  void OnClose();
  void OnTimer(UINT_PTR id);

  CGDIBitmapBtn& Button(MainControl control) { return buttons_[static_cast<size_t>(control)]; }
  RECT Place(MainControl control) const;

  CPelkoDriverApp& app_;
  ProfileImage& profile_;
  ProfileFile profileFile_;
  bool toldUnreadable_ = false;
  // What dispatch performs: the default profile, or the program in front's own slots.
  ProfileImage active_{};
  AppSwitch switch_;
  // Whether a program has a valid file of its own, by executable name; forgotten when the
  // profile is loaded again.
  std::map<std::u16string, bool> ownFile_;
  std::u16string editing_;      // the program whose own assignments the window edits
  ProfileImage appImage_{};     // its assignments while they are edited
  std::u16string menuProgram_;  // the program the open tray menu offers

  Win32InputInjector input_;
  Win32WindowSystem windows_;
  Win32SystemCalls system_;
  WindowTimer timer_{*this};
  DebuggerOutput debugger_;
  CFunction function_;
  CUSBDriver driver_;

  UniqueBitmap normal_;  // the background; buttons keep their own cut pictures
  SIZE size_{};
  // One button per place of the layout; the slider's and the edit's places stay unused.
  std::array<CGDIBitmapBtn, kMainControlCount> buttons_;
  CPngHSliderBar slider_;
  CBitmapEdit wheelEdit_;
  int32_t dialogLines_ = 3;
  std::u16string hint_;
  int32_t pickerSlot_ = -1;  // the slot whose picker is open or was open last
  SystemPathChooser pathChooser_;
  UniqueBitmap flag_;
  const Language* basicLanguage_ = &norvi::BasicLanguage(0);
  // The open language menu; a closed one waits in retiredMenu_ until the next menu opens, as
  // its own message handler may still be running when it is forgotten.
  std::unique_ptr<CMenuExA> languageMenu_;
  std::unique_ptr<CMenuExA> retiredMenu_;
  TrayIcon tray_;
  DeviceNotification devices_;
  UINT taskbarCreated_ = 0;      // the shell's message after its taskbar came back
  CXPMenu* trayMenu_ = nullptr;  // the tray menu while it is tracked
  bool receiverGone_ = false;    // the removal message is up; further removals wait for it
  std::unique_ptr<ForegroundTracker> foreground_;
};

}  // namespace norvi
