#include "app/PelkoDriverApp_win32.h"

#include <commctrl.h>

#include <fstream>

#include "app/MainThreadHold_win32.h"
#include "app/Messages.h"
#include "app/PelkoDriverDlg_win32.h"
#include "app/Startup.h"
#include "controls/DlgInfo_win32.h"
#include "base/WideText.h"
#include "localisation/Languages.h"
#include "model/ProfileStore.h"
#include "model/SystemFolders.h"
#include "model/Text.h"
#include "receiver/ReceiverProtocol.h"

namespace norvi {
namespace {

constexpr DWORD kReceiverAccess = 0x12019F;  // generic file read and write rights
constexpr DWORD kQueryPauseMs = 60;
// Room for the main window's title with the longest file name it can name.
constexpr int kMaxTitle = 512;

// EnumWindows: stops at the main window, whichever program its title names.
BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
  wchar_t title[kMaxTitle] = {};
  const int length = ::GetWindowTextW(window, title, kMaxTitle);
  if (!IsMainWindowTitle(U16(std::wstring_view(title, static_cast<size_t>(length))))) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

constexpr DWORD kLoadLibrarySearchSystem32 = 0x800;

// Later bare-name loads search the system folder only. Looked up at run time: unpatched
// Windows 7 lacks the function.
void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (auto set = BindExport<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories"))
    set(kLoadLibrarySearchSystem32);
}

// Each shown text, one UTF-8 line, goes to the file named by NORVI_MESSAGE_LOG: the tests'
// view of messages that are painted, not held in controls.
void LogShownText(const std::u16string& text) {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetEnvironmentVariableW(L"NORVI_MESSAGE_LOG", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  std::ofstream(path, std::ios::app | std::ios::binary) << Utf16ToUtf8(text) << '\n';
}

}  // namespace

INT_PTR CPelkoDriverApp::Tell(const std::u16string& text, bool twoButtons, HWND owner) const {
  LogShownText(text);
  return ShowInfo({strings_, chineseInterface_, owner, nullptr}, text, twoButtons);
}

void CPelkoDriverApp::TellAtStartUp(std::u16string_view StartupTexts::*text) {
  // No language file is read yet: the box's title, text and button follow the system.
  const StartupTexts& texts = StartupTextsFor(::GetSystemDefaultLangID());
  strings_.Set("str_ok", std::u16string(texts.okText));
  // Drawn in the face of the texts' language: Chinese texts in the Chinese face.
  strings_.SetLanguageIndex(texts.chinese ? kSimplifiedChineseIndex : 0);
  const std::u16string shown(texts.*text);
  LogShownText(shown);
  ShowInfo({strings_, texts.chinese, nullptr, nullptr}, shown, false);
}

int CPelkoDriverApp::InitInstance() {
  RestrictLibrarySearch();
  INITCOMMONCONTROLSEX controls{8, 0xFF};
  ::InitCommonControlsEx(&controls);
  gdiplus_.emplace();
  if (!ClaimSingleInstance()) return 0;
  // Without its own folder in full the program would load its libraries from wherever a
  // cut path points: it ends as when the receiver library is missing.
  if (!FindFolders()) {
    TellAtStartUp(&StartupTexts::receiverLibraryFailed);
    return 1;
  }
  if (!BindReceiverLibrary()) return 1;
  BindSwapLibrary();
  if (!CheckReceiver()) return 1;
  OpenAndQueryReceiver();
  TraceStartBanner();
  const auto testHold = MainThreadHold::FromEnvironment();  // end-to-end tests only
  CPelkoDriverDlg dialog(MainServices{strings_, profile_, programFolder_, configFolder_.folder,
                                      configFolder_.usual, chineseInterface_, *this, *this});
  dialog.DoModal(nullptr);
  return 0;
}

bool CPelkoDriverApp::ClaimSingleInstance() {
  instanceMutex_.reset(::CreateMutexW(nullptr, FALSE, W(kInstanceMutexName)));
  const DWORD error = ::GetLastError();
  // The running instance's mutex exists but cannot be opened: it runs with higher rights (or
  // for another user), and its window cannot be reached either.
  if (!instanceMutex_ && error == ERROR_ACCESS_DENIED) {
    TellAtStartUp(&StartupTexts::runningElsewhere);
    return false;
  }
  if (error != ERROR_ALREADY_EXISTS) return true;
  // The running instance shows its window as on a double-click of its tray icon. Its title
  // may name a program whose assignments it is editing.
  HWND running = nullptr;
  ::EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&running));
  if (running) ::PostMessageW(running, UM_TRAY_NOTIFY, 0, kTrayLeftDoubleClick);
  return false;
}

bool CPelkoDriverApp::FindFolders() {
  // Created there so that the first save has somewhere to go.
  configFolder_ = norvi::ConfigFolder();
  programFolder_ = ProgramFolderFrom(ProgramFilePath());
  return !programFolder_.empty();
}

bool CPelkoDriverApp::BindReceiverLibrary() {
  // By full path: a bare name would also find a planted copy in the current folder.
  receiverLibrary_.reset(::LoadLibraryW(W(LibraryPathIn(programFolder_, kReceiverLibrary))));
  if (receiverLibrary_) {
    openHidDevice_ = BindExport<OpenHidDeviceFn>(receiverLibrary_.get(), "OpenHidDevice");
    getInputReport_ = BindExport<GetInputReportFn>(receiverLibrary_.get(), "GetInputReport");
    findHidDevice_ = BindExport<FindHidDeviceFn>(receiverLibrary_.get(), "FindHidDevice");
  }
  if (openHidDevice_ && getInputReport_) return true;
  TellAtStartUp(&StartupTexts::receiverLibraryFailed);
  return false;
}

void CPelkoDriverApp::BindSwapLibrary() {
  swapLibrary_.reset(::LoadLibraryW(W(LibraryPathIn(programFolder_, kSwapLibrary))));
  if (swapLibrary_) {
    initEnumWindow_ = BindExport<InitEnumWindowFn>(swapLibrary_.get(), "InitEnumWindow");
    showSwapWindow_ = BindExport<ShowSwapWindowFn>(swapLibrary_.get(), "ShowSwapWindow");
  }
  if (!initEnumWindow_ || !showSwapWindow_) TellAtStartUp(&StartupTexts::swapLibraryFailed);
}

int32_t CPelkoDriverApp::DetectReceiver(uint32_t id) {
  receiver_.reset();
  if (id == 0 || !openHidDevice_) return 0;
  receiver_.reset(openHidDevice_(kReceiverUsagePage, kReceiverUsage, W(ReceiverIdText(id)),
                                 receiverPath_.data(), kReceiverPathBytes));
  return receiver_ ? static_cast<int32_t>(id & 0xFFFF) : 0;
}

bool CPelkoDriverApp::CheckReceiver() {
  if (DetectReceiver(ReceiverId) != 0) return true;
  TellAtStartUp(&StartupTexts::noReceiver);
  return false;
}

void CPelkoDriverApp::OpenAndQueryReceiver() {
  receiverPath_.back() = L'\0';  // at most 259 characters
  // The library's handle is ours to close; the path is opened again with the program's rights.
  receiver_.reset(::CreateFileW(receiverPath_.data(), kReceiverAccess,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
  if (!receiver_) return;
  std::array<BYTE, kQueryReportLength> request{kQueryReportId, kQueryCommand};
  DWORD written = 0;
  ::WriteFile(receiver_.get(), request.data(), kQueryReportLength, &written, nullptr);
  ::Sleep(kQueryPauseMs);
  std::array<BYTE, kQueryBufferLength> answer{kQueryReportId, kQueryCommand};
  const bool answered = getInputReport_(receiver_.get(), answer.data(), kQueryReportLength) != 0;
  receiverInfo_ = ReceiverInfoValue(answered, std::span(answer).first(4));
}

void CPelkoDriverApp::TraceStartBanner() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  Trace(StartBanner({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}));
}

}  // namespace norvi
