#pragma once
// The control protocol of the filter driver: control codes, buffer layouts, the device
// event encoding and the message that carries events to the main window.

#include <array>
#include <cstdint>

#include "model/PlatformValues.h"

namespace norvi {

// Device type 0x22 (unknown), buffered transfer, any access; the function is 0x900 plus an index.
constexpr uint32_t DriverControlCode(uint32_t function) {
  return (0x22u << 16) | (function << 2);
}

constexpr uint32_t IOCTL_WT_HOOK = DriverControlCode(0x900);
constexpr uint32_t IOCTL_WT_UNHOOK = DriverControlCode(0x901);
constexpr uint32_t IOCTL_WT_READ = DriverControlCode(0x902);
constexpr uint32_t IOCTL_SET_MSFILTER = DriverControlCode(0x903);
constexpr uint32_t IOCTL_SET_KBFILTER = DriverControlCode(0x904);
constexpr uint32_t IOCTL_SET_DEBUG = DriverControlCode(0x905);
constexpr uint32_t IOCTL_SET_COMBOFILTER = DriverControlCode(0x90F);
constexpr uint32_t IOCTL_GET_COMBOFILTER = DriverControlCode(0x910);
static_assert(IOCTL_WT_HOOK == 0x222400 && IOCTL_SET_COMBOFILTER == 0x22243C &&
              IOCTL_GET_COMBOFILTER == 0x222440);

// Every buffer is one unsigned 32-bit cell, except the combination table.
constexpr uint32_t kCellBytes = 4;
constexpr int kComboEntryCount = 40;
using ComboTable = std::array<uint32_t, kComboEntryCount>;
constexpr uint32_t kComboTableBytes = sizeof(ComboTable);
static_assert(kComboTableBytes == 160);

// The entry SetComboFilter adds for each bit of its argument, bit 0 first.
constexpr std::array<uint32_t, 14> kComboBitEntries{0x3A00, 0x3B00, 0x3C00, 0x3D00, 0x3E00,
                                                    0x3F00, 0x4000, 0x4100, 0x4200, 0x4300,
                                                    0x4400, 0x4500, 0x5708, 0x5608};

// One swallowed input. 0-255 is the button state byte (bit 0 left, 1 right, 2 middle, 3 back,
// 4 forward); from 256 the high byte is the axis (1 vertical, 2 horizontal) and the low byte
// the signed step.
using DeviceEvent = uint32_t;
constexpr DeviceEvent kEventWheelUp = 0x0101;
constexpr DeviceEvent kEventWheelDown = 0x01FF;
constexpr DeviceEvent kEventTiltRight = 0x0201;
constexpr DeviceEvent kEventTiltLeft = 0x02FF;
constexpr DeviceEvent kEventButtonsReleased = 0;

// Bits of the button state byte.
constexpr int kButtonBitLeft = 0;
constexpr int kButtonBitRight = 1;
constexpr int kButtonBitMiddle = 2;
constexpr int kButtonBitBack = 3;
constexpr int kButtonBitForward = 4;

// The semaphore the driver releases once per queued event; its maximum bounds what can wait.
constexpr int32_t kEventSemaphoreMaximum = 8000;

// Posted to the target window for each event: wParam is the event, lParam 0.
constexpr uint32_t UM_DEVICE_EVENT = kWmUser + 1003;
static_assert(UM_DEVICE_EVENT == 2027);

}  // namespace norvi
