#include "device/EventQueue.h"

namespace norvi {

namespace {
uint32_t Distance(uint32_t from, uint32_t to, uint32_t span) {
  return to >= from ? to - from : to + span - from;
}
}  // namespace

uint32_t EventQueue::Size() const {
  return Distance(head_.load(std::memory_order_acquire), tail_.load(std::memory_order_acquire),
                  kSpan);
}

bool EventQueue::Push(DeviceEvent event) {
  uint32_t tail = tail_.load(std::memory_order_relaxed);
  if (Distance(head_.load(std::memory_order_acquire), tail, kSpan) == kCapacity) {
    dropped_.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  ring_[tail % kCapacity] = event;
  tail_.store(Next(tail), std::memory_order_release);
  return true;
}

bool EventQueue::Pop(DeviceEvent& event) {
  uint32_t head = head_.load(std::memory_order_relaxed);
  if (head == tail_.load(std::memory_order_acquire)) return false;
  event = ring_[head % kCapacity];
  head_.store(Next(head), std::memory_order_release);
  return true;
}

}  // namespace norvi
