#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/AppSwitch.h"

namespace norvi {
namespace {

// One step of a sequence: a foreground change (program set) or a device event, and the key
// that must be applied right after it (nothing: no apply).
struct Step {
  std::optional<std::u16string> front;
  DeviceEvent event = kEventButtonsReleased;
  std::optional<std::u16string> applies;
};

Step Front(std::u16string key, std::optional<std::u16string> applies) {
  return {std::move(key), 0, std::move(applies)};
}
Step Event(DeviceEvent e, std::optional<std::u16string> applies = std::nullopt) {
  return {std::nullopt, e, std::move(applies)};
}

constexpr DeviceEvent kForwardDown = 1u << kButtonBitForward;
constexpr DeviceEvent kBackDown = 1u << kButtonBitBack;
constexpr DeviceEvent kRightDown = 1u << kButtonBitRight;

TEST(AppSwitch, NeverSplitsAHeldClick) {
  struct Case {
    const char* what;
    std::vector<Step> steps;
  } const cases[] = {
      {"switch at once when nothing is held",
       {Front(u"probe-a.exe", u"probe-a.exe"), Front(u"", u"")}},
      {"same assignments, nothing to apply",
       {Front(u"", std::nullopt), Front(u"probe-a.exe", u"probe-a.exe"),
        Front(u"PROBE-A.EXE", std::nullopt)}},
      {"held forward: the switch waits for its release",
       {Front(u"probe-a.exe", u"probe-a.exe"), Event(kForwardDown), Front(u"", std::nullopt),
        Event(kEventButtonsReleased, u"")}},
      // The built-in filter reports each press's bit alone and 0 for each release; it keeps
      // swallowing the other button to its release, which performs nothing, whatever the
      // assignments by then.
      {"built-in filter, two held: the first release lets it through",
       {Event(kForwardDown), Event(kBackDown), Front(u"b.exe", std::nullopt),
        Event(kEventButtonsReleased, u"b.exe"), Event(kEventButtonsReleased)}},
      // The vendor's driver reports the button state: a release that leaves right held is
      // 0x02, not another press.
      {"driver's state: right, forward, forward up, right up",
       {Event(kRightDown), Front(u"a.exe", std::nullopt), Event(kRightDown | kForwardDown),
        Event(kRightDown), Front(u"b.exe", std::nullopt), Event(kEventButtonsReleased, u"b.exe"),
        Front(u"c.exe", u"c.exe"), Front(u"", u"")}},
      {"driver's state: two released in one report",
       {Event(kRightDown | kBackDown), Front(u"a.exe", std::nullopt),
        Event(kEventButtonsReleased, u"a.exe")}},
      {"the latest program in front wins",
       {Event(kForwardDown), Front(u"a.exe", std::nullopt), Front(u"b.exe", std::nullopt),
        Event(kEventButtonsReleased, u"b.exe")}},
      {"back in front before the release: no switch at all",
       {Event(kForwardDown), Front(u"a.exe", std::nullopt), Front(u"", std::nullopt),
        Event(kEventButtonsReleased)}},
      {"wheel steps and tilts hold nothing",
       {Event(kEventWheelUp), Event(kEventTiltLeft), Front(u"a.exe", u"a.exe")}},
      {"a stray release does not count below zero",
       {Event(kEventButtonsReleased), Event(kEventButtonsReleased), Event(kForwardDown),
        Front(u"a.exe", std::nullopt), Event(kEventButtonsReleased, u"a.exe")}},
      {"releases after the switch apply nothing more",
       {Event(kForwardDown), Front(u"a.exe", std::nullopt), Event(kEventButtonsReleased, u"a.exe"),
        Event(kForwardDown), Event(kEventButtonsReleased)}},
  };
  for (const Case& c : cases) {
    AppSwitch gate;
    int i = 0;
    for (const Step& s : c.steps) {
      const std::optional<std::u16string> got =
          s.front ? gate.Foreground(*s.front) : gate.DeviceEventSeen(s.event);
      EXPECT_EQ(got, s.applies) << c.what << ", step " << i;
      ++i;
    }
  }
}

TEST(AppSwitch, ADeviceGoneLetsAWaitingSwitchThrough) {
  AppSwitch gate;
  gate.DeviceEventSeen(kForwardDown);
  EXPECT_EQ(gate.Foreground(u"a.exe"), std::nullopt);
  EXPECT_TRUE(gate.Waiting());
  EXPECT_EQ(gate.ReleaseAll(), u"a.exe");
  EXPECT_EQ(gate.InForce(), u"a.exe");
  EXPECT_FALSE(gate.Waiting());
  EXPECT_EQ(gate.ReleaseAll(), std::nullopt);
  EXPECT_EQ(gate.Foreground(u"b.exe"), u"b.exe");  // nothing left held
}

}  // namespace
}  // namespace norvi
