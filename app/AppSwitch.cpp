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
  return held_ == 0 ? Take() : std::nullopt;
}

std::optional<std::u16string> AppSwitch::DeviceEventSeen(DeviceEvent event) {
  if (event >= kFirstNonButtonEvent) return std::nullopt;  // wheel steps and tilts: no hold
  if (event != kEventButtonsReleased) {
    // The filter reports each swallowed press on its own, and one release for each.
    ++held_;
    return std::nullopt;
  }
  if (held_ > 0) --held_;
  return held_ == 0 ? Take() : std::nullopt;
}

std::optional<std::u16string> AppSwitch::ReleaseAll() {
  held_ = 0;
  return Take();
}

std::optional<std::u16string> AppSwitch::Take() {
  if (!waiting_) return std::nullopt;
  inForce_ = std::move(*waiting_);
  waiting_.reset();
  return inForce_;
}

}  // namespace norvi
