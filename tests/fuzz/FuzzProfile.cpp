// Any byte string loaded as a profile gives an image whose paths stay inside their fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "model/ProfileImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  norvi::ProfileImage image;
  norvi::ImageFromBytes({reinterpret_cast<const std::byte*>(data), size}, image);
  size_t total = 0;
  for (const norvi::ButtonSlot& slot : image.Slots) {
    const size_t n = norvi::PathLength(slot);
    if (n >= norvi::kPathUnits) std::abort();
    total += n;
  }
  return total > 8 * norvi::kPathUnits ? 1 : 0;
}
