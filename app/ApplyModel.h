#pragma once
// The model half of applying: pending choices become applied ones, and the driver filter
// is rebuilt from the remapped flags.

#include <cstdint>
#include <string_view>

#include "model/ProfileImage.h"
#include "model/TraceSink.h"

namespace norvi {

// The driver link's filter operations; each returns 1 on success, 0 on failure.
class IFilterLink {
 public:
  virtual ~IFilterLink() = default;
  virtual int32_t SetMouseFilter(uint32_t mask) = 0;
  virtual int32_t SetKeyboardFilter(uint32_t value) = 0;
  virtual int32_t SetComboFilter(uint32_t bits) = 0;
};

// Stores the picker's answer for slot i as its pending choice (TempID and path, cut to 259
// characters) and traces it; it takes effect at the next apply.
void StorePendingChoice(ProfileImage& profile, int slot, int32_t code, std::u16string_view path,
                        ITraceSink& trace);

// Whether slot button i shows as remapped: form 1 compares the applied code, form 0 the
// pending one, with the native code.
bool SlotShownRemapped(const ButtonSlot& slot, int form);

// Copies every TempID to FunID and recomputes the remapped flags, tracing remapped slots.
void ApplyPendingChoices(ProfileImage& profile, ITraceSink& trace);

// Clears every filter, forces the tilt flags on, then sends the mask of the flagged slots.
// Returns the result of the final SetMouseFilter.
int32_t ApplyFilerToDevice(ProfileImage& profile, IFilterLink& link, ITraceSink& trace);

}  // namespace norvi
