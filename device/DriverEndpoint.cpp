#include "device/DriverEndpoint.h"

#include <cstring>

#include "model/SystemErrors.h"

namespace norvi {

namespace {

constexpr ControlResult kSuccess{true, 0};
constexpr ControlResult kBadBuffer{false, syserr::InvalidParameter};

bool ReadCell(const void* in, uint32_t inSize, uint32_t& value) {
  if (!in || inSize != kCellBytes) return false;
  std::memcpy(&value, in, kCellBytes);
  return true;
}

}  // namespace

ControlResult DriverEndpoint::Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                                      uint32_t outSize) {
  uint32_t value = 0;
  switch (code) {
    case IOCTL_WT_HOOK:
      if (!ReadCell(in, inSize, value)) return kBadBuffer;
      return Hook(value) ? kSuccess : ControlResult{false, syserr::GenFailure};
    case IOCTL_WT_UNHOOK: Unhook(); return kSuccess;
    case IOCTL_WT_READ: {
      if (!out || outSize != kCellBytes) return kBadBuffer;
      DeviceEvent event = 0;
      if (!Pop(event)) return {false, syserr::NoMoreItems};
      std::memcpy(out, &event, kCellBytes);
      return kSuccess;
    }
    case IOCTL_SET_MSFILTER:
      if (!ReadCell(in, inSize, value)) return kBadBuffer;
      mask_.store(value, std::memory_order_relaxed);
      return kSuccess;
    case IOCTL_SET_KBFILTER:
      if (!ReadCell(in, inSize, keyboard_)) return kBadBuffer;
      return kSuccess;
    case IOCTL_SET_DEBUG:
      if (!ReadCell(in, inSize, debug_)) return kBadBuffer;
      return kSuccess;
    case IOCTL_SET_COMBOFILTER: return SetCombo(in, inSize);
    case IOCTL_GET_COMBOFILTER:
      if (!out || outSize != kComboTableBytes) return kBadBuffer;
      std::memcpy(out, combo_.data(), kComboTableBytes);
      return kSuccess;
    default: return kBadBuffer;
  }
}

// A 4-byte 0 clears the table; 160 bytes replace it.
ControlResult DriverEndpoint::SetCombo(const void* in, uint32_t inSize) {
  uint32_t value = 0;
  if (ReadCell(in, inSize, value)) {
    if (value != 0) return kBadBuffer;
    combo_.fill(0);
    return kSuccess;
  }
  if (!in || inSize != kComboTableBytes) return kBadBuffer;
  std::memcpy(combo_.data(), in, kComboTableBytes);
  return kSuccess;
}

}  // namespace norvi
