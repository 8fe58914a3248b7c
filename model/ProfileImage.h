#pragma once
// The one settings record, the same 4304 bytes in memory and in "Profile.cfg".

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/ButtonSlot.h"

namespace norvi {

constexpr uint32_t kProfileSignature = 0x80801C3D;
constexpr size_t kProfileSize = 4304;

constexpr int32_t kDefaultPointerSpeed = 10;
constexpr int32_t kDefaultEnhancePrecision = 0;
constexpr int32_t kDefaultWheelLines = 3;
constexpr int32_t kWheelLinesScreen = -1;  // one screen per notch

struct ProfileImage {
  uint32_t ProfileSignature;
  SlotTable Slots;
  std::array<int32_t, kSlotCount> Remapped;
  int32_t PointerSpeed;      // 1 to 20
  int32_t EnhancePrecision;  // 1 on, 0 off
  int32_t WheelLines;        // 1 to 30, or -1 for a screen
};
static_assert(sizeof(ProfileImage) == kProfileSize);
static_assert(offsetof(ProfileImage, Slots) == 4);
static_assert(offsetof(ProfileImage, Remapped) == 4260);
static_assert(offsetof(ProfileImage, PointerSpeed) == 4292);
static_assert(offsetof(ProfileImage, EnhancePrecision) == 4296);
static_assert(offsetof(ProfileImage, WheelLines) == 4300);
// The file is little-endian; so is every target the product runs on.
static_assert(std::endian::native == std::endian::little);

// The image a reset writes: factory slots, no flags, speed 10, precision off, 3 lines.
ProfileImage DefaultProfile();

enum class ImageCheck { Valid, InvalidSignature };

// Fills the image from file bytes as a load does: zero, copy at most 4304 bytes, then end
// every path inside its field so a damaged file can never make a reader run past it.
ImageCheck ImageFromBytes(std::span<const std::byte> bytes, ProfileImage& image);

std::span<const std::byte> ImageBytes(const ProfileImage& image);

// Ends every slot path inside its 260 code units.
void TerminatePaths(ProfileImage& image);

// Whether each value may reach Windows or the dispatch as it is.
constexpr bool PointerSpeedInRange(int32_t speed) {
  return speed >= 1 && speed <= 20;
}
constexpr bool WheelLinesInRange(int32_t lines) {
  return (lines >= 1 && lines <= 30) || lines == kWheelLinesScreen;
}

// Makes a damaged image safe to show, apply and save: an out-of-range speed, precision or
// wheel-lines value becomes its factory value; every InitID becomes the factory one of its
// slot; a TempID or FunID outside the catalogue, or a key-combination code whose path does not
// parse, becomes the slot's InitID, so no input goes dead. Returns whether anything changed.
bool CorrectImage(ProfileImage& image);

}  // namespace norvi
