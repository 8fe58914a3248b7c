#pragma once
// The main window's link to the mouse: the driver and its reader, the executor that performs
// swallowed inputs, the assignments in force (the default profile or the program in front's
// own), the foreground tracker that switches them, and the receiver's removal.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "actions/Function.h"
#include "actions/Production_win32.h"
#include "app/AppSwitch.h"
#include "app/DeviceDispatch.h"
#include "app/ApplyModel.h"
#include "app/ForegroundTracker_win32.h"
#include "app/MainServices_win32.h"
#include "app/PressPerformer.h"
#include "app/TrayIcon_win32.h"
#include "device/USBDriver_win32.h"
#include "framework/Window_win32.h"
#include "model/AppProfiles.h"

namespace norvi {

class DeviceEvents : private ISlotPerformer, private IFilterLink {
 public:
  // window receives the device events and the removal notices; inForceChanged hears the
  // program whose assignments apply after each switch (empty: the default profile).
  DeviceEvents(const MainServices& services, Window& window,
               std::function<void(const std::u16string&)> inForceChanged);
  ~DeviceEvents();
  DeviceEvents(const DeviceEvents&) = delete;
  DeviceEvents& operator=(const DeviceEvents&) = delete;

  // Watches USB removals, starts the reader and opens the link. False when no reader runs:
  // nobody would perform swallowed inputs, so nothing is remapped.
  bool Start();
  // From now on the program in front decides the assignments in force.
  void FollowForeground();
  // The filter cleared, the link closed, the reader stopped and no key left held.
  void Stop();

  // Sends the filter of the assignments in force: the default profile's, traced, or the
  // program in front's own, quietly. The result of the final filter call.
  int32_t ApplyInForce(ITraceSink& trace);
  // The default profile was read again: every program's file is looked at again.
  void ProfileReloaded();
  // A program's file was written or removed: the assignments in force follow.
  void AppFileChanged(const std::u16string& program);
  // The program whose own assignments are in force; empty: the default profile.
  const std::u16string& InForce() const { return switch_.InForce(); }
  // The program last in front, after one look now (where the system raises no foreground
  // event, the last input may have switched programs without a look since).
  std::u16string ProgramInFront();

  // lParam of UM_DEVICE_EVENT: what the receiving thread left to this one.
  void OnDeviceEvent(uint32_t event, uint32_t performedOnReceipt);
  void OnDeviceChange(WPARAM event);
  // lParam of UM_FOREGROUND_CHECK: non-zero when a press waits for the answer.
  void OnForegroundCheck(uint32_t ask);
  void OnAltReleaseTimer() { function_.OnAltReleaseTimer(); }
  void OnKeyRepeatTimer() { function_.OnKeyRepeatTimer(); }
  ISystemCalls& System() { return system_; }

 private:
  // ISlotPerformer, IFilterLink: the executor and the driver link.
  void PerformSlot(int slot) override { function_.PerformSlot(slot); }
  void ReleaseSlot(int slot) override { function_.ReleaseSlot(slot); }
  int32_t SetMouseFilter(uint32_t mask) override { return driver_.SetMouseFilter(mask); }
  int32_t SetKeyboardFilter(uint32_t value) override { return driver_.SetKeyboardFilter(value); }
  int32_t SetComboFilter(uint32_t bits) override { return driver_.SetComboFilter(bits); }

  // The program in front changed; its assignments apply when no click is in progress.
  void OnForeground(const std::u16string& program);
  void SwitchTo(const std::optional<std::u16string>& key);
  // Presses wait for a look at the front only while some program has a file of its own:
  // without one every program shares the default.
  void GateWhileAppFilesExist();
  // The assignments dispatch performs changed: the receiving thread performs them too.
  void Publish() { performer_.Publish(active_.Slots); }
  // Combinations held by either thread go up (the receiving thread's at its next look).
  void ReleaseHeldKeys() {
    function_.ReleaseHeldKeys();
    performer_.ReleaseHeld();
  }

  const MainServices& services_;
  Window& window_;
  std::function<void(const std::u16string&)> inForceChanged_;
  // What dispatch performs: the default profile, or the program in front's own slots.
  ProfileImage active_{};
  AppSwitch switch_;
  // Whether a program has a valid file of its own; forgotten when the profile is loaded again.
  AppFileIndex ownFiles_;

  Win32InputInjector input_;
  Win32WindowSystem windows_;
  Win32SystemCalls system_;
  Win32WindowTimer timer_;  // on the main window, once it exists
  DebuggerOutput debugger_;
  CFunction function_;
  // Performs input-only functions on the thread that receives the events; before driver_,
  // which calls it until it is closed.
  PressPerformer performer_{input_, system_};
  CUSBDriver driver_;
  DeviceNotification devices_;
  std::unique_ptr<ForegroundTracker> foreground_;
  bool receiverGone_ = false;  // the removal message is up; further removals wait for it
};

}  // namespace norvi
