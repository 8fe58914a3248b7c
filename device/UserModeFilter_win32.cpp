#include "device/UserModeFilter_win32.h"

#include <algorithm>

namespace norvi {

static_assert(kWheelDelta == WHEEL_DELTA);  // the filter core counts notches of the hook's delta

namespace {

// The filter whose hook runs on this thread: a low-level hook procedure gets no context.
thread_local UserModeFilter* t_hookOwner = nullptr;

LRESULT CALLBACK LowLevelMouse(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && t_hookOwner &&
      t_hookOwner->OnMouse(message, *reinterpret_cast<const MSLLHOOKSTRUCT*>(data))) {
    return 1;
  }
  return ::CallNextHookEx(nullptr, code, message, data);
}

int16_t WheelDelta(const MSLLHOOKSTRUCT& info) {
  return static_cast<int16_t>(HIWORD(info.mouseData));
}

// The filter's view of a mouse message; false for input it never looks at.
bool ToMouseInput(WPARAM message, const MSLLHOOKSTRUCT& info, MouseInput& input) {
  switch (message) {
    case WM_RBUTTONDOWN: input = {MouseAction::ButtonDown, kButtonBitRight}; return true;
    case WM_RBUTTONUP: input = {MouseAction::ButtonUp, kButtonBitRight}; return true;
    case WM_MBUTTONDOWN: input = {MouseAction::ButtonDown, kButtonBitMiddle}; return true;
    case WM_MBUTTONUP: input = {MouseAction::ButtonUp, kButtonBitMiddle}; return true;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP: {
      WORD which = HIWORD(info.mouseData);
      if (which != XBUTTON1 && which != XBUTTON2) return false;
      input.action = message == WM_XBUTTONDOWN ? MouseAction::ButtonDown : MouseAction::ButtonUp;
      input.button = which == XBUTTON1 ? kButtonBitBack : kButtonBitForward;
      return true;
    }
    case WM_MOUSEWHEEL: input = {MouseAction::Wheel, 0, WheelDelta(info)}; return true;
    case WM_MOUSEHWHEEL: input = {MouseAction::Tilt, 0, WheelDelta(info)}; return true;
    default: return false;
  }
}

}  // namespace

// The press is filtered and performed first; the look at the front that input calls for
// comes after the hook has returned (AfterInput).
bool UserModeFilter::OnMouse(WPARAM message, const MSLLHOOKSTRUCT& info) {
  if (info.flags & LLMHF_INJECTED) return false;
  if (message == WM_MOUSEMOVE) return false;
  inputNoted_ = true;
  MouseInput input{MouseAction::ButtonDown};
  if (!ToMouseInput(message, info, input)) return false;
  if (input.action != MouseAction::ButtonUp) SettleFront();
  FilterVerdict verdict = core_.Filter(input, Mask());
  if (verdict.queued != 0) Report(verdict.queued);
  return verdict.swallow;
}

// One server call per press when nothing changed; the wait only when the front did.
void UserModeFilter::SettleFront() {
  const HWND owner = gate_.load(std::memory_order_acquire);
  if (owner == nullptr) return;
  if (::GetForegroundWindow() == settledFront_.load(std::memory_order_acquire)) return;
  const uint32_t ask = asked_.fetch_add(1, std::memory_order_relaxed) + 1;
  if (!::PostMessageW(owner, gateMessage_.load(std::memory_order_relaxed), 1, ask)) return;
  const DWORD start = ::GetTickCount();
  while (static_cast<int32_t>(answered_.load(std::memory_order_acquire) - ask) < 0) {
    const DWORD spent = ::GetTickCount() - start;
    if (spent >= kSettleWaitMs) return;  // the owner is busy: the assignments as they are
    ::WaitForSingleObject(settled_.get(), kSettleWaitMs - spent);
  }
}

void UserModeFilter::GateOnFront(HWND window, UINT message) {
  gateMessage_.store(message, std::memory_order_relaxed);
  gate_.store(window, std::memory_order_release);
}

void UserModeFilter::FrontSettled(HWND front, uint32_t answer) {
  settledFront_.store(front, std::memory_order_release);
  if (answer == 0) return;
  answered_.store(answer, std::memory_order_release);
  ::SetEvent(settled_.get());
}

// One server call per event either way: a posted message, or the semaphore release that
// wakes the program's reader.
void UserModeFilter::Report(uint32_t queued) {
  if (IEventSink* sink = sink_.load(std::memory_order_acquire)) {
    DeviceEvent event = 0;
    while (queue_.Pop(event)) {
      if (!sink->Deliver(event)) lost_.fetch_add(1, std::memory_order_relaxed);
    }
    return;
  }
  HANDLE semaphore = semaphore_.load(std::memory_order_relaxed);
  if (semaphore) ::ReleaseSemaphore(semaphore, static_cast<LONG>(queued), nullptr);
}

void UserModeFilter::WatchInput(HWND window, UINT message) {
  watchMessage_.store(message, std::memory_order_relaxed);
  watchPosted_.store(false, std::memory_order_relaxed);
  watcher_.store(window, std::memory_order_release);
}

// After the hook has returned: the sink's parts that wait for a time, and a moment after the
// input the sink's notes and the look the input called for. At most one look waits at a
// time, so a burst of clicks costs one.
DWORD UserModeFilter::AfterInput() {
  IEventSink* sink = sink_.load(std::memory_order_acquire);
  const DWORD now = ::GetTickCount();
  if (inputNoted_ && !quietPending_) {
    quietPending_ = true;
    quietAt_ = now + kQuietMs;
  }
  inputNoted_ = false;
  if (quietPending_ && static_cast<int32_t>(now - quietAt_) >= 0) {
    quietPending_ = false;
    if (sink) sink->Flush();
    const HWND watcher = watcher_.load(std::memory_order_acquire);
    if (watcher && !watchPosted_.exchange(true, std::memory_order_acq_rel))
      ::PostMessageW(watcher, watchMessage_.load(std::memory_order_relaxed), 0, 0);
  }
  DWORD wait = sink ? sink->Continue() : kNothingDue;
  if (quietPending_) wait = std::min<DWORD>(wait, quietAt_ - now);
  return wait;
}

bool UserModeFilter::DeliverTo(IEventSink& sink) {
  sink_.store(&sink, std::memory_order_release);
  return true;
}

bool UserModeFilter::Hook(uint32_t semaphoreValue) {
  semaphore_.store(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(semaphoreValue)));
  if (thread_) return true;
  ready_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!ready_) return false;
  thread_.reset(::CreateThread(nullptr, 0, HookThread, this, 0, &threadId_));
  if (!thread_) return false;
  ::WaitForSingleObject(ready_.get(), INFINITE);
  if (!hookInstalled_) {
    ::WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
  }
  return hookInstalled_;
}

void UserModeFilter::Unhook() {
  if (!thread_) return;
  ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  // The thread only pumps messages, so it ends as soon as it sees the quit.
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
  semaphore_.store(nullptr);
  sink_.store(nullptr);
}

DWORD WINAPI UserModeFilter::HookThread(void* self) {
  return static_cast<UserModeFilter*>(self)->RunHookLoop();
}

DWORD UserModeFilter::RunHookLoop() {
  t_hookOwner = this;
  MSG msg;
  // Makes the thread's message queue, so that the quit message can be posted at once.
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  UniqueHook hook(::SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouse, ::GetModuleHandleW(nullptr), 0));
  hookInstalled_ = static_cast<bool>(hook);
  ::SetEvent(ready_.get());
  if (!hook) return 1;
  // The hook is called while messages are fetched; after each round, and when the sink's
  // time has come, what waits for the input to be done.
  DWORD wait = INFINITE;
  for (;;) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      ::DispatchMessageW(&msg);
    }
    wait = AfterInput();
  }
}

}  // namespace norvi
