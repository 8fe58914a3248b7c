#include "app/PressPerformer.h"

#include <algorithm>

#include "actions/Sequences.h"
#include "app/DeviceDispatch.h"
#include "model/FunctionCodes.h"
#include "model/KeyCombo.h"

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

// A combination in one word, so that it is published like a code: 0 is none (a Keys slot
// whose text does not parse presses nothing).
constexpr uint32_t kComboValid = 0x10000;
uint32_t PackCombo(const KeyCombo& combo) {
  return kComboValid | static_cast<uint32_t>(combo.modifiers) << 8 | combo.key;
}
KeyCombo UnpackCombo(uint32_t packed) {
  return {static_cast<uint8_t>(packed >> 8), static_cast<uint8_t>(packed)};
}

// The most events one direction of a combination injects: its modifiers and its key.
size_t ComboEvents(const KeyCombo& combo) {
  size_t events = combo.key != 0 ? 1 : 0;
  for (int m = 0; m < kModifierCount; ++m) events += (combo.modifiers >> m) & 1u;
  return events;
}

// Button byte bits and the slots they release, as the dispatch examines them.
constexpr std::array<std::pair<int, int>, 4> kButtonBits{{{kButtonBitRight, SlotRight},
                                                          {kButtonBitMiddle, SlotMiddle},
                                                          {kButtonBitBack, SlotBack},
                                                          {kButtonBitForward, SlotForward}}};

}  // namespace

bool IsInputOnly(int32_t code) {
  return InRange(code, fn::Cut, fn::Save) || InRange(code, fn::MediaPlayer, fn::Mute) ||
         InRange(code, fn::MouseLeft, fn::WheelDown) || code == fn::Keys;
}

PressPerformer::PressPerformer(IInputInjector& input, ISystemCalls& system)
    : input_(input), keys_(*this, *this, system) {}

void PressPerformer::Publish(const SlotTable& slots) {
  const uint32_t start = sequence_.load(std::memory_order_relaxed) + 1;
  sequence_.store(start, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    applied_[slot].store(slots[slot].FunID, std::memory_order_relaxed);
    uint32_t combo = 0;
    if (slots[slot].FunID == fn::Keys)
      if (const auto parsed = ParseKeyCombo(PathText(slots[slot]))) combo = PackCombo(*parsed);
    combos_[slot].store(combo, std::memory_order_relaxed);
  }
  remapped_.store(RemappedSlots(slots), std::memory_order_relaxed);
  sequence_.store(start + 1, std::memory_order_release);
}

PressPerformer::Codes PressPerformer::Read() const {
  for (int i = 0; i < kReadTries; ++i) {
    const uint32_t before = sequence_.load(std::memory_order_acquire);
    if (before & 1u) continue;
    Codes codes;
    for (int slot = 0; slot < kSlotCount; ++slot) {
      codes.applied[slot] = applied_[slot].load(std::memory_order_relaxed);
      codes.combos[slot] = combos_[slot].load(std::memory_order_relaxed);
    }
    codes.remapped = remapped_.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (sequence_.load(std::memory_order_relaxed) == before) return codes;
  }
  return last_;
}

uint32_t PressPerformer::Perform(DeviceEvent event, uint32_t nowMs) {
  now_ = nowMs;
  TakeReleaseRequest();
  last_ = Read();
  // A button byte is the state of the buttons: the combinations of those now up go up first,
  // whatever the slots hold by now.
  if (event < kFirstNonButtonEvent)
    for (const auto& [bit, slot] : kButtonBits)
      if ((event & (1u << bit)) == 0) ReleaseCombo(slot);
  const DispatchPlan plan = PlanDeviceEvent(event, last_.remapped);
  uint32_t leftToMain = 0;
  for (int i = 0; i < plan.count; ++i) {
    const int slot = plan.steps[i].slot;
    const int32_t code = last_.applied[slot];
    if (leftToMain != 0 || !IsInputOnly(code)) {
      leftToMain |= 1u << slot;
      continue;
    }
    if (code == fn::Keys)
      PerformCombo(slot, last_.combos[slot]);
    else
      Queue(SequenceFor(code));
  }
  InjectDue(nowMs);
  return leftToMain;
}

uint32_t PressPerformer::Continue(uint32_t nowMs) {
  now_ = nowMs;
  TakeReleaseRequest();
  // A timer's period: the repeat stops only when the performer kills it. A repeat without
  // room is skipped, as a busy keyboard's would be.
  if (repeatDue_ && !Ahead(repeatAt_, nowMs)) {
    repeatAt_ = nowMs + repeatPeriodMs_;
    if (Fits(1)) keys_.OnRepeatTimer();
  }
  uint32_t wait = InjectDue(nowMs);
  if (repeatDue_) wait = std::min(wait, repeatAt_ - nowMs);
  if (reserved_ != 0) wait = std::min(wait, kHeldLookMs);
  return wait;
}

uint32_t PressPerformer::InjectDue(uint32_t nowMs) {
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
    // The run up to the next pause in one batch, so that nothing slips in between; where it
    // wraps round the ring's end, it is made whole first.
    size_t run = 0;
    while (run < count_ && pending_[(head_ + run) % kPending].kind != InputKind::Pause) ++run;
    if (head_ + run <= kPending) {
      input_.Inject({&pending_[head_], run});
    } else {
      for (size_t i = 0; i < run; ++i) whole_[i] = pending_[(head_ + i) % kPending];
      input_.Inject({whole_.data(), run});
    }
    head_ = (head_ + run) % kPending;
    count_ -= run;
  }
  head_ = 0;  // an empty ring starts again at its beginning: the next run needs no copy
  return kIdle;
}

void PressPerformer::Finish() {
  TakeReleaseRequest();
  ReleaseAllCombos();
  while (count_ != 0) {
    pausing_ = false;
    InjectDue(now_);
  }
  pausing_ = false;
}

// Whole or not at all: half a sequence (a button left down) is worse than none, and handing
// it to the main thread would put it out of order.
void PressPerformer::Queue(std::span<const InputEvent> sequence) {
  if (!Fits(sequence.size())) {
    ++dropped_;
    return;
  }
  for (const InputEvent& e : sequence) pending_[(head_ + count_++) % kPending] = e;
}

// A button holds its combination until its release; a wheel step taps it. The press takes
// room for its release along with its own.
void PressPerformer::PerformCombo(int slot, uint32_t packed) {
  if (packed == 0) return;
  const KeyCombo combo = UnpackCombo(packed);
  const size_t events = ComboEvents(combo);
  if (!IsButtonSlot(slot)) {
    if (Fits(2 * events))
      keys_.Tap(combo);
    else
      ++dropped_;
    return;
  }
  if (keys_.Holds(slot)) return;  // the held button reported again
  if (!Fits(2 * events)) {
    ++dropped_;
    return;
  }
  keys_.Press(slot, combo);
  if (!keys_.Holds(slot)) return;
  heldEvents_[static_cast<size_t>(slot)] = static_cast<uint8_t>(events);
  reserved_ += events;
}

void PressPerformer::ReleaseCombo(int slot) {
  if (!keys_.Holds(slot)) return;
  reserved_ -= heldEvents_[static_cast<size_t>(slot)];
  heldEvents_[static_cast<size_t>(slot)] = 0;
  keys_.Release(slot);
}

void PressPerformer::ReleaseAllCombos() {
  for (int slot = 0; slot < kSlotCount; ++slot) ReleaseCombo(slot);
}

void PressPerformer::TakeReleaseRequest() {
  const uint32_t asked = releaseAsked_.load(std::memory_order_acquire);
  if (asked == releaseTaken_) return;
  releaseTaken_ = asked;
  ReleaseAllCombos();
}

// The combinations' input goes behind whatever waits, and out at once when nothing does:
// their callers have made sure it fits.
void PressPerformer::Inject(std::span<const InputEvent> batch) {
  if (count_ + batch.size() > kPending) {
    ++dropped_;
    return;
  }
  for (const InputEvent& e : batch) pending_[(head_ + count_++) % kPending] = e;
  InjectDue(now_);
}

void PressPerformer::Pause(uint32_t ms) {
  const InputEvent pause[] = {PauseFor(ms)};
  Inject(pause);
}

void PressPerformer::Start(uint32_t, uint32_t periodMs) {
  repeatDue_ = true;
  repeatPeriodMs_ = periodMs;
  repeatAt_ = now_ + periodMs;
}

void PressPerformer::Kill(uint32_t) {
  repeatDue_ = false;
}

}  // namespace norvi
