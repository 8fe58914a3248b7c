// What the receiving thread performs itself and what it leaves to the main thread, and the
// ordering rules of what it injects: whole sequences in input order, pauses that hold back
// later sequences, presses under the assignments published before them.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "actions/Sequences.h"
#include "app/PressPerformer.h"
#include "model/FunctionCodes.h"
#include "model/ProfileImage.h"
#include "tests/actions/fakes/ActionFakes.h"

namespace norvi {
namespace {

using Events = std::vector<InputEvent>;

constexpr uint32_t kBit = 1u;

Events Of(int32_t code) {
  const auto sequence = SequenceFor(code);
  return Events(sequence.begin(), sequence.end());
}

// The events without the pauses, as the injector receives them.
Events Injected(Events events) {
  std::erase_if(events, [](const InputEvent& e) { return e.kind == InputKind::Pause; });
  return events;
}

Events Joined(std::initializer_list<Events> parts) {
  Events all;
  for (const Events& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class PressPerformerTest : public ::testing::Test {
 protected:
  PressPerformerTest() { Assign({}); }

  // The default profile with the given codes applied.
  void Assign(std::initializer_list<std::pair<int, int32_t>> codes) {
    ProfileImage profile = DefaultProfile();
    for (auto& slot : profile.Slots) slot.FunID = slot.InitID;
    for (const auto& [slot, code] : codes) profile.Slots[slot].FunID = code;
    performer_.Publish(profile.Slots);
  }

  fakes::FakeClock clock_;
  fakes::InputRecorder input_{clock_};
  PressPerformer performer_{input_};
};

TEST_F(PressPerformerTest, InputOnlyFunctionsAreThoseOfEditingMediaAndMouseInput) {
  for (int32_t code : {fn::Cut, fn::Save, fn::MediaPlayer, fn::Mute, fn::MouseLeft, fn::MouseBack,
                       fn::WheelUp, fn::WheelDown})
    EXPECT_TRUE(IsInputOnly(code)) << code;
  for (int32_t code :
       {0, 9, fn::SwitchWindow, fn::CloseWindow, fn::LockPC, fn::Run, fn::ZoomIn, fn::Maximize, 48,
        57, fn::TiltLeft, fn::TiltRight, fn::PlaySound, fn::OpenFolder, fn::Disable})
    EXPECT_FALSE(IsInputOnly(code)) << code;
}

TEST_F(PressPerformerTest, CopyIsInjectedAtOnceAndNothingIsLeftToTheMainThread) {
  Assign({{SlotForward, fn::Copy}});
  EXPECT_EQ(performer_.Perform(0x10, 0), 0u);
  EXPECT_EQ(input_.events, Of(fn::Copy));
  EXPECT_EQ(input_.batchSizes, std::vector<size_t>{4});
  // The release performs nothing, and neither does a native slot's press.
  EXPECT_EQ(performer_.Perform(kEventButtonsReleased, 0), 0u);
  EXPECT_EQ(performer_.Perform(0x08, 0), 0u);
  EXPECT_EQ(input_.events.size(), 4u);
}

TEST_F(PressPerformerTest, WindowAndLaunchFunctionsAndTiltsAreLeftToTheMainThread) {
  Assign({{SlotForward, fn::SwitchWindow},
          {SlotBack, fn::OpenProgram},
          {SlotWheelUp, fn::ZoomIn},
          {SlotMiddle, fn::Maximize}});
  EXPECT_EQ(performer_.Perform(0x10, 0), kBit << SlotForward);
  EXPECT_EQ(performer_.Perform(0x08, 0), kBit << SlotBack);
  EXPECT_EQ(performer_.Perform(kEventWheelUp, 0), kBit << SlotWheelUp);
  EXPECT_EQ(performer_.Perform(0x04, 0), kBit << SlotMiddle);
  EXPECT_EQ(performer_.Perform(kEventTiltLeft, 0), kBit << SlotTiltLeft);
  EXPECT_TRUE(input_.events.empty());
}

// A driver byte with several buttons: once one step is the main thread's, the later ones are
// too, so they are performed in the order right, middle, back, forward.
TEST_F(PressPerformerTest, StepsAfterOneLeftToTheMainThreadAreLeftToItToo) {
  Assign({{SlotRight, fn::Copy}, {SlotMiddle, fn::LockPC}, {SlotForward, fn::Paste}});
  EXPECT_EQ(performer_.Perform(0x16, 0), (kBit << SlotMiddle) | (kBit << SlotForward));
  EXPECT_EQ(input_.events, Of(fn::Copy));
}

// A click's up waits 100 ms; a copy pressed meanwhile comes after the up, never inside the
// click, and the wait is the caller's (the performer never sleeps).
TEST_F(PressPerformerTest, ASequenceInItsPauseHoldsBackTheNextOne) {
  Assign({{SlotBack, fn::MouseLeft}, {SlotForward, fn::Copy}});
  EXPECT_EQ(performer_.Perform(0x08, 1000), 0u);
  EXPECT_EQ(input_.events, Events{MouseAt(kMouseLeftDown)});
  EXPECT_EQ(performer_.Perform(0x10, 1040), 0u);
  EXPECT_EQ(input_.events.size(), 1u);
  EXPECT_EQ(performer_.Continue(1060), 40u);
  EXPECT_EQ(performer_.Continue(1100), PressPerformer::kIdle);
  EXPECT_EQ(input_.events, Joined({Injected(Of(fn::MouseLeft)), Of(fn::Copy)}));
  // The up and the copy waiting behind it go out together, in order.
  EXPECT_EQ(input_.batchSizes, (std::vector<size_t>{1, 5}));
  EXPECT_EQ(performer_.Continue(1200), PressPerformer::kIdle);
}

TEST_F(PressPerformerTest, PausesCountOnAClockThatWraps) {
  Assign({{SlotBack, fn::MouseRight}});
  performer_.Perform(0x08, UINT32_MAX - 10);
  EXPECT_EQ(performer_.Continue(UINT32_MAX), 90u);
  EXPECT_EQ(performer_.Continue(88), 1u);
  EXPECT_EQ(performer_.Continue(89), PressPerformer::kIdle);
  EXPECT_EQ(input_.events, Injected(Of(fn::MouseRight)));
}

// A click pressed and released while the profile changes: its up still comes, and the
// release does not perform what the new profile assigns.
TEST_F(PressPerformerTest, AHeldFunctionEndsAsItsPressBeganWhateverIsPublishedBetween) {
  Assign({{SlotForward, fn::MouseMiddle}});
  performer_.Perform(0x10, 0);
  Assign({{SlotForward, fn::Paste}});
  EXPECT_EQ(performer_.Perform(kEventButtonsReleased, 30), 0u);
  EXPECT_EQ(performer_.Continue(100), PressPerformer::kIdle);
  EXPECT_EQ(input_.events, Injected(Of(fn::MouseMiddle)));
  // The next press is the new profile's.
  performer_.Perform(0x10, 200);
  EXPECT_EQ(input_.events, Joined({Injected(Of(fn::MouseMiddle)), Of(fn::Paste)}));
}

TEST_F(PressPerformerTest, WheelStepsAndNativeWheelsFollowTheRemappedSlots) {
  Assign({{SlotWheelDown, fn::VolumeDown}});
  EXPECT_EQ(performer_.Perform(kEventWheelDown, 0), 0u);
  EXPECT_EQ(performer_.Perform(kEventWheelUp, 0), 0u);
  EXPECT_EQ(input_.events, Of(fn::VolumeDown));
}

// More than the pending room holds: whole sequences only, the rest dropped and counted, none
// handed to the main thread to run out of order.
TEST_F(PressPerformerTest, ASequenceThatDoesNotFitIsDroppedWhole) {
  Assign({{SlotBack, fn::MouseLeft}, {SlotForward, fn::Copy}});
  performer_.Perform(0x08, 0);  // 2 events wait behind the pause
  for (int i = 0; i < 8; ++i) EXPECT_EQ(performer_.Perform(0x10, 0), 0u);  // 4 each
  EXPECT_EQ(performer_.Dropped(), 1u);
  EXPECT_EQ(performer_.Continue(100), PressPerformer::kIdle);
  Events expected = Injected(Of(fn::MouseLeft));
  for (int i = 0; i < 7; ++i) expected = Joined({expected, Of(fn::Copy)});
  EXPECT_EQ(input_.events, expected);
}

// The main thread publishes while the receiving thread performs: every press injects one of
// the two published sequences whole, never a mixture of two profiles.
TEST(PressPerformerThreadsTest, APublishNeverTearsTheCodesAPressReads) {
  fakes::FakeClock clock;
  fakes::InputRecorder input{clock};
  PressPerformer performer{input};
  ProfileImage copy = DefaultProfile();
  ProfileImage paste = DefaultProfile();
  for (auto& slot : copy.Slots) slot.FunID = fn::Copy;
  for (auto& slot : paste.Slots) slot.FunID = fn::Paste;
  performer.Publish(copy.Slots);
  performer.Perform(0x12, 0);
  std::atomic<bool> done{false};
  std::thread publisher([&] {
    for (int i = 0; !done.load(); ++i) {
      performer.Publish(i % 2 ? copy.Slots : paste.Slots);
      std::this_thread::yield();
    }
  });
  constexpr int kPresses = 20000;
  for (int i = 0; i < kPresses; ++i) {
    // Right and forward in one byte: both steps must come from one profile.
    performer.Perform(0x12, 0);
  }
  done = true;
  publisher.join();
  // A press that finds the main thread writing again and again keeps the codes it read last.
  ASSERT_EQ(input.events.size(), 8u * (kPresses + 1));
  for (size_t i = 0; i < input.events.size(); i += 8) {
    const uint8_t key = input.events[i + 1].virtualKey;
    ASSERT_TRUE(key == 'C' || key == 'V');
    ASSERT_EQ(input.events[i + 5].virtualKey, key) << i;
  }
}

}  // namespace
}  // namespace norvi
