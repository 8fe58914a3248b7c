#include "SwapSupport_win32.h"

#include <cstdlib>

namespace norvi::testkit {
namespace {

// Exception codes by which OutputDebugString reaches a debugger.
constexpr DWORD kPrintException = 0x40010006;
constexpr DWORD kPrintExceptionWide = 0x4001000A;
constexpr wchar_t kWindowClass[] = L"SwapTestWindow";

DebugCapture* activeCapture = nullptr;

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) out += *text < 0x80 ? static_cast<char>(*text) : '?';
  return out;
}

// The "[i]: hIcon=h, Text= title" lines after the last "After enum".
std::vector<std::string> ListedLines(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    if (line == "After enum") out.clear();
    if (line.size() > 1 && line[0] == '[' && line.find("]: hIcon=") != std::string::npos)
      out.push_back(line);
  }
  return out;
}

}  // namespace

std::wstring BesideTest(const wchar_t* file) {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + file;
}

SwapLibrary::SwapLibrary() : module_(::LoadLibraryW(BesideTest(L"Swap.dll").c_str())) {
  if (!module_) return;
  init_ = ::BindExport<::InitEnumWindowFn>(module_.get(), "InitEnumWindow");
  show_ = ::BindExport<::ShowSwapWindowFn>(module_.get(), "ShowSwapWindow");
}

DebugCapture::DebugCapture() : handler_(::AddVectoredExceptionHandler(1, Handler)) {
  activeCapture = this;
}

DebugCapture::~DebugCapture() {
  ::RemoveVectoredExceptionHandler(handler_);
  activeCapture = nullptr;
}

LONG CALLBACK DebugCapture::Handler(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD& r = *info->ExceptionRecord;
  if (activeCapture && r.NumberParameters >= 2) {
    if (r.ExceptionCode == kPrintExceptionWide) {
      activeCapture->Add(Narrow(reinterpret_cast<const wchar_t*>(r.ExceptionInformation[1])));
      // The wide form is followed by the narrow one only when no debugger takes it.
      return EXCEPTION_CONTINUE_EXECUTION;
    }
    if (r.ExceptionCode == kPrintException)
      activeCapture->Add(reinterpret_cast<const char*>(r.ExceptionInformation[1]));
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

void DebugCapture::Add(std::string line) {
  std::lock_guard lock(mutex_);
  lines_.push_back(std::move(line));
}

std::vector<std::string> DebugCapture::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

void DebugCapture::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

std::vector<std::string> DebugCapture::ListedTitles() const {
  std::vector<std::string> out;
  for (const std::string& line : ListedLines(Lines())) {
    std::string title = line.substr(line.find(", Text= ") + 8);
    if (!title.empty() && title.back() == '\n') title.pop_back();
    out.push_back(title);
  }
  return out;
}

std::vector<HICON> DebugCapture::ListedIcons() const {
  std::vector<HICON> out;
  for (const std::string& line : ListedLines(Lines()))
    out.push_back(
        reinterpret_cast<HICON>(std::strtoul(line.c_str() + line.find("hIcon=") + 6, nullptr, 16)));
  return out;
}

UniqueWindow MakeWindow(const std::wstring& title, DWORD exStyle, HWND owner, int show) {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&wc);
  }();
  UniqueWindow window(::CreateWindowExW(exStyle, reinterpret_cast<LPCWSTR>(atom), title.c_str(),
                                        WS_POPUP | WS_BORDER, 40, 40, 300, 200, owner, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr));
  ::ShowWindow(window.get(), show);
  PumpUntil([&] { return ::IsWindowVisible(window.get()) || show == SW_HIDE; });
  return window;
}

int CountGdiObjects() {
  int count = 0;
  for (UINT_PTR slot = 1; slot <= 0xFFFF; ++slot)
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++count;
  return count;
}

int CountIcons() {
  // User handles are even values from 0x20.
  int count = 0;
  for (UINT_PTR slot = 0x20; slot <= 0xFFFF; slot += 2) {
    ICONINFO info{};
    if (!::GetIconInfo(reinterpret_cast<HICON>(slot), &info)) continue;
    const UniqueBitmap colour(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    ++count;
  }
  return count;
}

HWND FindSwitcher() {
  HWND found = nullptr;
  while ((found = ::FindWindowExW(nullptr, found, L"#32770", L"FastSwapWindow"))) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(found, &pid);
    if (pid == ::GetCurrentProcessId()) return found;
  }
  return nullptr;
}

int PaintedRows(HWND switcher) {
  ::UpdateWindow(switcher);
  const Picture picture = CaptureWindow(switcher);
  if (picture.width < 320) return 0;
  const COLORREF background = picture.At(4, 4);
  int rows = 0;
  for (int y = 12; y < picture.height && picture.At(318, y) != background; y += 40) ++rows;
  return rows;
}

RECT WindowRect(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return r;
}

POINT RowCentre(HWND switcher, int row) {
  POINT p{165, 10 + 40 * row + 19};
  ::ClientToScreen(switcher, &p);
  return p;
}

void MovePointer(POINT screen) {
  ::SetCursorPos(screen.x, screen.y);
  PumpUntil([&] {
    POINT at{};
    return ::GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
  });
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dwFlags = MOUSEEVENTF_MOVE;  // a move of nothing, so the window hears of the pointer
  ::SendInput(1, &move, sizeof move);
}

void DragClick(POINT down, POINT up) {
  INPUT button{};
  button.type = INPUT_MOUSE;
  MovePointer(down);
  button.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  ::SendInput(1, &button, sizeof button);
  if (up.x != down.x || up.y != down.y) {
    PumpFor(50);  // the press is taken where it happened
    MovePointer(up);
  }
  button.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &button, sizeof button);
}

void ClickAt(POINT screen) {
  DragClick(screen, screen);
}

void PressKey(BYTE virtualKey) {
  ::keybd_event(virtualKey, 0, 0, 0);
  ::keybd_event(virtualKey, 0, KEYEVENTF_KEYUP, 0);
}

}  // namespace norvi::testkit
