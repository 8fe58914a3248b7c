#include "tests/support/MessageLog_win32.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <sstream>

namespace norvi::testkit {
namespace {

std::atomic<MessageLog*> activeLog{nullptr};
// The message this thread last took from its queue, until a window procedure feeds it; what a
// window procedure feeds otherwise on this thread was sent.
thread_local MSG retrieved{};
thread_local bool retrievedPending = false;
constexpr wchar_t kProbeClass[] = L"NorviTestProbe";
constexpr wchar_t kPreviousProc[] = L"NorviTestPreviousProc";

std::string Hex(uintptr_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(value));
  return text;
}

constexpr unsigned kHow = kSent | kPosted | kHook;

std::string HowName(unsigned how) {
  std::string text;
  if (how & kSent) text += " sent";
  if (how & kPosted) text += " posted";
  if (how & kHook) text += " hook";
  if (how & kOptional) text += " optional";
  return text;
}

std::string Describe(const Message& m) {
  return MessageName(m.message) + (m.how ? HowName(m.how) : " (sent or posted)") +
         " w=" + Hex(m.wParam) + " l=" + Hex(static_cast<ULONG_PTR>(m.lParam)) +
         (m.window ? " at " + Hex(reinterpret_cast<uintptr_t>(m.window)) : std::string());
}

std::string Describe(const Expected& e) {
  std::string text = MessageName(e.message) + HowName(e.flags);
  if (e.wParam) text += " w=" + Hex(*e.wParam);
  if (e.lParam) text += " l=" + Hex(static_cast<ULONG_PTR>(*e.lParam));
  if (e.window) text += " at " + Hex(reinterpret_cast<uintptr_t>(e.window));
  return text;
}

bool Fits(const Message& m, const Expected& e) {
  return m.message == e.message && (!e.wParam || *e.wParam == m.wParam) &&
         (!e.lParam || *e.lParam == m.lParam) && (!e.window || e.window == m.window) &&
         (!(e.flags & kHow) || (e.flags & kHow) == m.how);
}

}  // namespace

MessageLog::MessageLog(std::vector<UINT> only)
    : only_(std::move(only)),
      queueHook_(::SetWindowsHookExW(WH_GETMESSAGE, Retrieved, nullptr, thread_)) {
  retrievedPending = false;
  activeLog.store(this);
}

MessageLog::~MessageLog() {
  activeLog.store(nullptr);
}

LRESULT CALLBACK MessageLog::Retrieved(int code, WPARAM removed, LPARAM msg) {
  if (code == HC_ACTION && removed == PM_REMOVE) {
    retrieved = *reinterpret_cast<const MSG*>(msg);
    retrievedPending = true;
  }
  return ::CallNextHookEx(nullptr, code, removed, msg);
}

void MessageLog::Feed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageLog* log = activeLog.load();
  if (!log) return;
  unsigned how = 0;
  if (::InSendMessage()) {
    how = kSent;  // from another thread
  } else if (retrievedPending && retrieved.hwnd == window && retrieved.message == message &&
             retrieved.wParam == wParam && retrieved.lParam == lParam) {
    retrievedPending = false;  // its dispatch; what it sends on is sent
    how = kPosted;
  } else if (::GetCurrentThreadId() == log->thread_) {
    how = kSent;
  }
  log->Add({window, message, wParam, lParam, how});
}

void MessageLog::FeedAs(unsigned how, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (MessageLog* log = activeLog.load()) log->Add({window, message, wParam, lParam, how});
}

void MessageLog::Add(const Message& m) {
  if (!only_.empty() && std::find(only_.begin(), only_.end(), m.message) == only_.end()) return;
  std::function<void(const Message&)> callback;
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(m);
    callback = onMessage_;
  }
  if (callback) callback(m);
}

std::vector<Message> MessageLog::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<Message> MessageLog::Of(UINT message) const {
  std::vector<Message> out;
  for (const Message& m : Messages())
    if (m.message == message) out.push_back(m);
  return out;
}

std::vector<WPARAM> MessageLog::WParams(UINT message) const {
  std::vector<WPARAM> out;
  for (const Message& m : Of(message)) out.push_back(m.wParam);
  return out;
}

size_t MessageLog::Count(UINT message) const {
  std::lock_guard lock(mutex_);
  return static_cast<size_t>(std::count_if(messages_.begin(), messages_.end(),
                                           [&](const Message& m) { return m.message == message; }));
}

void MessageLog::Clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

void MessageLog::Reserve(size_t count) {
  std::lock_guard lock(mutex_);
  messages_.reserve(count);
}

void MessageLog::OnMessage(std::function<void(const Message&)> callback) {
  std::lock_guard lock(mutex_);
  onMessage_ = std::move(callback);
}

::testing::AssertionResult Matches(const std::vector<Message>& got,
                                   const std::vector<Expected>& expected,
                                   std::string_view context) {
  bool same = true;
  std::ostringstream diff;
  diff << "   #  expected | got\n";
  const auto row = [&](bool fits, size_t at, const Expected* e, const Message* m) {
    same = same && fits;
    diff << (fits ? "   " : "!! ") << at << "  " << (e ? Describe(*e) : "-") << " | "
         << (m ? Describe(*m) : "-") << "\n";
  };
  // As the expected table reads: an optional entry that does not fit the next message is
  // passed over; any other pairs with it, fitting or not.
  size_t i = 0, j = 0;
  while (i < expected.size() || j < got.size()) {
    const Expected* e = i < expected.size() ? &expected[i] : nullptr;
    const Message* m = j < got.size() ? &got[j] : nullptr;
    const bool fits = e && m && Fits(*m, *e);
    if (e && !fits && (e->flags & kOptional)) {
      row(true, j, e, nullptr);
      ++i;
      continue;
    }
    row(fits, j, e, m);
    i += e != nullptr;
    j += m != nullptr;
  }
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << (context.empty() ? std::string() : std::string(context) + ": ")
         << "message sequence differs:\n"
         << diff.str();
}

std::string MessageName(UINT message) {
  static const std::pair<UINT, const char*> kNames[] = {
      {WM_NULL, "WM_NULL"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_CHAR, "WM_CHAR"},
      {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
      {WM_SYSKEYUP, "WM_SYSKEYUP"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
      {WM_TIMER, "WM_TIMER"},
      {WM_HSCROLL, "WM_HSCROLL"},
      {WM_VSCROLL, "WM_VSCROLL"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
      {WM_RBUTTONUP, "WM_RBUTTONUP"},
      {WM_MBUTTONDOWN, "WM_MBUTTONDOWN"},
      {WM_MBUTTONUP, "WM_MBUTTONUP"},
      {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
      {WM_XBUTTONDOWN, "WM_XBUTTONDOWN"},
      {WM_XBUTTONUP, "WM_XBUTTONUP"},
      {WM_MOUSEHWHEEL, "WM_MOUSEHWHEEL"},
  };
  for (const auto& [number, name] : kNames)
    if (number == message) return name;
  if (message >= WM_APP && message < 0xC000) return "WM_APP+" + std::to_string(message - WM_APP);
  if (message >= WM_USER && message < WM_APP) return "WM_USER+" + std::to_string(message - WM_USER);
  return Hex(message);
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageLog::Feed(window, message, wParam, lParam);
  if (message == WM_XBUTTONDOWN || message == WM_XBUTTONUP) return TRUE;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void RegisterRecordingClass(const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (::GetClassInfoExW(instance, name, &wc)) return;
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = name;
  ::RegisterClassExW(&wc);
}

ProbeWindow::ProbeWindow(const RECT* onScreen, const wchar_t* title, DWORD style, DWORD exStyle) {
  RegisterRecordingClass(kProbeClass);
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!onScreen) {
    window_.reset(::CreateWindowExW(0, kProbeClass, title, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    instance, nullptr));
    return;
  }
  window_.reset(::CreateWindowExW(exStyle, kProbeClass, title, WS_POPUP | WS_VISIBLE | style,
                                  onScreen->left, onScreen->top, onScreen->right - onScreen->left,
                                  onScreen->bottom - onScreen->top, nullptr, nullptr, instance,
                                  nullptr));
  ::SetForegroundWindow(window_.get());
}

RecordingSubclass::RecordingSubclass(HWND window) : window_(window) {
  ::SetPropW(window, kPreviousProc,
             reinterpret_cast<HANDLE>(
                 ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc))));
}

RecordingSubclass::~RecordingSubclass() {
  if (!::IsWindow(window_)) return;
  ::SetWindowLongPtrW(window_, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(::RemovePropW(window_, kPreviousProc)));
}

LRESULT CALLBACK RecordingSubclass::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageLog::Feed(window, message, wParam, lParam);
  const auto previous = reinterpret_cast<WNDPROC>(::GetPropW(window, kPreviousProc));
  return ::CallWindowProcW(previous, window, message, wParam, lParam);
}

InputHooks::InputHooks() {
  const UniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  thread_ = std::thread([this, event = ready.get()] {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for WM_QUIT
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const HHOOK keyboard = ::SetWindowsHookExW(WH_KEYBOARD_LL, Keyboard, instance, 0);
    const HHOOK mouse = ::SetWindowsHookExW(WH_MOUSE_LL, Mouse, instance, 0);
    threadId_ = ::GetCurrentThreadId();
    ::SetEvent(event);
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    ::UnhookWindowsHookEx(mouse);
    ::UnhookWindowsHookEx(keyboard);
  });
  ::WaitForSingleObject(ready.get(), INFINITE);
}

InputHooks::~InputHooks() {
  ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

LRESULT CALLBACK InputHooks::Keyboard(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    MessageLog::FeedAs(kHook, nullptr, static_cast<UINT>(wParam), key->vkCode, key->flags);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK InputHooks::Mouse(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    MessageLog::FeedAs(kHook, nullptr, static_cast<UINT>(wParam), HIWORD(mouse->mouseData),
                       mouse->flags);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace norvi::testkit
