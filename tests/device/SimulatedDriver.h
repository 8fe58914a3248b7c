#pragma once
// Test double of the kernel filter driver: answers the control codes as the program expects
// of the real one, queues reported inputs that the mask names, releases the hooked semaphore
// once per queued event and records every control call it receives.

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

#include "device/DriverEndpoint.h"
#include "device/EventQueue.h"

namespace norvi {

class SimulatedDriver : public DriverEndpoint {
 public:
  struct Call {
    uint32_t code;
    uint32_t inSize;
    uint32_t firstCell;  // the input's first 4 bytes, 0 when shorter
    bool operator==(const Call&) const = default;
  };
  // Releases the semaphore whose handle value the program hooked.
  using Releaser = std::function<void(uint32_t semaphoreValue)>;

  explicit SimulatedDriver(Releaser release);

  bool Open() override;
  ControlResult Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                        uint32_t outSize) override;
  void Close() override;

  // The driver's control device is missing: Open fails.
  void SetPresent(bool present) { present_ = present; }
  // Every later call with code fails with error; code 0 ends the failure.
  void FailCode(uint32_t code, uint32_t error);
  void SetCombo(const ComboTable& table);
  // A slow driver: every IOCTL_WT_READ takes this long before it answers.
  void SetReadDelay(std::chrono::milliseconds delay) { readDelayMs_ = delay.count(); }

  // An input arrives from the mouse: queued (and the semaphore released) when hooked and
  // filterBit is in the mask.
  bool Report(uint32_t filterBit, DeviceEvent event);

  // Calls other than IOCTL_WT_READ in the order received (reads are only counted, so that
  // the reader's path stays free of allocation).
  std::vector<Call> Calls() const;
  uint32_t CallCount(uint32_t code) const;
  uint32_t TotalCalls() const;
  uint32_t Pending() const { return queue_.Size(); }
  bool IsOpen() const { return open_; }
  bool IsHooked() const { return hooked_; }
  uint32_t HookedSemaphore() const { return semaphore_; }

 protected:
  bool Hook(uint32_t semaphoreValue) override;
  void Unhook() override;
  bool Pop(DeviceEvent& event) override;

 private:
  static constexpr uint32_t kFunctionCount = 0x11;  // functions 0x900 to 0x910

  Releaser release_;
  std::atomic<bool> present_{true};
  std::atomic<bool> open_{false};
  std::atomic<bool> hooked_{false};
  std::atomic<uint32_t> semaphore_{0};
  std::atomic<uint32_t> failCode_{0};
  std::atomic<uint32_t> failError_{0};
  std::atomic<int64_t> readDelayMs_{0};
  std::array<std::atomic<uint32_t>, kFunctionCount> counts_{};
  mutable std::mutex callsLock_;
  std::vector<Call> calls_;
  EventQueue queue_;
};

}  // namespace norvi
