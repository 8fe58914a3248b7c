#include "device/DriverPort_win32.h"

namespace norvi {

namespace {
constexpr wchar_t kControlDevice[] = L"\\\\.\\qnkmdrv";
}  // namespace

bool DeviceControlPort::Open() {
  device_.reset(::CreateFileW(kControlDevice, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr));
  return static_cast<bool>(device_);
}

ControlResult DeviceControlPort::Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                                         uint32_t outSize) {
  DWORD returned = 0;
  if (::DeviceIoControl(device_.get(), code, const_cast<void*>(in), inSize, out, outSize, &returned,
                        nullptr)) {
    return {true, 0};
  }
  return {false, ::GetLastError()};
}

}  // namespace norvi
