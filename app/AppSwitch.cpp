#include "app/AppSwitch.h"

#include "app/DeviceDispatch.h"
#include "model/AppProfiles.h"

namespace norvi {

std::optional<std::u16string> AppSwitch::Foreground(std::u16string key) {
  if (SameExecutableName(key, inForce_)) {
    waiting_.reset();  // back in front before the release: nothing to change
    return std::nullopt;
  }
  waiting_ = std::move(key);
  return heldBits_ == 0 ? Take() : std::nullopt;
}

std::optional<std::u16string> AppSwitch::DeviceEventSeen(DeviceEvent event) {
  if (event >= kFirstNonButtonEvent) return std::nullopt;  // wheel steps and tilts: no hold
  // Counted from the state, never from the number of reports: a release that leaves another
  // button held is a non-zero report of the vendor's driver, not a press.
  heldBits_ = event;
  return heldBits_ == 0 ? Take() : std::nullopt;
}

std::optional<std::u16string> AppSwitch::ReleaseAll() {
  heldBits_ = 0;
  return Take();
}

std::optional<std::u16string> AppSwitch::Take() {
  if (!waiting_) return std::nullopt;
  inForce_ = std::move(*waiting_);
  waiting_.reset();
  return inForce_;
}

}  // namespace norvi
