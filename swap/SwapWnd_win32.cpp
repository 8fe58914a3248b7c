#include "swap/SwapWnd_win32.h"

#include "framework/WideText.h"
#include "swap/SwapResource.h"
#include "swap/WindowSource_win32.h"

namespace norvi::swap {
namespace {

// The portable rules' keys, key flags, show commands and language id, as Windows has them.
static_assert(kVkReturn == VK_RETURN && kVkEscape == VK_ESCAPE && kVkSpace == VK_SPACE &&
              kVkLeftWin == VK_LWIN && kVkD == 'D');
static_assert(kKeyExtended == KEYEVENTF_EXTENDEDKEY && kKeyUp == KEYEVENTF_KEYUP);
static_assert(kShowRestore == SW_RESTORE && kShowMaximized == SW_MAXIMIZE && kShow == SW_SHOW);
static_assert(kLangChineseSimplified == MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));

constexpr UINT_PTR kCloseTimer = 0x1102;
constexpr UINT kCloseAfterMs = 10000;
constexpr wchar_t kSwitcherTitle[] = L"FastSwapWindow";
constexpr DWORD kRowStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
// Row painting: icon at (10, 3), caption from x = 55.
constexpr int kIconX = 10;
constexpr int kIconY = 3;
constexpr int kCaptionLeft = 55;
constexpr UINT kCaptionFormat =
    DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS | DT_LEFT;

RECT ToRect(const SwapRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

void FillWith(HDC dc, const RECT& rect, uint32_t colour) {
  const UniqueBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rect, brush.get());
}

Size ScreenSize() {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

Point CursorPosition() {
  POINT p{};
  ::GetCursorPos(&p);
  return {p.x, p.y};
}

void ShowDesktop() {
  for (const KeyStroke& k : kShowDesktopKeys) ::keybd_event(k.virtualKey, 0, k.flags, 0);
}

// A key press as the message loop would have pre-translated it.
MSG KeyDown(HWND hwnd, WPARAM key, LPARAM flags) {
  return {hwnd, WM_KEYDOWN, key, flags, 0, {}};
}

void BringToFront(HWND target) {
  ::ShowWindow(target, ActivationShowCommand(::IsIconic(target), ::IsZoomed(target)));
  ::SetForegroundWindow(target);
  ::SetActiveWindow(target);
}

}  // namespace

SwapRect WorkArea(bool atCursor, Point cursor) {
  const HMONITOR monitor = atCursor
                               ? ::MonitorFromPoint({cursor.x, cursor.y}, MONITOR_DEFAULTTONEAREST)
                               : ::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) {
    const Size screen = ScreenSize();
    return {0, 0, screen.width, screen.height};
  }
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

// --- CIconBtn ---

// Height 19, semi-bold: the caption font of a row.
CIconBtn::CIconBtn() : font_(CreateShellDlgFont(19, 600)) {}

bool CIconBtn::CreateRow(HWND parent, const SwapRect& rect) {
  return CreateControl(L"BUTTON", parent, ToRect(rect), kRowStyle);
}

void CIconBtn::SetRow(HICON icon, WindowId target, std::u16string_view caption,
                      const SwitcherColours& colours) {
  icon_ = icon;
  target_ = target;
  caption_ = caption;
  colours_ = colours;
}

LRESULT CIconBtn::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        ::TrackMouseEvent(&track);
        tracking_ = hover_ = true;
        Invalidate(false);
      }
      break;
    case WM_MOUSELEAVE:
      tracking_ = hover_ = false;
      Invalidate(false);
      break;
    case WM_KEYDOWN: {
      // Hosts whose loop does not pre-translate still get the switcher's keys.
      MSG key = KeyDown(hwnd(), wp, lp);
      if (Window* owner = FromHandle(::GetParent(hwnd())); owner && owner->PreTranslateMessage(key))
        return 0;
      break;
    }
    default: break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

void CIconBtn::Paint() {
  PaintDC paint(hwnd());
  const RECT client = ClientRect();
  MemoryCanvas canvas(paint.get(), client.right, client.bottom);
  FillWith(canvas.dc(), client, hover_ ? colours_.hover : colours_.button);
  if (icon_) ::DrawIcon(canvas.dc(), kIconX, kIconY, icon_);
  {
    const TextScope text(canvas.dc(), font_.get(), colours_.text);
    text.Draw(caption_, RECT{kCaptionLeft, 0, client.right, client.bottom}, kCaptionFormat);
  }
  canvas.CopyTo(paint.get());
}

// --- CSwapWnd ---

CSwapWnd::CSwapWnd(const SwitcherServices& services)
    : Dialog(IDD_SWAP, services.module), services_(services) {}

// The window goes with the object.
CSwapWnd::~CSwapWnd() {
  Destroy();
}

bool CSwapWnd::PreTranslateMessage(MSG& msg) {
  if (msg.message != WM_KEYDOWN) return Dialog::PreTranslateMessage(msg);
  switch (KeyDownAction(static_cast<uint32_t>(msg.wParam))) {
    case KeyAction::Close: Destroy(); return true;
    case KeyAction::Swallow: return true;
    case KeyAction::Default: break;
  }
  return Dialog::PreTranslateMessage(msg);
}

BOOL CSwapWnd::OnInitDialog() {
  Dialog::OnInitDialog();
  const Point cursor = CursorPosition();
  const SwapRect workArea = WorkArea(OpensAtCursor(mode_), cursor);
  table_.limit = ListedLimit(workArea.bottom - workArea.top);
  Win32WindowSource windows(services_.module, services_.wmi, services_.trace);
  ListTopLevelWindows(windows, services_.trace, table_, services_.cache);
  if (table_.count == 0 || table_.count >= kMaxListed) {
    Destroy();
    return FALSE;
  }
  services_.trace.Line(u"After enum");
  for (int32_t i = 0; i < table_.count; ++i) {
    const SwapEntry& e = table_.entries[i];
    services_.trace.Line(u"[%d]: hIcon=%x, Text= %ws\n", {i, e.icon, e.Title()});
  }
  for (int32_t i = 0; i < kEntryCapacity; ++i) table_.entries[i].rect = RowRect(i);
  CreateRows();
  SetTimer(kCloseTimer, kCloseAfterMs);
  ::SetWindowTextW(hwnd(), kSwitcherTitle);
  // A tool window has no taskbar button.
  const LONG_PTR ex = ::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
  ::SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, (ex & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
  Place(workArea, cursor);
  return TRUE;
}

void CSwapWnd::CreateRows() {
  for (int32_t i = 0; i < table_.count; ++i) {
    const SwapEntry& e = table_.entries[i];
    if (!e.icon || !buttons_[i].CreateRow(hwnd(), e.rect)) continue;
    buttons_[i].SetRow(ToHicon(e.icon), e.window, e.Title(), colours_);
  }
  CIconBtn& desktop = buttons_[table_.count];
  if (desktop.CreateRow(hwnd(), table_.entries[table_.count].rect)) {
    const HICON icon = ::LoadIconW(services_.module, MAKEINTRESOURCEW(IDI_SWAP_DESKTOP));
    desktop.SetRow(icon, kDesktopMarker, DesktopCaption(::GetSystemDefaultLangID()), colours_);
  }
}

void CSwapWnd::Place(const SwapRect& workArea, Point cursor) {
  const Size size = SwitcherSize(table_.count);
  const Point at = ClampInto(OpeningPosition(mode_, size, ScreenSize(), cursor), size, workArea);
  // On top once, then an ordinary window again.
  ::SetWindowPos(hwnd(), HWND_TOPMOST, at.x, at.y, size.width, size.height, SWP_SHOWWINDOW);
  ::SetWindowPos(hwnd(), HWND_NOTOPMOST, at.x, at.y, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE);
}

bool CSwapWnd::OnRowClicked(HWND button) {
  for (int32_t i = 0; i <= table_.count; ++i) {
    if (!buttons_[i] || buttons_[i].hwnd() != button) continue;
    if (buttons_[i].target() == kDesktopMarker)
      ShowDesktop();
    else
      BringToFront(ToHwnd(buttons_[i].target()));
    Destroy();
    return true;
  }
  return false;
}

LRESULT CSwapWnd::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp && OnRowClicked(reinterpret_cast<HWND>(lp))) return 0;
      break;
    case WM_KEYDOWN: {
      MSG key = KeyDown(hwnd(), wp, lp);
      if (PreTranslateMessage(key)) return 0;
      break;
    }
    case WM_TIMER:
      if (wp != kCloseTimer) break;
      KillTimer(kCloseTimer);
      Destroy();
      return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return TRUE;
    default: break;
  }
  return Dialog::HandleMessage(msg, wp, lp);
}

void CSwapWnd::Paint() {
  PaintDC paint(hwnd());
  FillWith(paint.get(), ClientRect(), colours_.window);
}

}  // namespace norvi::swap
