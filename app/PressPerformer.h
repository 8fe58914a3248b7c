#pragma once
// The part of each swallowed input that the thread receiving it performs at once, without the
// main thread: functions whose whole work is injected input (editing keys, media keys, mouse
// clicks, wheel steps, forward and back). Everything else (window functions, switch window
// with its held Alt, horizontal scrolling, which asks other windows, sounds, programs, files)
// is left to the main thread.
//
// Threads: Publish runs on the main thread; Perform and Continue run on the receiving thread
// only (the built-in filter's hook thread, or the driver's reader thread). No lock, no
// allocation, no wait: the receiving thread may be inside a low-level hook.
//
// Ordering rules, kept here for everything this thread injects:
//   - sequences are injected whole and in the order their inputs came; one whose pause is
//     still running holds back the later ones, so two sequences never interleave;
//   - a press is performed under the assignments published before it was received, and its
//     release under what the press recorded, whatever was published in between.

#include <array>
#include <atomic>
#include <cstdint>

#include "actions/InputEvent.h"
#include "actions/Seams.h"
#include "device/DriverIo.h"
#include "model/ButtonSlot.h"

namespace norvi {

// Whether this code's whole work is a fixed injected sequence that asks nothing of other
// windows (zoom reads the class under the cursor, and codes 36 to 41 are window functions).
bool IsInputOnly(int32_t code);

class PressPerformer : public IReceiptPerformer {
 public:
  // No timer is due.
  static constexpr uint32_t kIdle = kNothingDue;
  // Events waiting behind a pause; a sequence that would not fit is not started.
  static constexpr size_t kPending = 32;

  explicit PressPerformer(IInputInjector& input);
  PressPerformer(const PressPerformer&) = delete;
  PressPerformer& operator=(const PressPerformer&) = delete;

  // Main thread: the assignments in force from now on (the applied and native codes).
  void Publish(const SlotTable& slots);

  // Receiving thread, once per event, nowMs from a millisecond clock that may wrap. Injects
  // the input-only steps of the event's plan and returns the slots left to the main thread
  // as bits; once a step is left to it, so are the later steps of the same event, so that
  // their order stays.
  uint32_t Perform(DeviceEvent event, uint32_t nowMs) override;
  // Receiving thread: injects whatever has come due; milliseconds until the next part, or
  // kIdle.
  uint32_t Continue(uint32_t nowMs) override;

  // Sequences not started because the pending room was full.
  uint32_t Dropped() const { return dropped_; }

 private:
  struct Codes {
    std::array<int32_t, kSlotCount> applied{};
    uint32_t remapped = 0;
  };
  Codes Read() const;
  void Queue(std::span<const InputEvent> sequence);
  void Pressed(int32_t code);
  void Released();

  IInputInjector& input_;
  // Published codes under a sequence counter: odd while the main thread writes.
  std::atomic<uint32_t> sequence_{0};
  std::array<std::atomic<int32_t>, kSlotCount> applied_{};
  std::atomic<uint32_t> remapped_{0};

  // Receiving thread only.
  Codes last_{};
  std::array<InputEvent, kPending> pending_{};
  size_t head_ = 0;
  size_t count_ = 0;
  bool pausing_ = false;
  uint32_t dueMs_ = 0;
  // The codes of presses performed here whose release has not come, oldest first: the
  // release belongs to what the press did.
  std::array<int32_t, 4> held_{};
  size_t heldCount_ = 0;
  uint32_t dropped_ = 0;
};

}  // namespace norvi
