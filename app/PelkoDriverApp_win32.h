#pragma once
// The application object: one instance per session, its folders, the two libraries bound at
// run time, the receiver check and query, and the modal run of the main dialog.

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "app/DiscardingTraceSink.h"
#include "app/MainServices_win32.h"
#include "app/Startup.h"
#include "controls/ImageHelpers_win32.h"
#include "base/Handles_win32.h"
#include "localisation/StringTable.h"
#include "model/ProfileImage.h"
#include "model/ProfileStore.h"
#include "receiver/Pardex_win32.h"
#include "swap/SwapExports_win32.h"

namespace norvi {

class CPelkoDriverApp : public DiscardingTraceSink, private IAppCalls {
 public:
  CPelkoDriverApp() = default;
  CPelkoDriverApp(const CPelkoDriverApp&) = delete;
  CPelkoDriverApp& operator=(const CPelkoDriverApp&) = delete;

  // Start-up, the main dialog's run and the end; the result is the process exit code.
  int InitInstance();

  int32_t ReceiverInfo() const { return receiverInfo_; }

 private:
  // IAppCalls: what the main window asks of the application.
  INT_PTR Tell(const std::u16string& text, bool twoButtons, HWND owner) const override;
  int32_t DetectReceiver(uint32_t id) override;

  // One of the built-in start-up messages, in the system's default language.
  void TellAtStartUp(std::u16string_view StartupTexts::*text);
  bool ClaimSingleInstance();
  bool FindFolders();
  bool BindReceiverLibrary();
  void BindSwapLibrary();
  bool CheckReceiver();
  void OpenAndQueryReceiver();
  void TraceStartBanner();

  std::optional<GdiplusSession> gdiplus_;  // started in its place in the start-up order
  UniqueFileHandle receiver_;              // ReceiverLink: the handle, then its device path
  std::array<wchar_t, 260> receiverPath_{};
  int32_t receiverInfo_ = 0;
  std::u16string programFolder_;
  ConfigFolderChoice configFolder_;

  UniqueHandle instanceMutex_;
  UniqueModule receiverLibrary_;
  OpenHidDeviceFn openHidDevice_ = nullptr;
  GetInputReportFn getInputReport_ = nullptr;
  FindHidDeviceFn findHidDevice_ = nullptr;  // bound, never called
  UniqueModule swapLibrary_;
  InitEnumWindowFn initEnumWindow_ = nullptr;  // bound for hosts; the program calls neither
  ShowSwapWindowFn showSwapWindow_ = nullptr;

  ProfileImage profile_{};  // all zero until the main dialog loads the profile
  StringTable strings_;
  bool chineseInterface_ = true;  // until the basic language is read
};

}  // namespace norvi
