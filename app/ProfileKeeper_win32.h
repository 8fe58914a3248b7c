#pragma once
// The default profile's life in the main window: read at start, applied (pointer, wheel,
// filter) and saved, restored to the factory values, and every failure said to the user.

#include <windows.h>

#include <string_view>

#include "app/DeviceEvents_win32.h"
#include "app/MainServices_win32.h"
#include "model/ProfileStore.h"

namespace norvi {

// What applying changes in the window that shows the profile.
class IProfileView {
 public:
  // form 1 shows the applied functions, 0 the pending ones.
  virtual void UpdateControls(int form) = 0;
  virtual void RefreshTooltips() = 0;

 protected:
  ~IProfileView() = default;
};

class ProfileKeeper {
 public:
  ProfileKeeper(const MainServices& services, DeviceEvents& device, IProfileView& view);
  ProfileKeeper(const ProfileKeeper&) = delete;
  ProfileKeeper& operator=(const ProfileKeeper&) = delete;

  // The window that owns the messages.
  void Attach(HWND window) { window_ = window; }
  // Reads the file; what could not be read is said, the rest shown. Without a profile read
  // (none yet, damaged, unreadable) the pointer and wheel settings are Windows' own.
  void Load();
  // The first apply after the profile was read; a failed save is said. Windows' settings are
  // sent only when a profile was read: they are the user's until the user changes them.
  void ApplyAtStart();
  // The user's OK: applies and saves even over a file that could not be read, and says how it
  // went (never "saved" after a failure: the settings are in force but not kept).
  void ApplyConfirmed();
  // The user's restore-defaults: the factory values, applied and saved.
  void Reset();
  // The save at the end; a failure is said.
  void SaveAtExit();

 private:
  // Sends the pointer and wheel settings (toWindows) and the filter, applies the pending
  // choices and saves; returns how the save went.
  ProfileOutcome Apply(bool toWindows);
  // A failed save shows the text under failureKey with the profile path.
  void ReportSave(const ProfileOutcome& outcome, std::string_view failureKey);

  const MainServices& services_;
  DeviceEvents& device_;
  IProfileView& view_;
  HWND window_ = nullptr;
  ProfileFile file_;
  bool toldUnreadable_ = false;
  bool profileRead_ = false;  // the last load read a valid profile
};

}  // namespace norvi
