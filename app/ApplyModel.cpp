#include "app/ApplyModel.h"

#include "model/TraceLine.h"

namespace norvi {

void StorePendingChoice(ProfileImage& profile, int i, int32_t code, std::u16string_view path,
                        ITraceSink& trace) {
  ButtonSlot& slot = profile.Slots[i];
  slot.TempID = code;
  trace.Trace(FormatTrace(u"OnCommand:配置%d按键.InitID:%d,TempID:%d,FunID:%d\r\n",
                          {i, slot.InitID, slot.TempID, slot.FunID})
                  .View());
  SetPath(slot, path);
}

bool SlotShownRemapped(const ButtonSlot& slot, int form) {
  return slot.InitID != (form == 1 ? slot.FunID : slot.TempID);
}

void ApplyPendingChoices(ProfileImage& profile, ITraceSink& trace) {
  for (int i = 0; i < kSlotCount; ++i) {
    ButtonSlot& slot = profile.Slots[i];
    slot.FunID = slot.TempID;
    const bool remapped = slot.InitID != slot.TempID;
    profile.Remapped[i] = remapped ? 1 : 0;
    if (remapped)
      trace.Trace(FormatTrace(u"ApplySetting:应用%d按键.InitID:%d,TempID:%d,FunID:%d\r\n",
                              {i, slot.InitID, slot.TempID, slot.FunID})
                      .View());
  }
}

int32_t ApplyFilerToDevice(ProfileImage& profile, IFilterLink& link, ITraceSink& trace) {
  link.SetMouseFilter(0);
  link.SetKeyboardFilter(0);
  link.SetComboFilter(0);
  trace.Trace(u"ApplyFilerToDevice:0\r\n");
  // The tilts always pass through the program: the driver reports them only when filtered.
  profile.Remapped[SlotTiltLeft] = 1;
  profile.Remapped[SlotTiltRight] = 1;
  for (int i = 0; i < kSlotCount; ++i)
    if (profile.Remapped[i]) trace.Trace(FormatTrace(u"ApplyFilerToDevice:%d", {i}).View());
  return link.SetMouseFilter(FilterMask(profile.Remapped));
}

}  // namespace norvi
