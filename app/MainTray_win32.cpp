#include "app/MainTray_win32.h"

#include "app/Messages.h"
#include "res/ResourceIds.h"

namespace norvi {

std::u16string AppModeText(const MainServices& services, std::u16string_view program) {
  return services.Text(kAppSettingsKey, program);
}

void MainTray::Add(HWND window) {
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  // A shared icon belongs to the system; nothing to release.
  icon_.Add(window, static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                    MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, 0, 0,
                                                    LR_DEFAULTSIZE | LR_SHARED)));
}

bool MainTray::OnShellMessage(UINT msg) {
  if (msg != taskbarCreated_ || taskbarCreated_ == 0) return false;
  icon_.AddAgain();
  return true;
}

void MainTray::ShowMenu(HWND window, const std::u16string& program) {
  CXPMenu menu;
  menuProgram_ = program;
  if (!menuProgram_.empty()) {
    // A long program name loses its middle, never the words around it.
    const size_t at = services_.strings.Text(kAppSettingsKey).find(u"%s");
    const TextPart name =
        at == std::u16string_view::npos ? TextPart{} : TextPart{at, menuProgram_.size()};
    menu.AddItem(kCommandAppSettings, IDI_TRAY_CONFIG, IDI_TRAY_CONFIG,
                 AppModeText(services_, menuProgram_), name);
  }
  menu.AddItem(kCommandConfig, IDI_TRAY_CONFIG, IDI_TRAY_CONFIG, u"Config");
  menu.AddItem(kCommandExit, IDI_TRAY_EXIT, IDI_TRAY_EXIT, u"Exit");
  POINT cursor{};
  ::GetCursorPos(&cursor);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(window);
  tracked_ = &menu;
  menu.Track(window, cursor, TPM_RIGHTBUTTON);
  tracked_ = nullptr;
}

bool MainTray::HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const {
  return tracked_ && tracked_->HandleOwnerMessage(msg, wp, lp, result);
}

}  // namespace norvi
