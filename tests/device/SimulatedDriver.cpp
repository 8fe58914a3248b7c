#include "tests/device/SimulatedDriver.h"

#include <cstring>
#include <thread>

#include "model/SystemErrors.h"

namespace norvi {

namespace {

constexpr uint32_t kFirstFunction = 0x900;

uint32_t FunctionIndex(uint32_t code) {
  return ((code >> 2) & 0xFFF) - kFirstFunction;
}

}  // namespace

SimulatedDriver::SimulatedDriver(Releaser release) : release_(std::move(release)) {}

bool SimulatedDriver::Open() {
  if (!present_) return false;
  open_ = true;
  return true;
}

void SimulatedDriver::Close() {
  open_ = false;
  hooked_ = false;
}

void SimulatedDriver::FailCode(uint32_t code, uint32_t error) {
  failError_ = error;
  failCode_ = code;
}

void SimulatedDriver::SetCombo(const ComboTable& table) {
  DriverEndpoint::Control(IOCTL_SET_COMBOFILTER, table.data(), kComboTableBytes, nullptr, 0);
}

ControlResult SimulatedDriver::Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                                       uint32_t outSize) {
  uint32_t index = FunctionIndex(code);
  if (index < kFunctionCount) counts_[index].fetch_add(1);
  if (code != IOCTL_WT_READ) {
    Call call{code, inSize, 0};
    if (in && inSize >= kCellBytes) std::memcpy(&call.firstCell, in, kCellBytes);
    std::lock_guard<std::mutex> lock(callsLock_);
    calls_.push_back(call);
  }
  if (code == IOCTL_WT_READ && readDelayMs_ > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(readDelayMs_.load()));
  }
  if (!open_) return {false, syserr::InvalidParameter};
  if (code == failCode_) return {false, failError_};
  return DriverEndpoint::Control(code, in, inSize, out, outSize);
}

bool SimulatedDriver::Hook(uint32_t semaphoreValue) {
  semaphore_ = semaphoreValue;
  hooked_ = true;
  return true;
}

void SimulatedDriver::Unhook() {
  hooked_ = false;
}

bool SimulatedDriver::Pop(DeviceEvent& event) {
  return queue_.Pop(event);
}

bool SimulatedDriver::Report(uint32_t filterBit, DeviceEvent event) {
  if (!hooked_ || (Mask() & filterBit) == 0) return false;
  if (!queue_.Push(event)) return false;
  release_(semaphore_);
  return true;
}

std::vector<SimulatedDriver::Call> SimulatedDriver::Calls() const {
  std::lock_guard<std::mutex> lock(callsLock_);
  return calls_;
}

uint32_t SimulatedDriver::CallCount(uint32_t code) const {
  uint32_t index = FunctionIndex(code);
  return index < kFunctionCount ? counts_[index].load() : 0;
}

uint32_t SimulatedDriver::TotalCalls() const {
  uint32_t total = 0;
  for (const auto& count : counts_) total += count.load();
  return total;
}

}  // namespace norvi
