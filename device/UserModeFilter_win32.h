#pragma once
// The built-in filter that stands in for the kernel driver when its control device is
// missing. It answers the same control codes in-process and feeds the same semaphore, from a
// WH_MOUSE_LL hook that runs on a thread of its own with its own message loop.

#include <windows.h>

#include <atomic>

#include "device/DriverEndpoint.h"
#include "device/EventQueue.h"
#include "device/FilterCore.h"
#include "framework/Handles_win32.h"

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
  uint32_t Dropped() const { return queue_.Dropped(); }

 protected:
  bool Hook(uint32_t semaphoreValue) override;
  void Unhook() override;
  bool Pop(DeviceEvent& event) override { return queue_.Pop(event); }

 private:
  static DWORD WINAPI HookThread(void* self);
  DWORD RunHookLoop();

  EventQueue queue_;
  FilterCore core_{queue_};
  std::atomic<HANDLE> semaphore_{nullptr};  // the program's; not owned
  UniqueHandle thread_;
  UniqueHandle ready_;
  DWORD threadId_ = 0;
  bool hookInstalled_ = false;  // written by the hook thread before it signals ready_
};

}  // namespace norvi
