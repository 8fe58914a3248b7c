// Any byte string loaded as a profile and applied: paths stay inside their fields, only
// in-range values reach Windows, and every input keeps a catalogued function.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tests/actions/fakes/ActionFakes.h"
#include "app/ApplyModel.h"
#include "app/MouseSettings.h"
#include "model/FunctionCodes.h"
#include "model/ProfileStore.h"

namespace {

constexpr size_t kMaxInput = 8 * 1024;

class AnyLink : public norvi::IFilterLink {
 public:
  int32_t SetMouseFilter(uint32_t mask) override { return mask <= 0x1FE ? 1 : (std::abort(), 0); }
  int32_t SetKeyboardFilter(uint32_t) override { return 1; }
  int32_t SetComboFilter(uint32_t) override { return 1; }
};

class NoTrace : public norvi::ITraceSink {
 public:
  void Trace(std::u16string_view) override {}
};

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) return -1;
  using namespace norvi;
  ProfileImage image;
  ProfileFromBytes({reinterpret_cast<const std::byte*>(data), size}, image);
  for (const ButtonSlot& slot : image.Slots) Check(PathLength(slot) < kPathUnits);

  fakes::SystemRecorder system;
  system.parametersAnswer = [](uint32_t action, uint32_t param, void* value) {
    const auto raw = reinterpret_cast<uintptr_t>(value);
    if (action == kSpiSetMouseSpeed) Check(raw >= 1 && raw <= 20);
    if (action == kSpiSetWheelScrollLines)
      Check((param >= 1 && param <= 30) || param == 0xFFFFFFFFu);
    if (action == kSpiSetMouse) {
      const MouseAcceleration a = *static_cast<const MouseAcceleration*>(value);
      Check(a == AccelerationFor(0) || a == AccelerationFor(1));
    }
  };
  ApplyPointerAndWheel(image, system, 1);
  Check(system.parameters.size() == 3);
  NoTrace trace;
  ApplyPendingChoices(image, trace);
  AnyLink link;
  ApplyFilerToDevice(image, link, trace);
  for (int i = 0; i < kSlotCount; ++i) {
    Check(image.Slots[i].InitID == kSlotInfo[i].factoryInitId);
    Check(FindFunction(image.Slots[i].FunID) != nullptr);
  }
  return 0;
}
