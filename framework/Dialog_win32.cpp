#include "framework/Dialog_win32.h"

#include <utility>

namespace norvi {
namespace {

// Messages whose dialog-procedure result is returned directly instead of through
// DWLP_MSGRESULT.
bool ReturnsDirectly(UINT msg) {
  switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON: return true;
    default: return false;
  }
}

bool IsChildWindow(HWND hwnd) {
  return (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0;
}

}  // namespace

bool IsEnterEscapeOrSpace(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP) return false;
  return msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE || msg.wParam == VK_SPACE;
}

Dialog::Dialog(UINT templateId, HINSTANCE module)
    : templateId_(templateId), module_(module ? module : ::GetModuleHandleW(nullptr)) {}

Dialog::~Dialog() {
  Destroy();
}

bool Dialog::CreateModeless(HWND parent) {
  if (hwnd()) return false;
  endRequested_ = false;
  SetPending(this);
  HWND h = ::CreateDialogParamW(module_, MAKEINTRESOURCEW(templateId_), parent,
                                &Dialog::StaticDialogProc, 0);
  SetPending(nullptr);
  return h != nullptr && hwnd() == h;
}

INT_PTR Dialog::DoModal(HWND owner) {
  modal_ = true;
  result_ = -1;
  if (!CreateModeless(owner)) {
    modal_ = false;
    return -1;
  }
  const bool disableOwner = owner && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);
  if (!endRequested_) {
    ::ShowWindow(hwnd(), SW_SHOW);
    RunModalLoop();
  }
  // Re-enable the owner before the dialog goes, so activation returns to it.
  if (disableOwner) ::EnableWindow(owner, TRUE);
  if (hwnd())
    ::SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Destroy();
  modal_ = false;
  return result_;
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  endRequested_ = true;
  if (modal_) {
    // Wake the loop in case this ran outside a dispatched message.
    ::PostMessageW(hwnd(), WM_NULL, 0, 0);
  } else {
    Destroy();
  }
}

void Dialog::RunModalLoop() {
  MSG msg{};
  while (!endRequested_ && hwnd()) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // Leave WM_QUIT for the outer loop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (PreTranslateChain(msg)) continue;
    if (hwnd() && ::IsDialogMessageW(hwnd(), &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool Dialog::PreTranslateChain(MSG& msg) {
  for (HWND h = msg.hwnd; h; h = ::GetParent(h)) {
    if (Window* w = FromHandle(h); w && w->PreTranslateMessage(msg)) return true;
    if (h == hwnd() || !IsChildWindow(h)) break;
  }
  return false;
}

LRESULT Dialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_COMMAND:
      if (lp == 0 || HIWORD(wp) == BN_CLICKED) {
        if (LOWORD(wp) == IDOK) {
          OnOK();
          return 0;
        }
        if (LOWORD(wp) == IDCANCEL) {
          OnCancel();
          return 0;
        }
      }
      break;
    default: break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

LRESULT Dialog::Default(UINT, WPARAM, LPARAM) {
  defaultRequested_ = true;
  return 0;
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* dialog = static_cast<Dialog*>(TakePending(hwnd));
  if (!dialog) return FALSE;
  const bool outer = std::exchange(dialog->defaultRequested_, false);
  const LRESULT result = dialog->Dispatch(msg, wp, lp);
  const bool handled = !dialog->defaultRequested_;
  dialog->defaultRequested_ = outer;
  if (!handled) return FALSE;
  if (ReturnsDirectly(msg)) return static_cast<INT_PTR>(result);
  ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace norvi
