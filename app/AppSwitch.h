#pragma once
// When the program in front may change the assignments in force. A switch never splits a
// click: while a button the program swallowed is held, the switch waits for its release,
// so its press and its release are performed with the same assignments. Constant work per
// device event and no allocation there; the look-up happens on foreground changes only.

#include <cstdint>
#include <optional>
#include <string>

#include "device/DriverProtocol.h"

namespace norvi {

class AppSwitch {
 public:
  // The key of the assignments in force: the executable name of a program with its own
  // file, or empty for the default profile.
  const std::u16string& InForce() const { return inForce_; }
  bool Waiting() const { return waiting_.has_value(); }

  // The program in front now has the assignments `key`. Returns the key to apply now, or
  // nothing when it is already in force or must wait for a release.
  std::optional<std::u16string> Foreground(std::u16string key);

  // Every device event the program dispatches, after it is performed. Returns the key
  // whose turn came with this event (a waiting switch after the last release), else nothing.
  std::optional<std::u16string> DeviceEventSeen(DeviceEvent event);

  // The device is gone or reopened: no press is outstanding any more.
  std::optional<std::u16string> ReleaseAll();

 private:
  std::optional<std::u16string> Take();

  std::u16string inForce_;
  std::optional<std::u16string> waiting_;
  // The held buttons by the last button report. The vendor's driver reports the whole button
  // state (0: all up), the built-in filter each press's bit alone and 0 for each release,
  // whose other held buttons it keeps swallowing to their release whatever the assignments.
  uint32_t heldBits_ = 0;
};

}  // namespace norvi
