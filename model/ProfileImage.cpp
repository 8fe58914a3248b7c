#include "model/ProfileImage.h"

#include <algorithm>
#include <cstring>

#include "model/FunctionCodes.h"
#include "model/KeyCombo.h"

namespace norvi {

ProfileImage DefaultProfile() {
  ProfileImage image{};
  image.ProfileSignature = kProfileSignature;
  image.Slots = FactorySlots();
  image.PointerSpeed = kDefaultPointerSpeed;
  image.EnhancePrecision = kDefaultEnhancePrecision;
  image.WheelLines = kDefaultWheelLines;
  return image;
}

void TerminatePaths(ProfileImage& image) {
  for (ButtonSlot& slot : image.Slots) slot.Path[kPathUnits - 1] = u'\0';
}

ImageCheck ImageFromBytes(std::span<const std::byte> bytes, ProfileImage& image) {
  std::memset(&image, 0, sizeof image);
  // An empty span may carry no pointer at all, which memcpy must never see.
  if (!bytes.empty()) std::memcpy(&image, bytes.data(), std::min(bytes.size(), sizeof image));
  TerminatePaths(image);
  return image.ProfileSignature == kProfileSignature ? ImageCheck::Valid
                                                     : ImageCheck::InvalidSignature;
}

namespace {

// Replaces value with its fallback unless it passes; records a change.
template <class Valid>
void Keep(int32_t& value, int32_t fallback, Valid valid, bool& changed) {
  if (valid(value)) return;
  value = fallback;
  changed = true;
}

}  // namespace

bool CorrectImage(ProfileImage& image) {
  bool changed = false;
  Keep(image.PointerSpeed, kDefaultPointerSpeed, PointerSpeedInRange, changed);
  Keep(
      image.EnhancePrecision, kDefaultEnhancePrecision, [](int32_t v) { return v == 0 || v == 1; },
      changed);
  Keep(image.WheelLines, kDefaultWheelLines, WheelLinesInRange, changed);
  for (int i = 0; i < kSlotCount; ++i) {
    ButtonSlot& slot = image.Slots[i];
    const int32_t native = kSlotInfo[i].factoryInitId;
    Keep(
        slot.InitID, native, [native](int32_t v) { return v == native; }, changed);
    // Both codes share the one path: a combination that does not parse has no keys to press.
    const bool comboParses = ParseKeyCombo(PathText(slot)).has_value();
    const auto known = [comboParses](int32_t v) {
      return FindFunction(v) != nullptr && (v != fn::Keys || comboParses);
    };
    Keep(slot.TempID, native, known, changed);
    Keep(slot.FunID, native, known, changed);
  }
  return changed;
}

std::span<const std::byte> ImageBytes(const ProfileImage& image) {
  return {reinterpret_cast<const std::byte*>(&image), sizeof image};
}

}  // namespace norvi
