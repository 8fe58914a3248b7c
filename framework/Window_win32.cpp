#include "framework/Window_win32.h"

namespace norvi {
namespace {

const wchar_t kObjectProperty[] = L"NorviWindowObject";
const wchar_t kWindowClass[] = L"NorviWindow";

// The object whose window is being created on this thread; bound at the window's first
// message, which arrives before CreateWindowEx / CreateDialog return.
thread_local Window* pendingWindow = nullptr;

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

HWND ChildOfReflectedMessage(HWND parent, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      return dis->CtlType == ODT_MENU ? nullptr : dis->hwndItem;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      return mis->CtlType == ODT_MENU ? nullptr : ::GetDlgItem(parent, static_cast<int>(wp));
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return reinterpret_cast<HWND>(lp);
    // A control's notification (lParam is the control; menus and accelerators send none).
    case WM_COMMAND: return reinterpret_cast<HWND>(lp);
    default: return nullptr;
  }
}

}  // namespace

Window::~Window() {
  Destroy();
}

bool Window::Create(HWND parent, const RECT& rect, DWORD style, DWORD exStyle, const wchar_t* title,
                    UINT_PTR id) {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window::StaticWindowProc;
    wc.hInstance = ThisModule();
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&wc);
  }();
  if (!atom || hwnd_) return false;
  SetPending(this);
  HWND h = ::CreateWindowExW(exStyle, kWindowClass, title, style, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(id), ThisModule(), nullptr);
  pendingWindow = nullptr;
  return h != nullptr && hwnd_ == h;
}

bool Window::CreateControl(const wchar_t* className, HWND parent, const RECT& rect, DWORD style,
                           DWORD exStyle, const wchar_t* title, UINT_PTR id) {
  if (hwnd_) return false;
  HWND h = ::CreateWindowExW(exStyle, className, title, style, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(id), ThisModule(), nullptr);
  if (!h) return false;
  if (!Subclass(h)) {
    ::DestroyWindow(h);
    return false;
  }
  return true;
}

bool Window::Subclass(HWND hwnd) {
  if (hwnd_ || !hwnd || FromHandle(hwnd)) return false;
  Bind(hwnd);
  previousProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::StaticSubclassProc)));
  OnSubclassed();
  return true;
}

void Window::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);
  // A window of another thread or one already gone leaves nothing to destroy.
  if (hwnd_) Unbind();
}

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Window*>(::GetPropW(hwnd, kObjectProperty)) : nullptr;
}

bool Window::PreTranslateMessage(MSG&) {
  return false;
}

LRESULT Window::Send(UINT msg, WPARAM wp, LPARAM lp) const {
  return ::SendMessageW(hwnd_, msg, wp, lp);
}
bool Window::Post(UINT msg, WPARAM wp, LPARAM lp) const {
  return ::PostMessageW(hwnd_, msg, wp, lp) != 0;
}
DWORD Window::Style() const {
  return static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
}
void Window::ModifyStyle(DWORD remove, DWORD add) const {
  ::SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>((Style() & ~remove) | add));
}
RECT Window::ClientRect() const {
  RECT r{};
  ::GetClientRect(hwnd_, &r);
  return r;
}
void Window::Invalidate(bool erase) const {
  ::InvalidateRect(hwnd_, nullptr, erase);
}
void Window::SetTimer(UINT_PTR id, UINT milliseconds) const {
  ::SetTimer(hwnd_, id, milliseconds, nullptr);
}
void Window::KillTimer(UINT_PTR id) const {
  ::KillTimer(hwnd_, id);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (ReflectToChild(msg, wp, lp, result)) return result;
  return Default(msg, wp, lp);
}

LRESULT Window::Default(UINT msg, WPARAM wp, LPARAM lp) {
  if (previousProc_) return ::CallWindowProcW(previousProc_, hwnd_, msg, wp, lp);
  return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

bool Window::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

bool Window::ReflectTo(HWND control, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  Window* target = FromHandle(control);
  return target && target->OnReflectedMessage(msg, wp, lp, result);
}

bool Window::ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  const HWND child = ChildOfReflectedMessage(hwnd_, msg, wp, lp);
  return child != hwnd_ && ReflectTo(child, msg, wp, lp, result);
}

void Window::Bind(HWND hwnd) {
  hwnd_ = hwnd;
  ::SetPropW(hwnd, kObjectProperty, this);
}

void Window::Unbind() {
  if (!hwnd_) return;
  if (previousProc_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    previousProc_ = nullptr;
  }
  ::RemovePropW(hwnd_, kObjectProperty);
  hwnd_ = nullptr;
}

void Window::SetPending(Window* window) {
  pendingWindow = window;
}

Window* Window::TakePending(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (!w && pendingWindow) {
    w = pendingWindow;
    pendingWindow = nullptr;
    w->Bind(hwnd);
  }
  return w;
}

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  try {
    result = HandleMessage(msg, wp, lp);
  } catch (...) {
    // The framework sits below the model: it writes its one line to the debugger itself.
    ::OutputDebugStringW(L"ERROR: exception stopped at the window procedure\n");
    result = Default(msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    Unbind();
    OnFinalMessage();
  }
  return result;
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = TakePending(hwnd);
  if (!w) return ::DefWindowProcW(hwnd, msg, wp, lp);
  return w->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK Window::StaticSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = FromHandle(hwnd);
  if (!w) return ::DefWindowProcW(hwnd, msg, wp, lp);
  return w->Dispatch(msg, wp, lp);
}

}  // namespace norvi
