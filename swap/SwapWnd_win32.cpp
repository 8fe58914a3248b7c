#include "swap/SwapWnd_win32.h"

#include <windowsx.h>

#include "base/WideText.h"
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
// Row painting, from the row's top-left corner: icon at (10, 3), caption from x = 55.
constexpr int kIconX = 10;
constexpr int kIconY = 3;
constexpr int kCaptionLeft = 55;
constexpr UINT kCaptionFormat =
    DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS | DT_LEFT;

RECT ToRect(const SwapRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

// The DC's own brush: no brush object made per row.
void FillWith(HDC dc, const RECT& rect, uint32_t colour) {
  ::SetDCBrushColor(dc, colour);
  ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
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

// --- SwitcherPaintKit ---

// The captions' font: height 19, semi-bold.
HFONT SwitcherPaintKit::Font() {
  if (!font_) font_ = CreateShellDlgFont(19, 600);
  return font_.get();
}

const MemoryCanvas& SwitcherPaintKit::Canvas(HDC reference) {
  if (!canvas_) {
    const Size largest = SwitcherSize(kMaxListed);
    canvas_ = std::make_unique<MemoryCanvas>(reference, largest.width, largest.height);
  }
  return *canvas_;
}

void SwitcherPaintKit::Release() {
  canvas_.reset();
  font_.reset();
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
  FillRows();
  SetTimer(kCloseTimer, kCloseAfterMs);
  ::SetWindowTextW(hwnd(), kSwitcherTitle);
  // A tool window has no taskbar button.
  const LONG_PTR ex = ::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
  ::SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, (ex & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
  Place(workArea, cursor);
  return TRUE;
}

void CSwapWnd::FillRows() {
  for (int32_t i = 0; i < table_.count; ++i) {
    const SwapEntry& e = table_.entries[i];
    rows_[i] = {ToHicon(e.icon), e.window, e.Title(), e.icon != 0};
  }
  const HICON desktop = ::LoadIconW(services_.module, MAKEINTRESOURCEW(IDI_SWAP_DESKTOP));
  rows_[table_.count] = {desktop, kDesktopMarker, DesktopCaption(::GetSystemDefaultLangID()), true};
}

void CSwapWnd::Place(const SwapRect& workArea, Point cursor) {
  const Size size = SwitcherSize(table_.count);
  const Point at = ClampInto(OpeningPosition(mode_, size, ScreenSize(), cursor), size, workArea);
  // Topmost and back again, both while still hidden: the window ends above every ordinary
  // window even where activation is refused, and is shown a single time, already in place.
  ::SetWindowPos(hwnd(), HWND_TOPMOST, at.x, at.y, size.width, size.height, SWP_NOACTIVATE);
  ::SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

int32_t CSwapWnd::RowUnder(LPARAM clientPoint) const {
  const int32_t row =
      RowAt({GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)}, table_.count + 1);
  return row >= 0 && rows_[row].shown ? row : RowPointer::kNone;
}

void CSwapWnd::InvalidateRow(int32_t row) const {
  if (row < 0) return;
  const RECT r = ToRect(table_.entries[row].rect);
  ::InvalidateRect(hwnd(), &r, FALSE);
}

void CSwapWnd::OnMouseMove(int32_t row) {
  if (!tracking_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    tracking_ = ::TrackMouseEvent(&track);
  }
  const int32_t before = pointer_.hovered();
  if (!pointer_.MoveTo(row)) return;
  InvalidateRow(before);
  InvalidateRow(row);
}

void CSwapWnd::Activate(int32_t row) {
  const WindowId target = rows_[row].target;
  if (target == kDesktopMarker)
    ShowDesktop();
  else
    BringToFront(ToHwnd(target));
  Destroy();
}

LRESULT CSwapWnd::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE: OnMouseMove(RowUnder(lp)); break;
    case WM_MOUSELEAVE:
      tracking_ = false;
      InvalidateRow(pointer_.hovered());
      pointer_.Leave();
      break;
    // A row takes the mouse while pressed, as a push button does.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (const int32_t row = RowUnder(lp); row != RowPointer::kNone) {
        pointer_.Press(row);
        ::SetCapture(hwnd());
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (::GetCapture() == hwnd()) {
        const int32_t clicked = pointer_.Release(RowUnder(lp));
        ::ReleaseCapture();
        if (clicked != RowPointer::kNone) Activate(clicked);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED: pointer_.Cancel(); break;
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

// One off-screen picture of the whole popup, on the library's surface; only the rows in the
// update region are drawn.
void CSwapWnd::Paint() {
  PaintDC paint(hwnd());
  const RECT client = ClientRect();
  const MemoryCanvas& canvas = services_.paintKit.Canvas(paint.get());
  FillWith(canvas.dc(), client, colours_.window);
  {
    const TextScope text(canvas.dc(), services_.paintKit.Font(), colours_.text);
    for (int32_t i = 0; i <= table_.count; ++i) {
      const RECT r = ToRect(table_.entries[i].rect);
      RECT visible{};
      if (rows_[i].shown && ::IntersectRect(&visible, &r, &paint.paint().rcPaint))
        PaintRow(canvas.dc(), text, r, i);
    }
  }
  ::BitBlt(paint.get(), 0, 0, client.right, client.bottom, canvas.dc(), 0, 0, SRCCOPY);
}

void CSwapWnd::PaintRow(HDC dc, const TextScope& text, const RECT& r, int32_t row) const {
  const SwitcherRow& shown = rows_[row];
  FillWith(dc, r, row == pointer_.hovered() ? colours_.hover : colours_.button);
  if (shown.icon) ::DrawIcon(dc, r.left + kIconX, r.top + kIconY, shown.icon);
  text.Draw(shown.caption, RECT{r.left + kCaptionLeft, r.top, r.right, r.bottom}, kCaptionFormat);
}

}  // namespace norvi::swap
