// Decisions of the user-mode filter and its event queue, without a hook.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <thread>
#include <vector>

#include "device/FilterCore.h"
#include "model/ButtonSlot.h"

namespace norvi {
namespace {

using ::testing::ElementsAre;

constexpr uint32_t kForward = 0x010;
constexpr uint32_t kAllSlots = 0x1FE;

MouseInput Down(int button) {
  return {MouseAction::ButtonDown, button, 0};
}
MouseInput Up(int button) {
  return {MouseAction::ButtonUp, button, 0};
}
MouseInput Wheel(int32_t delta) {
  return {MouseAction::Wheel, 0, delta};
}
MouseInput Tilt(int32_t delta) {
  return {MouseAction::Tilt, 0, delta};
}

class FilterCoreTest : public ::testing::Test {
 protected:
  EventQueue queue_;
  FilterCore core_{queue_};

  // Runs the inputs and returns which were swallowed.
  std::vector<bool> Run(std::initializer_list<MouseInput> inputs, uint32_t mask) {
    std::vector<bool> swallowed;
    for (const MouseInput& input : inputs) {
      FilterVerdict verdict = core_.Filter(input, mask);
      swallowed.push_back(verdict.swallow);
    }
    return swallowed;
  }
  std::vector<DeviceEvent> Drain() {
    std::vector<DeviceEvent> events;
    DeviceEvent event;
    while (queue_.Pop(event)) events.push_back(event);
    return events;
  }
};

TEST_F(FilterCoreTest, MaskedPressIsReportedAloneAndReleasedAsZero) {
  // Forward held, back pressed and released, forward released.
  EXPECT_THAT(Run({Down(kButtonBitForward), Down(kButtonBitBack), Up(kButtonBitBack),
                   Up(kButtonBitForward)},
                  kForward | SlotFilterBit(SlotBack)),
              ElementsAre(true, true, true, true));
  EXPECT_THAT(Drain(), ElementsAre(0x10u, 0x08u, 0u, 0u));
}

TEST_F(FilterCoreTest, UnmaskedAndLeftButtonsPass) {
  EXPECT_THAT(Run({Down(kButtonBitForward), Up(kButtonBitForward), Down(kButtonBitLeft),
                   Up(kButtonBitLeft), Down(kButtonBitRight), Up(kButtonBitRight)},
                  SlotFilterBit(SlotMiddle) | 0x001),
              ElementsAre(false, false, false, false, false, false));
  EXPECT_TRUE(Drain().empty());
}

TEST_F(FilterCoreTest, ReleaseFollowsThePressWhateverTheMaskBecame) {
  EXPECT_TRUE(core_.Filter(Down(kButtonBitMiddle), kAllSlots).swallow);
  EXPECT_TRUE(core_.Filter(Up(kButtonBitMiddle), 0).swallow);
  EXPECT_FALSE(core_.Filter(Down(kButtonBitRight), 0).swallow);
  EXPECT_FALSE(core_.Filter(Up(kButtonBitRight), kAllSlots).swallow);
  EXPECT_THAT(Drain(), ElementsAre(0x04u, 0u));
}

TEST_F(FilterCoreTest, WheelGivesOneEventPerNotchAndKeepsTheRest) {
  EXPECT_THAT(Run({Wheel(120), Wheel(40), Wheel(40), Wheel(40), Wheel(360), Wheel(-120), Wheel(-60),
                   Wheel(60), Wheel(-60), Wheel(-60)},
                  kAllSlots),
              ElementsAre(true, true, true, true, true, true, true, true, true, true));
  EXPECT_THAT(Drain(), ElementsAre(kEventWheelUp, kEventWheelUp, kEventWheelUp, kEventWheelUp,
                                   kEventWheelUp, kEventWheelDown, kEventWheelDown));
}

TEST_F(FilterCoreTest, FineWheelStepsAddUpToNotchesAndEachEventIsCounted) {
  uint32_t queued = 0;
  for (int i = 0; i < 6; ++i) queued += core_.Filter(Wheel(100), kAllSlots).queued;
  EXPECT_EQ(queued, 5u);
  EXPECT_THAT(Drain(), ElementsAre(kEventWheelUp, kEventWheelUp, kEventWheelUp, kEventWheelUp,
                                   kEventWheelUp));
  // 600 collected: 0 left. A partial notch the other way is dropped by a reversal.
  EXPECT_EQ(core_.Filter(Wheel(-100), kAllSlots).queued, 0u);
  EXPECT_EQ(core_.Filter(Wheel(100), kAllSlots).queued, 0u);
  EXPECT_EQ(core_.Filter(Wheel(20), kAllSlots).queued, 1u);
  // One message of a free-spinning wheel: one event, and one release, per notch.
  EXPECT_EQ(core_.Filter(Wheel(360), kAllSlots).queued, 3u);
  EXPECT_EQ(core_.Filter(Wheel(-240), kAllSlots).queued, 2u);
  EXPECT_THAT(Drain(), ElementsAre(kEventWheelUp, kEventWheelUp, kEventWheelUp, kEventWheelUp,
                                   kEventWheelDown, kEventWheelDown));
}

// A fine-resolution wheel with only wheel-up swallowed: the notch passed down drops the half
// notch collected before it, so wheel-up fires after two more halves, not after one.
TEST_F(FilterCoreTest, WheelDirectionsFollowTheirOwnBits) {
  const uint32_t upOnly = SlotFilterBit(SlotWheelUp);
  struct Step {
    int32_t delta;
    bool swallowed;
    std::vector<DeviceEvent> queued;
  };
  const Step steps[] = {{60, true, {}},
                        {-120, false, {}},
                        {60, true, {}},
                        {60, true, {kEventWheelUp}},
                        {60, true, {}}};
  for (size_t i = 0; i < std::size(steps); ++i) {
    const FilterVerdict verdict = core_.Filter(Wheel(steps[i].delta), upOnly);
    EXPECT_EQ(verdict.swallow, steps[i].swallowed) << "input " << i;
    EXPECT_EQ(verdict.queued, steps[i].queued.size()) << "input " << i;
    EXPECT_EQ(Drain(), steps[i].queued) << "input " << i;
  }
}

TEST_F(FilterCoreTest, TiltGivesOneEventPerMessage) {
  EXPECT_THAT(Run({Tilt(120), Tilt(-30), Tilt(0)}, kAllSlots), ElementsAre(true, true, false));
  EXPECT_THAT(Run({Tilt(120), Tilt(-120)}, SlotFilterBit(SlotTiltLeft)), ElementsAre(false, true));
  EXPECT_THAT(Drain(), ElementsAre(kEventTiltRight, kEventTiltLeft, kEventTiltLeft));
}

TEST_F(FilterCoreTest, FullQueueDropsTheNewestAndCountsIt) {
  for (uint32_t i = 0; i < EventQueue::kCapacity; ++i) {
    ASSERT_EQ(core_.Filter(Tilt(1), kAllSlots).queued, 1u);
  }
  FilterVerdict verdict = core_.Filter(Tilt(-1), kAllSlots);
  EXPECT_TRUE(verdict.swallow);
  EXPECT_EQ(verdict.queued, 0u);
  EXPECT_EQ(queue_.Dropped(), 1u);
  EXPECT_EQ(queue_.Size(), EventQueue::kCapacity);
  std::vector<DeviceEvent> events = Drain();
  EXPECT_EQ(events.size(), EventQueue::kCapacity);
  EXPECT_EQ(events.back(), kEventTiltRight);
}

TEST(EventQueueTest, KeepsOrderAcrossThreadsAndWrapAround) {
  EventQueue queue;
  constexpr uint32_t kEvents = 5 * EventQueue::kCapacity + 17;
  std::thread producer([&] {
    for (uint32_t i = 0; i < kEvents;) {
      if (queue.Push(i)) ++i;
    }
  });
  uint32_t expected = 0;
  DeviceEvent event;
  while (expected < kEvents) {
    if (queue.Pop(event)) {
      ASSERT_EQ(event, expected);
      ++expected;
    }
  }
  producer.join();
  EXPECT_EQ(queue.Size(), 0u);
}

}  // namespace
}  // namespace norvi
