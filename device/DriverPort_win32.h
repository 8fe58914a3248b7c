#pragma once
// Production port of the device link: the kernel driver's control device.

#include <windows.h>

#include "device/DriverIo.h"
#include "base/Handles_win32.h"

namespace norvi {

// "\\.\qnkmdrv" through CreateFileW, DeviceIoControl and CloseHandle.
class DeviceControlPort : public IDriverIo {
 public:
  bool Open() override;
  ControlResult Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                        uint32_t outSize) override;
  void Close() override { device_.reset(); }

 private:
  UniqueFileHandle device_;
};

}  // namespace norvi
