#pragma once
// The queue of swallowed inputs between the one thread that reports them (the hook or a
// test) and the one that reads them (the reader thread's IOCTL_WT_READ). Fixed size, no
// lock and no allocation: the producer may be a low-level hook that must never block.

#include <array>
#include <atomic>
#include <cstdint>

#include "device/DriverProtocol.h"

namespace norvi {

class EventQueue {
 public:
  // As many as the semaphore can count.
  static constexpr uint32_t kCapacity = kEventSemaphoreMaximum;

  // Producer: false when full; the newest event is then dropped and counted.
  bool Push(DeviceEvent event);
  // Consumer: the oldest event, false when empty.
  bool Pop(DeviceEvent& event);

  uint32_t Size() const;
  uint32_t Dropped() const { return dropped_.load(std::memory_order_relaxed); }

 private:
  // Positions run over twice the capacity so that full and empty differ.
  static constexpr uint32_t kSpan = 2 * kCapacity;
  static uint32_t Next(uint32_t position) { return position + 1 == kSpan ? 0 : position + 1; }

  std::array<DeviceEvent, kCapacity> ring_{};
  std::atomic<uint32_t> head_{0};  // next to read; written by the consumer
  std::atomic<uint32_t> tail_{0};  // next to write; written by the producer
  std::atomic<uint32_t> dropped_{0};
};

}  // namespace norvi
