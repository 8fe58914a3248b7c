#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "ActionsTestSupport.h"

namespace norvi::testkit {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

void ExpectNothingDone(const ActionRig& rig, int32_t code) {
  EXPECT_THAT(rig.input.events, IsEmpty()) << code;
  EXPECT_THAT(rig.windows.messages, IsEmpty()) << code;
  EXPECT_THAT(rig.windows.cursorMoves, IsEmpty()) << code;
  EXPECT_THAT(rig.system.calls, IsEmpty()) << code;
  EXPECT_THAT(rig.debug.Joined(), IsEmpty()) << code;
  EXPECT_THAT(rig.timer.calls, IsEmpty()) << code;
}

TEST(Executor, ValuesOutsideTheCatalogueDoNothing) {
  for (int32_t code :
       {INT32_MIN, -1, 0, 9, 32, 46, 48, 57, 64, 74, 80, 86, 95, 96, 97, INT32_MAX}) {
    ActionRig rig;
    rig.windows.pointed = rig.windows.Add(u"Notepad", {0, 0, 10, 10}, 0x00100000 | 0x00030000);
    rig.windows.foreground = rig.windows.pointed;
    rig.Perform(code, u"C:\\x y\\a.wav");
    ExpectNothingDone(rig, code);
  }
}

TEST(Executor, SlotIndexOutsideTheTableDoesNothing) {
  ActionRig rig;
  rig.slots[0].FunID = 2;
  for (int slot : {-1, 8, INT_MAX, INT_MIN}) rig.actions.PerformSlot(slot);
  ExpectNothingDone(rig, 2);
  rig.actions.PerformSlot(7);  // factory tilt right: reaches the scroll code
  EXPECT_EQ(rig.debug.Joined(), u"ClassName:No scroll bar found\n");
}

TEST(Executor, PathFunctionsWithAnEmptyPathDoNothing) {
  for (int32_t code : {81, 82, 83, 84}) {
    ActionRig rig;
    rig.Perform(code, u"");
    ExpectNothingDone(rig, code);
  }
}

TEST(Executor, SoundPlaysAsynchronouslyFromTheFile) {
  ActionRig rig;
  rig.Perform(81, u"C:\\Media\\ding ding.wav");
  EXPECT_THAT(rig.system.calls, ElementsAre("Sound [C:\\Media\\ding ding.wav] 0 131073"));
}

TEST(Executor, OpenQuotesFilesAndFoldersWithSpacesButNeverPrograms) {
  const struct {
    int32_t code;
    std::u16string_view path;
    std::string call;
  } cases[] = {
      {82, u"C:\\Program Files\\x.exe", "Execute 0 open [C:\\Program Files\\x.exe] null null 1"},
      {83, u"C:\\My Files\\a.txt", "Execute 0 open [\"C:\\My Files\\a.txt\"] null null 1"},
      {83, u"C:\\Files\\a.txt", "Execute 0 open [C:\\Files\\a.txt] null null 1"},
      {84, u"D:\\Some Folder", "Execute 0 open [\"D:\\Some Folder\"] null null 1"},
      {84, u"D:\\Folder", "Execute 0 open [D:\\Folder] null null 1"},
  };
  for (const auto& c : cases) {
    ActionRig rig;
    rig.Perform(c.code, c.path);
    // The shell is called from inside the thread's apartment.
    EXPECT_THAT(rig.system.calls, ElementsAre("EnterApartment", c.call));
  }
}

TEST(Executor, LongestPathIsQuotedWhole) {
  ActionRig rig;
  const std::u16string path = u"C:\\a b" + std::u16string(253, u'x');  // 259 units
  rig.Perform(83, path);
  ASSERT_EQ(rig.system.calls.size(), 2u);
  EXPECT_EQ(rig.system.calls[1], "Execute 0 open [\"" + std::string("C:\\a b") +
                                     std::string(253, 'x') + "\"] null null 1");
}

TEST(Executor, UnterminatedPathFieldIsCutInsideIt) {
  ActionRig rig;
  rig.slots[3].FunID = 82;
  std::fill(std::begin(rig.slots[3].Path), std::end(rig.slots[3].Path), u'p');
  rig.actions.PerformSlot(3);
  EXPECT_THAT(
      rig.system.calls,
      ElementsAre("EnterApartment", "Execute 0 open [" + std::string(259, 'p') + "] null null 1"));
}

TEST(Executor, LockUnderWow64TurnsRedirectionOffAroundTheLock) {
  ActionRig native;
  native.Perform(35);
  EXPECT_THAT(native.system.calls, ElementsAre("IsWow64", "LockStation"));

  ActionRig wow;
  wow.system.wow64 = true;
  wow.Perform(35);
  EXPECT_THAT(wow.system.calls, ElementsAre("IsWow64", "DisableFsRedirection", "LockStation",
                                            "RevertFsRedirection 23130"));

  ActionRig old;
  old.system.wow64 = true;
  old.system.hasRedirection = false;
  old.Perform(35);
  EXPECT_THAT(old.system.calls, ElementsAre("IsWow64", "DisableFsRedirection"));
}

TEST(Executor, MaximiseAndMinimiseNeedTheirBoxAndNeverTheDesktop) {
  constexpr uint32_t kMaxBox = 0x00010000, kMinBox = 0x00020000;
  ActionRig rig;
  const WindowHandle both = rig.windows.Add(u"Frame", {}, kMaxBox | kMinBox);
  const WindowHandle dialog = rig.windows.Add(u"#32770", {}, kMinBox);
  rig.windows.foreground = both;
  rig.Perform(44);
  rig.Perform(45);
  rig.windows.foreground = dialog;
  rig.Perform(44);  // no maximise box
  rig.Perform(45);
  using Msg = fakes::PostedMessage;
  EXPECT_THAT(rig.windows.messages, ElementsAre(Msg{true, both, 0x0112, 0xF030, 0, 0},
                                                Msg{true, both, 0x0112, 0xF020, 0, 0},
                                                Msg{true, dialog, 0x0112, 0xF020, 0, 0}));

  ActionRig desktop;
  desktop.windows.foreground = desktop.windows.desktop;
  desktop.Perform(44);
  desktop.Perform(45);
  desktop.windows.foreground = kNoWindow;
  desktop.Perform(44);
  EXPECT_THAT(desktop.windows.messages, IsEmpty());
}

class SwitchWindow : public ::testing::Test {
 protected:
  void PressAt(uint64_t ms) {
    Advance(ms);
    rig.Perform(33);
  }
  void Advance(uint64_t ms) {
    rig.timer.AdvanceTo(ms, [this](uint32_t id) {
      if (id == kAltReleaseTimerId) rig.actions.OnAltReleaseTimer();
    });
  }
  ActionRig rig;
};

TEST_F(SwitchWindow, ThreePressesHoldAltUntilOneAndAHalfSecondsAfterTheLast) {
  PressAt(0);
  PressAt(500);
  PressAt(1000);
  Advance(2499);
  EXPECT_TRUE(rig.actions.AltHeld());
  Advance(5000);
  EXPECT_FALSE(rig.actions.AltHeld());
  EXPECT_EQ(rig.input.events, (std::vector{Down(0xA4), Down(0x09), Up(0x09), Down(0x09), Up(0x09),
                                           Down(0x09), Up(0x09), Up(0xA4)}));
  EXPECT_THAT(rig.input.times, ElementsAre(0u, 0u, 0u, 500u, 500u, 1000u, 1000u, 2500u));
  EXPECT_THAT(rig.timer.calls, ElementsAre("start 5 1500 @0", "start 5 1500 @500",
                                           "start 5 1500 @1000", "kill 5 @2500"));
  EXPECT_FALSE(rig.timer.Running(5));
}

TEST_F(SwitchWindow, APressAfterTheReleaseHoldsAltAgain) {
  PressAt(0);
  PressAt(2000);
  Advance(4000);
  EXPECT_EQ(rig.input.events, (std::vector{Down(0xA4), Down(0x09), Up(0x09), Up(0xA4), Down(0xA4),
                                           Down(0x09), Up(0x09), Up(0xA4)}));
}

TEST_F(SwitchWindow, ShutdownReleasesAHeldAltAndKillsTheTimer) {
  PressAt(0);
  rig.actions.Shutdown();
  EXPECT_FALSE(rig.actions.AltHeld());
  EXPECT_FALSE(rig.timer.Running(5));
  EXPECT_EQ(rig.input.events.back(), Up(0xA4));
  const size_t count = rig.input.events.size();
  rig.actions.Shutdown();  // nothing held: nothing injected
  Advance(10000);
  EXPECT_EQ(rig.input.events.size(), count);
}

}  // namespace
}  // namespace norvi::testkit
