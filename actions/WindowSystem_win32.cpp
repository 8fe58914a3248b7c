#include "actions/FindScrollBar.h"
#include "actions/Production_win32.h"
#include "base/WideText.h"

namespace norvi {

// What the portable engine posts, sends, tests and asks for, as Windows has it.
static_assert(kMessageKeyDown == WM_KEYDOWN && kMessageKeyUp == WM_KEYUP &&
              kMessageSysCommand == WM_SYSCOMMAND && kMessageHScroll == WM_HSCROLL);
static_assert(kLineLeft == SB_LINELEFT && kLineRight == SB_LINERIGHT);
static_assert(kCommandMinimize == SC_MINIMIZE && kCommandMaximize == SC_MAXIMIZE);
static_assert(kStyleMaximizeBox == WS_MAXIMIZEBOX && kStyleMinimizeBox == WS_MINIMIZEBOX &&
              kStyleHScroll == WS_HSCROLL);
static_assert(kScrollBarVertical == SBS_VERT && kScrollBarSizeBox == SBS_SIZEBOX);
static_assert(kMetricSwapButton == SM_SWAPBUTTON);
static_assert(kVkLeft == VK_LEFT && kVkRight == VK_RIGHT);

// How long a sent message may keep the main window's thread waiting.
constexpr UINT kSendTimeoutMs = 1000;

ScreenPoint Win32WindowSystem::CursorPosition() {
  POINT p{};
  ::GetCursorPos(&p);
  return {p.x, p.y};
}

void Win32WindowSystem::MoveCursor(ScreenPoint to) {
  ::SetCursorPos(to.x, to.y);
}

WindowHandle Win32WindowSystem::WindowAt(ScreenPoint p) {
  return ToHandle(::WindowFromPoint(POINT{p.x, p.y}));
}

WindowHandle Win32WindowSystem::Desktop() {
  return ToHandle(::GetDesktopWindow());
}

WindowHandle Win32WindowSystem::Foreground() {
  return ToHandle(::GetForegroundWindow());
}

std::u16string_view Win32WindowSystem::ClassOf(WindowHandle w, ClassNameBuffer& buffer) {
  buffer.fill(u'\0');
  const int n = ::GetClassNameW(ToHwnd(w), W(buffer.data()), static_cast<int>(buffer.size()));
  return {buffer.data(), n > 0 ? static_cast<size_t>(n) : 0};
}

uint32_t Win32WindowSystem::StyleOf(WindowHandle w) {
  return static_cast<uint32_t>(::GetWindowLongW(ToHwnd(w), GWL_STYLE));
}

ScreenRect Win32WindowSystem::RectOf(WindowHandle w) {
  RECT r{};
  ::GetWindowRect(ToHwnd(w), &r);
  return {r.left, r.top, r.right, r.bottom};
}

WindowHandle Win32WindowSystem::ParentOf(WindowHandle w) {
  return ToHandle(::GetParent(ToHwnd(w)));
}

WindowHandle Win32WindowSystem::ChildAt(WindowHandle w, ScreenPoint p) {
  POINT client{p.x, p.y};
  ::ScreenToClient(ToHwnd(w), &client);
  return ToHandle(::ChildWindowFromPoint(ToHwnd(w), client));
}

WindowHandle Win32WindowSystem::Related(WindowHandle w, WindowRelation relation) {
  UINT command = GW_CHILD;
  if (relation == WindowRelation::Next) command = GW_HWNDNEXT;
  if (relation == WindowRelation::Previous) command = GW_HWNDPREV;
  return ToHandle(::GetWindow(ToHwnd(w), command));
}

WindowHandle Win32WindowSystem::ChildAfter(WindowHandle parent, WindowHandle after) {
  return ToHandle(::FindWindowExW(ToHwnd(parent), ToHwnd(after), nullptr, nullptr));
}

namespace {

struct EnumContext {
  IWindowSystem::EnumCallback callback;
  void* context;
};

BOOL CALLBACK EnumStep(HWND w, LPARAM lParam) {
  const auto* c = reinterpret_cast<const EnumContext*>(lParam);
  return c->callback(ToHandle(w), c->context) ? TRUE : FALSE;
}

}  // namespace

bool Win32WindowSystem::EnumDescendants(WindowHandle parent, EnumCallback callback, void* context) {
  EnumContext c{callback, context};
  // The walk's own result means nothing (a stopping callback also gives 0); the error does.
  ::SetLastError(ERROR_SUCCESS);
  ::EnumChildWindows(ToHwnd(parent), EnumStep, reinterpret_cast<LPARAM>(&c));
  return ::GetLastError() == ERROR_SUCCESS;
}

void Win32WindowSystem::Post(WindowHandle w, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  ::PostMessageW(ToHwnd(w), message, wParam, lParam);
}

intptr_t Win32WindowSystem::Send(WindowHandle w, uint32_t message, uintptr_t wParam,
                                 intptr_t lParam) {
  // The target belongs to another program; a hung one must not stop every button of ours.
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(ToHwnd(w), message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                        &result);
  return static_cast<intptr_t>(result);
}

int32_t Win32WindowSystem::Metric(int32_t index) {
  return ::GetSystemMetrics(index);
}

}  // namespace norvi
