#include "app/PressPerformer.h"

#include "actions/Sequences.h"
#include "app/DeviceDispatch.h"
#include "model/FunctionCodes.h"

namespace norvi {
namespace {

bool InRange(int32_t code, int32_t first, int32_t last) {
  return code >= first && code <= last;
}

// A writer that stops half-way is the only reason to read again; a reader that cannot get a
// whole copy keeps the last one it got.
constexpr int kReadTries = 64;

// Whether `due` is still ahead of `now` on a clock that wraps.
bool Ahead(uint32_t due, uint32_t now) {
  return static_cast<int32_t>(due - now) > 0;
}

}  // namespace

bool IsInputOnly(int32_t code) {
  return InRange(code, fn::Cut, fn::Save) || InRange(code, fn::MediaPlayer, fn::Mute) ||
         InRange(code, fn::MouseLeft, fn::WheelDown);
}

PressPerformer::PressPerformer(IInputInjector& input) : input_(input) {}

void PressPerformer::Publish(const SlotTable& slots) {
  const uint32_t start = sequence_.load(std::memory_order_relaxed) + 1;
  sequence_.store(start, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  for (int slot = 0; slot < kSlotCount; ++slot)
    applied_[slot].store(slots[slot].FunID, std::memory_order_relaxed);
  remapped_.store(RemappedSlots(slots), std::memory_order_relaxed);
  sequence_.store(start + 1, std::memory_order_release);
}

PressPerformer::Codes PressPerformer::Read() const {
  for (int i = 0; i < kReadTries; ++i) {
    const uint32_t before = sequence_.load(std::memory_order_acquire);
    if (before & 1u) continue;
    Codes codes;
    for (int slot = 0; slot < kSlotCount; ++slot)
      codes.applied[slot] = applied_[slot].load(std::memory_order_relaxed);
    codes.remapped = remapped_.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (sequence_.load(std::memory_order_relaxed) == before) return codes;
  }
  return last_;
}

uint32_t PressPerformer::Perform(DeviceEvent event, uint32_t nowMs) {
  last_ = Read();
  if (event == kEventButtonsReleased) Released();
  const DispatchPlan plan = PlanDeviceEvent(event, last_.remapped);
  if (event != kEventButtonsReleased && event < kFirstNonButtonEvent)
    Pressed(plan.count != 0 ? last_.applied[plan.steps[0].slot] : 0);
  uint32_t leftToMain = 0;
  for (int i = 0; i < plan.count; ++i) {
    const int slot = plan.steps[i].slot;
    const int32_t code = last_.applied[slot];
    if (leftToMain != 0 || !IsInputOnly(code)) {
      leftToMain |= 1u << slot;
      continue;
    }
    Queue(SequenceFor(code));
  }
  Continue(nowMs);
  return leftToMain;
}

uint32_t PressPerformer::Continue(uint32_t nowMs) {
  while (count_ != 0) {
    if (pausing_) {
      if (Ahead(dueMs_, nowMs)) return dueMs_ - nowMs;
      pausing_ = false;
    }
    const InputEvent& first = pending_[head_];
    if (first.kind == InputKind::Pause) {
      pausing_ = true;
      dueMs_ = nowMs + first.pauseMs;
      head_ = (head_ + 1) % kPending;
      --count_;
      continue;
    }
    // The run up to the next pause (or the ring's end) in one batch.
    size_t run = 0;
    while (run < count_ && head_ + run < kPending && pending_[head_ + run].kind != InputKind::Pause)
      ++run;
    input_.Inject({&pending_[head_], run});
    head_ = (head_ + run) % kPending;
    count_ -= run;
  }
  return kIdle;
}

// Whole or not at all: half a sequence (a button left down) is worse than none, and handing
// it to the main thread would put it out of order.
void PressPerformer::Queue(std::span<const InputEvent> sequence) {
  if (count_ + sequence.size() > kPending) {
    ++dropped_;
    return;
  }
  for (const InputEvent& e : sequence) pending_[(head_ + count_++) % kPending] = e;
}

void PressPerformer::Pressed(int32_t code) {
  if (heldCount_ < held_.size()) held_[heldCount_++] = code;
}

// Today no function does anything on release; a function that holds something down while
// its button is held ends it here, with the code its press recorded.
void PressPerformer::Released() {
  if (heldCount_ == 0) return;
  for (size_t i = 1; i < heldCount_; ++i) held_[i - 1] = held_[i];
  --heldCount_;
}

}  // namespace norvi
