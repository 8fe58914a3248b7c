#include "model/ProfileImage.h"

#include <algorithm>
#include <cstring>

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

std::span<const std::byte> ImageBytes(const ProfileImage& image) {
  return {reinterpret_cast<const std::byte*>(&image), sizeof image};
}

}  // namespace norvi
