#pragma once
// The part of each swallowed input that the thread receiving it performs at once, without the
// main thread: functions whose whole work is injected input (editing keys, media keys, mouse
// clicks, wheel steps, forward and back, key combinations). Everything else (window functions,
// switch window with its held Alt, horizontal scrolling, which asks other windows, sounds,
// programs, files) is left to the main thread.
//
// Threads: Publish and ReleaseHeld run on the main thread; Perform, Continue and Finish on the
// receiving thread only (the built-in filter's hook thread, or the driver's reader thread).
// No lock, no allocation, no wait: the receiving thread may be inside a low-level hook.
//
// Ordering rules, kept here for everything this thread injects:
//   - sequences are injected whole and in the order their inputs came; one whose pause is
//     still running holds back the later ones, so two sequences never interleave;
//   - a press is performed under the assignments published before it was received, and its
//     release under what the press recorded, whatever was published in between;
//   - a key combination held by a button keeps room for its release: a release is never
//     dropped for want of room, and a press that could not be released later is not made.

#include <array>
#include <atomic>
#include <cstdint>

#include "actions/InputEvent.h"
#include "actions/KeyHold.h"
#include "actions/Seams.h"
#include "device/DriverIo.h"
#include "model/ButtonSlot.h"

namespace norvi {

// Whether this code's whole work is injected input that asks nothing of other windows (zoom
// reads the class under the cursor, and codes 36 to 41 are window functions): a fixed
// sequence, or a key combination.
bool IsInputOnly(int32_t code);

class PressPerformer : public IReceiptPerformer, private IInputInjector, private ITimer {
 public:
  // No timer is due.
  static constexpr uint32_t kIdle = kNothingDue;
  // Events waiting behind a pause; a sequence that would not fit is not started.
  static constexpr size_t kPending = 32;
  // While a combination is held, how often the receiving thread looks for the main thread's
  // ReleaseHeld even when no input comes (a removed receiver reports no release).
  static constexpr uint32_t kHeldLookMs = 50;

  // system: the keyboard's repeat delay and speed, asked once a combination is down.
  PressPerformer(IInputInjector& input, ISystemCalls& system);
  PressPerformer(const PressPerformer&) = delete;
  PressPerformer& operator=(const PressPerformer&) = delete;

  // Main thread: the assignments in force from now on (the applied codes and combinations).
  void Publish(const SlotTable& slots);
  // Main thread: every combination held here goes up, at the receiving thread's next event or
  // look (within kHeldLookMs).
  void ReleaseHeld() { releaseAsked_.fetch_add(1, std::memory_order_release); }

  // Receiving thread, once per event, nowMs from a millisecond clock that may wrap. Injects
  // the input-only steps of the event's plan and returns the slots left to the main thread
  // as bits; once a step is left to it, so are the later steps of the same event, so that
  // their order stays. A button byte first releases the combinations of the buttons it
  // reports up.
  uint32_t Perform(DeviceEvent event, uint32_t nowMs) override;
  // Receiving thread: injects whatever has come due (pauses ended, a held key's repeat);
  // milliseconds until the next part, or kIdle.
  uint32_t Continue(uint32_t nowMs) override;
  // Once the receiving thread has ended (or on it): what waits is injected without its pauses
  // and every held combination goes up, so that nothing stays down after the program.
  void Finish();

  // Sequences and combination presses not made because the pending room was full.
  uint32_t Dropped() const { return dropped_; }

 private:
  struct Codes {
    std::array<int32_t, kSlotCount> applied{};
    std::array<uint32_t, kSlotCount> combos{};  // PackCombo of a Keys slot, else 0
    uint32_t remapped = 0;
  };
  Codes Read() const;
  bool Fits(size_t events) const { return count_ + events + reserved_ <= kPending; }
  void Queue(std::span<const InputEvent> sequence);
  void PerformCombo(int slot, uint32_t packed);
  void ReleaseCombo(int slot);
  void ReleaseAllCombos();
  void TakeReleaseRequest();
  uint32_t InjectDue(uint32_t nowMs);

  // IInputInjector and ITimer for the combinations' performer: its input joins the pending
  // events (room kept by the callers), its repeat timer is a due time of this thread.
  void Inject(std::span<const InputEvent> batch) override;
  void Pause(uint32_t ms) override;
  void Start(uint32_t id, uint32_t periodMs) override;
  void Kill(uint32_t id) override;

  IInputInjector& input_;
  // Published codes under a sequence counter: odd while the main thread writes.
  std::atomic<uint32_t> sequence_{0};
  std::array<std::atomic<int32_t>, kSlotCount> applied_{};
  std::array<std::atomic<uint32_t>, kSlotCount> combos_{};
  std::atomic<uint32_t> remapped_{0};
  std::atomic<uint32_t> releaseAsked_{0};

  // Receiving thread only.
  Codes last_{};
  uint32_t releaseTaken_ = 0;
  uint32_t now_ = 0;
  std::array<InputEvent, kPending> pending_{};
  std::array<InputEvent, kPending> whole_{};  // a run that wraps round the ring, made whole
  size_t head_ = 0;
  size_t count_ = 0;
  bool pausing_ = false;
  uint32_t dueMs_ = 0;
  // Room kept for the releases of the held combinations, and each one's share.
  size_t reserved_ = 0;
  std::array<uint8_t, kSlotCount> heldEvents_{};
  bool repeatDue_ = false;
  uint32_t repeatAt_ = 0;
  uint32_t repeatPeriodMs_ = 0;
  KeyHold keys_;
  uint32_t dropped_ = 0;
};

}  // namespace norvi
