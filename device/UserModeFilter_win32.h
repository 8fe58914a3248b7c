#pragma once
// The built-in filter that stands in for the kernel driver when its control device is
// missing. It answers the same control codes in-process, from a WH_MOUSE_LL hook that runs on
// a thread of its own with its own message loop. It feeds the same semaphore as the driver,
// or, once given a sink, hands each event to it straight from the hook: the hook needs no
// blocking read, so the event reaches the main thread in one hand-over.

#include <windows.h>

#include <atomic>

#include "device/DriverEndpoint.h"
#include "device/EventQueue.h"
#include "device/FilterCore.h"
#include "base/Handles_win32.h"

namespace norvi {

class UserModeFilter : public DriverEndpoint {
 public:
  UserModeFilter() = default;
  UserModeFilter(const UserModeFilter&) = delete;
  UserModeFilter& operator=(const UserModeFilter&) = delete;
  ~UserModeFilter() override { Unhook(); }

  bool Open() override { return true; }
  void Close() override { Unhook(); }

  // The hook's whole work for one input; true swallows it. Injected input always passes,
  // so the program's own clicks and wheel steps never come back to it.
  bool OnMouse(WPARAM message, const MSLLHOOKSTRUCT& info);
  // Events lost: the queue was full, or the sink refused them.
  uint32_t Dropped() const { return queue_.Dropped() + lost_.load(std::memory_order_relaxed); }

  bool DeliverTo(IEventSink& sink) override;

  // Posts `message` to `window` after a button or wheel input of the user, once until
  // InputWatched(); a null window stops it. For owners that must look at the system again
  // after input but may not poll.
  void WatchInput(HWND window, UINT message);
  void InputWatched() { watchPosted_.store(false, std::memory_order_release); }

  // Before a press or wheel input is filtered, the window in front is compared with the one
  // the owner last settled its assignments for; when it differs, `message` is posted to
  // `window` (wParam 1, lParam a number to answer with) and the hook waits, at most
  // kSettleWaitMs, for FrontSettled, so that the input is filtered and performed under the
  // assignments of the program it lands on. A null window stops it.
  void GateOnFront(HWND window, UINT message);
  // Owner's thread, after its look: the window it settled for, and the number it answers.
  void FrontSettled(HWND front, uint32_t answer);
  static constexpr DWORD kSettleWaitMs = 100;
  // What waits for the input to be done (notes to the owner, the look at the front) goes this
  // long after it, so that it does not compete with the programs receiving the input.
  static constexpr DWORD kQuietMs = 10;

 protected:
  bool Hook(uint32_t semaphoreValue) override;
  void Unhook() override;
  // With a sink the hook thread is the queue's only reader.
  bool Pop(DeviceEvent& event) override { return !sink_.load() && queue_.Pop(event); }

 private:
  static DWORD WINAPI HookThread(void* self);
  DWORD RunHookLoop();
  void Report(uint32_t queued);
  void SettleFront();
  // The loop's work between fetching messages; the time until it is needed again.
  DWORD AfterInput();

  EventQueue queue_;
  FilterCore core_{queue_};
  std::atomic<HANDLE> semaphore_{nullptr};  // the program's; not owned
  std::atomic<IEventSink*> sink_{nullptr};  // not owned; cleared once the hook is gone
  std::atomic<uint32_t> lost_{0};
  std::atomic<HWND> watcher_{nullptr};
  std::atomic<UINT> watchMessage_{0};
  std::atomic<bool> watchPosted_{false};
  // Hook thread only: input came, and when what waits for it is due.
  bool inputNoted_ = false;
  bool quietPending_ = false;
  DWORD quietAt_ = 0;
  std::atomic<HWND> gate_{nullptr};
  std::atomic<UINT> gateMessage_{0};
  std::atomic<HWND> settledFront_{nullptr};
  std::atomic<uint32_t> asked_{0};
  std::atomic<uint32_t> answered_{0};
  UniqueHandle settled_{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  UniqueHandle thread_;
  UniqueHandle ready_;
  DWORD threadId_ = 0;
  bool hookInstalled_ = false;  // written by the hook thread before it signals ready_
};

}  // namespace norvi
