// What the receiving thread performs itself and what it leaves to the main thread, and the
// ordering rules of what it injects: whole sequences in input order, pauses that hold back
// later sequences, presses under the assignments published before them, and key combinations
// held from a button's press to its release with room kept for that release.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
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

// Key events as "kd 11" / "ku 54" (virtual key in hex, the program's mark checked), mouse
// events as "m" and their flags: what a window would tell apart.
std::vector<std::string> Described(const Events& events) {
  std::vector<std::string> lines;
  for (const InputEvent& e : events) {
    char line[16];
    if (e.kind == InputKind::Key)
      std::snprintf(line, sizeof line, "%s %02X%s", (e.flags & kKeyUp) ? "ku" : "kd", e.virtualKey,
                    e.extraInfo == kOwnInputMark ? "" : " unmarked");
    else
      std::snprintf(line, sizeof line, "m %X", static_cast<unsigned>(e.flags));
    lines.push_back(line);
  }
  return lines;
}

using Lines = std::vector<std::string>;
const Lines kCtrlShiftTDown{"kd 11", "kd 10", "kd 54"};
const Lines kCtrlShiftTUp{"ku 54", "ku 10", "ku 11"};

Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class PressPerformerTest : public ::testing::Test {
 protected:
  PressPerformerTest() { Assign({}); }
  void ClickOnBackThenCombinationOnForward();

  // The default profile with the given codes applied.
  void Assign(std::initializer_list<std::pair<int, int32_t>> codes) {
    ProfileImage profile = DefaultProfile();
    for (auto& slot : profile.Slots) slot.FunID = slot.InitID;
    for (const auto& [slot, code] : codes) profile.Slots[slot].FunID = code;
    performer_.Publish(profile.Slots);
  }
  // The default profile with key combinations on these slots.
  void AssignKeys(std::initializer_list<std::pair<int, std::u16string_view>> combos) {
    ProfileImage profile = DefaultProfile();
    for (auto& slot : profile.Slots) slot.FunID = slot.InitID;
    for (const auto& [slot, text] : combos) {
      profile.Slots[slot].FunID = fn::Keys;
      SetPath(profile.Slots[slot], text);
    }
    performer_.Publish(profile.Slots);
  }
  Lines Seen() const { return Described(input_.events); }

  fakes::FakeClock clock_;
  fakes::InputRecorder input_{clock_};
  fakes::SystemRecorder system_;
  PressPerformer performer_{input_, system_};
};

TEST_F(PressPerformerTest, InputOnlyFunctionsAreThoseOfEditingMediaAndMouseInput) {
  for (int32_t code : {fn::Cut, fn::Save, fn::MediaPlayer, fn::Mute, fn::MouseLeft, fn::MouseBack,
                       fn::WheelUp, fn::WheelDown, fn::Keys})
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

// What waits behind two clicks' pauses runs round the ring's end: it still goes out as one
// batch, so that no other input slips into the middle of a sequence.
TEST_F(PressPerformerTest, AWaitingRunGoesOutAsOneBatchWhereverItLiesInTheRing) {
  Assign({{SlotBack, fn::MouseLeft}, {SlotForward, fn::Copy}});
  performer_.Perform(0x08, 0);
  performer_.Perform(kEventButtonsReleased, 0);
  performer_.Perform(0x08, 0);
  EXPECT_EQ(performer_.Continue(100), 100u);  // the first up and the second down, then a pause
  for (int i = 0; i < 7; ++i) performer_.Perform(0x10, 150);
  EXPECT_EQ(performer_.Dropped(), 0u);
  EXPECT_EQ(performer_.Continue(200), PressPerformer::kIdle);
  EXPECT_EQ(input_.batchSizes, (std::vector<size_t>{1, 2, 29}));
  Events expected = Joined({Injected(Of(fn::MouseLeft)), Injected(Of(fn::MouseLeft))});
  for (int i = 0; i < 7; ++i) expected = Joined({expected, Of(fn::Copy)});
  EXPECT_EQ(input_.events, expected);
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

// A combination on a button goes down with the press, in one batch, and up with the release, on
// the receiving thread: nothing is left to the main thread, and a second release takes
// nothing up.
TEST_F(PressPerformerTest, ACombinationOnAButtonIsHeldFromItsPressToItsRelease) {
  AssignKeys({{SlotForward, u"keys:1:ctrl+shift+T"}});
  EXPECT_EQ(performer_.Perform(0x10, 0), 0u);
  EXPECT_EQ(Seen(), kCtrlShiftTDown);
  EXPECT_EQ(input_.batchSizes, std::vector<size_t>{3});
  // Another button's press and release leave it down.
  EXPECT_EQ(performer_.Perform(0x18, 10), 0u);
  EXPECT_EQ(performer_.Perform(0x10, 20), 0u);
  EXPECT_EQ(Seen(), kCtrlShiftTDown);
  EXPECT_EQ(performer_.Perform(kEventButtonsReleased, 30), 0u);
  EXPECT_EQ(Seen(), Concat({kCtrlShiftTDown, kCtrlShiftTUp}));
  EXPECT_EQ(performer_.Perform(kEventButtonsReleased, 40), 0u);
  EXPECT_EQ(performer_.Continue(50), PressPerformer::kIdle);
  EXPECT_EQ(input_.events.size(), 6u);
}

TEST_F(PressPerformerTest, ACombinationOnAWheelStepIsTappedAndATextThatDoesNotParsePressesNothing) {
  AssignKeys({{SlotWheelUp, u"keys:1:ctrl+shift+T"}, {SlotWheelDown, u"keys:1:ctrl+ctrl"}});
  EXPECT_EQ(performer_.Perform(kEventWheelUp, 0), 0u);
  EXPECT_EQ(performer_.Perform(kEventWheelDown, 0), 0u);
  EXPECT_EQ(Seen(), Concat({kCtrlShiftTDown, kCtrlShiftTUp}));
  EXPECT_EQ(performer_.Continue(0), PressPerformer::kIdle);
}

// The key repeats at the keyboard's delay (setting 2: 750 ms) and rate (31: 33 ms) while the
// button is held, and stops with the release.
TEST_F(PressPerformerTest, AHeldCombinationsKeyRepeatsAtTheKeyboardsDelayAndRate) {
  system_.parametersAnswer = [](uint32_t action, uint32_t, void* value) {
    if (action == kSpiGetKeyboardDelay) *static_cast<uint32_t*>(value) = 2;
    if (action == kSpiGetKeyboardSpeed) *static_cast<uint32_t*>(value) = 31;
  };
  AssignKeys({{SlotForward, u"keys:1:ctrl+shift+T"}});
  performer_.Perform(0x10, 1000);
  // Held: the thread looks again at least every kHeldLookMs.
  EXPECT_EQ(performer_.Continue(1000), PressPerformer::kHeldLookMs);
  EXPECT_EQ(performer_.Continue(1740), 10u);
  EXPECT_EQ(Seen(), kCtrlShiftTDown);
  EXPECT_EQ(performer_.Continue(1750), 33u);
  EXPECT_EQ(performer_.Continue(1783), 33u);
  EXPECT_EQ(Seen(), Concat({kCtrlShiftTDown, {"kd 54", "kd 54"}}));
  performer_.Perform(kEventButtonsReleased, 1800);
  EXPECT_EQ(performer_.Continue(1816), PressPerformer::kIdle);
  EXPECT_EQ(Seen(), Concat({kCtrlShiftTDown, {"kd 54", "kd 54"}, kCtrlShiftTUp}));
}

// Back is a left click and forward holds Ctrl+Shift+T: back clicked, then forward pressed
// while the click's up still waits for its pause.
void PressPerformerTest::ClickOnBackThenCombinationOnForward() {
  ProfileImage profile = DefaultProfile();
  for (auto& slot : profile.Slots) slot.FunID = slot.InitID;
  profile.Slots[SlotBack].FunID = fn::MouseLeft;
  profile.Slots[SlotForward].FunID = fn::Keys;
  SetPath(profile.Slots[SlotForward], u"keys:1:ctrl+shift+T");
  performer_.Publish(profile.Slots);
  performer_.Perform(0x08, 0);
  performer_.Perform(kEventButtonsReleased, 5);
  performer_.Perform(0x10, 10);
}

// Two functions' sequences never interleave: a combination pressed while a click's up waits
// comes after the up, in the same batch.
TEST_F(PressPerformerTest, ACombinationPressedDuringAClicksPauseComesAfterTheWholeClick) {
  ClickOnBackThenCombinationOnForward();
  EXPECT_EQ(input_.events, Events{MouseAt(kMouseLeftDown)});
  EXPECT_EQ(performer_.Continue(100), PressPerformer::kHeldLookMs);
  const Lines click = Described(Injected(Of(fn::MouseLeft)));
  EXPECT_EQ(Seen(), Concat({click, kCtrlShiftTDown}));
  EXPECT_EQ(input_.batchSizes, (std::vector<size_t>{1, 4}));
  performer_.Perform(kEventButtonsReleased, 120);
  EXPECT_EQ(Seen(), Concat({click, kCtrlShiftTDown, kCtrlShiftTUp}));
}

// The release takes up what the press put down, whatever is published in between.
TEST_F(PressPerformerTest, AHeldCombinationGoesUpAsItWasPressedWhateverIsPublishedBetween) {
  AssignKeys({{SlotForward, u"keys:1:ctrl+shift+T"}});
  performer_.Perform(0x10, 0);
  AssignKeys({{SlotForward, u"keys:1:alt+F4"}});
  performer_.Perform(kEventButtonsReleased, 30);
  EXPECT_EQ(Seen(), Concat({kCtrlShiftTDown, kCtrlShiftTUp}));
  // The next press is the new profile's.
  performer_.Perform(0x10, 40);
  EXPECT_EQ(Seen(), Concat({kCtrlShiftTDown, kCtrlShiftTUp, {"kd 12", "kd 73"}}));
}

// The main thread asks for every held key to go up (the assignments changed, the receiver was
// removed): the next look of the receiving thread takes them up, even with no input, and the
// button's later release takes up nothing more.
TEST_F(PressPerformerTest, TheMainThreadsReleaseTakesHeldCombinationsUpAtTheNextLook) {
  AssignKeys({{SlotForward, u"keys:1:ctrl+shift+T"}, {SlotBack, u"keys:1:ctrl+C"}});
  performer_.Perform(0x10, 0);
  performer_.Perform(0x18, 10);
  EXPECT_EQ(Seen(), Concat({kCtrlShiftTDown, {"kd 43"}}));  // Ctrl is down already
  performer_.ReleaseHeld();
  EXPECT_EQ(performer_.Continue(50), PressPerformer::kIdle);
  // Each key once, the shared Ctrl with the last of them.
  EXPECT_EQ(Seen(), Concat({kCtrlShiftTDown, {"kd 43"}, {"ku 54", "ku 10", "ku 43", "ku 11"}}));
  performer_.Perform(kEventButtonsReleased, 60);
  EXPECT_EQ(input_.events.size(), 8u);
}

// The held combination's release always has room: presses that would take it are dropped,
// the release is not, and a press that finds no room for its own release is not made.
TEST_F(PressPerformerTest, TheReleaseOfAHeldCombinationIsNeverDroppedForWantOfRoom) {
  ProfileImage profile = DefaultProfile();
  for (auto& slot : profile.Slots) slot.FunID = slot.InitID;
  profile.Slots[SlotRight].FunID = fn::MouseLeft;
  profile.Slots[SlotMiddle].FunID = fn::Copy;
  profile.Slots[SlotForward].FunID = fn::Keys;
  SetPath(profile.Slots[SlotForward], u"keys:1:ctrl+shift+alt+win+T");
  profile.Slots[SlotBack].FunID = fn::Keys;
  SetPath(profile.Slots[SlotBack], u"keys:1:ctrl+F5");
  performer_.Publish(profile.Slots);
  performer_.Perform(0x10, 0);  // five keys down, five kept for their release
  performer_.Perform(0x12, 0);  // left down; its up waits behind the pause
  for (int i = 0; i < 7; ++i) {
    performer_.Perform(0x14, 0);  // a copy, 4 events each: the seventh has no room
    performer_.Perform(0x10, 0);
  }
  EXPECT_EQ(performer_.Dropped(), 1u);
  performer_.Perform(0x18, 0);  // two keys now and two for their release: no room either
  EXPECT_EQ(performer_.Dropped(), 2u);
  performer_.Perform(kEventButtonsReleased, 10);
  EXPECT_EQ(performer_.Continue(100), PressPerformer::kIdle);
  Lines expected{"kd 11", "kd 10", "kd 12", "kd 5B", "kd 54"};
  expected = Concat({expected, Described(Injected(Of(fn::MouseLeft)))});
  for (int i = 0; i < 6; ++i) expected = Concat({expected, Described(Of(fn::Copy))});
  expected = Concat({expected, {"ku 54", "ku 5B", "ku 12", "ku 10", "ku 11"}});
  EXPECT_EQ(Seen(), expected);
}

// At the end, what waits goes out without its pause and every held key goes up after it.
TEST_F(PressPerformerTest, FinishLeavesNothingWaitingAndNothingDown) {
  ClickOnBackThenCombinationOnForward();
  performer_.Finish();
  EXPECT_EQ(Seen(),
            Concat({Described(Injected(Of(fn::MouseLeft))), kCtrlShiftTDown, kCtrlShiftTUp}));
  EXPECT_EQ(performer_.Continue(500), PressPerformer::kIdle);
  EXPECT_EQ(input_.events.size(), 8u);
}

// The main thread publishes while the receiving thread performs: every press injects one of
// the two published sequences whole, never a mixture of two profiles.
TEST(PressPerformerThreadsTest, APublishNeverTearsTheCodesAPressReads) {
  fakes::FakeClock clock;
  fakes::InputRecorder input{clock};
  fakes::SystemRecorder system;
  PressPerformer performer{input, system};
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
