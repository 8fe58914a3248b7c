// Remapped input while the program's main thread is busy: copy, paste, a click and a held key
// combination reach the program in front at once, while the main thread is held by the test
// and while a message box of the program is open, not when the main thread is free again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/MainThreadHold_win32.h"
#include "model/FunctionCodes.h"
#include "tests/e2e/E2eSupport_win32.h"

namespace norvi {
namespace {

using namespace e2e;
using Entries = std::vector<std::string>;

// Forward copies, back pastes, middle right-clicks, right holds Ctrl+Shift+T.
const std::wstring kPresses = L"click 9 sleep 0.2 click 8 sleep 0.2 click 2 sleep 0.2 click 3";
const Entries kPerformed{"kd 11", "kd 43", "ku 43", "ku 11",  // copy
                         "kd 11", "kd 56", "ku 56", "ku 11",  // paste
                         "rd",    "ru",                       // the click
                         "kd 11", "kd 10", "kd 54", "ku 54", "ku 10", "ku 11"};
// Longer than any case needs: the test ends the hold itself.
constexpr WPARAM kHoldCapMs = 20000;

bool Signaled(HANDLE event) {
  return ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

class BusyMainThreadTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ProfileImage profile = DefaultProfile();
    profile.Slots[SlotForward].TempID = fn::Copy;
    profile.Slots[SlotBack].TempID = fn::Paste;
    profile.Slots[SlotMiddle].TempID = fn::MouseRight;
    profile.Slots[SlotRight].TempID = fn::Keys;
    SetPath(profile.Slots[SlotRight], u"keys:1:ctrl+shift+T");
    WriteProfile(profile);
  }

  // The presses over the probe in front: what it logged before `busy` said the main thread
  // was free again (read before asking), and whether it logged everything by then.
  struct Outcome {
    Entries seen;
    bool whileBusy = false;
  };
  template <class StillBusy>
  Outcome PressWhileBusy(const InputProbe& probe, StillBusy stillBusy) {
    Outcome outcome;
    const size_t mark = probe.Log().size();
    if (!BringToFront(probe.hwnd())) return {{"(the probe is not in front)"}};
    if (!StartXdotool(L"mousemove 1100 850 " + kPresses)) return {{"(no xdotool)"}};
    testkit::PumpUntil(
        [&] {
          const Entries log = probe.Log();
          outcome.seen.assign(log.begin() + static_cast<std::ptrdiff_t>(mark), log.end());
          // The log first, then the state: what was logged came before this look.
          outcome.whileBusy = stillBusy();
          return outcome.seen.size() >= kPerformed.size() || !outcome.whileBusy;
        },
        15000);
    outcome.whileBusy = outcome.whileBusy && outcome.seen.size() >= kPerformed.size();
    return outcome;
  }

  // Once the main thread is free: nothing more comes (the main thread performs none of it
  // again) before the marker's left click.
  static void NothingMoreAfter(const InputProbe& probe, size_t entries) {
    EXPECT_EQ(ProbeSees(probe, L"", 0), WithMarker({})) << "after " << entries << " entries";
  }
};

// The main thread held by the test's seam: every press is performed while it is held.
TEST_F(BusyMainThreadTest, RemappedPressesArriveWhileTheMainThreadIsHeld) {
  const std::wstring name = L"norvi-hold-" + std::to_wstring(::GetCurrentProcessId());
  const UniqueHandle held(::CreateEventW(nullptr, TRUE, FALSE, (name + L".held").c_str()));
  const UniqueHandle end(::CreateEventW(nullptr, TRUE, FALSE, (name + L".end").c_str()));
  const UniqueHandle released(::CreateEventW(nullptr, TRUE, FALSE, (name + L".released").c_str()));
  ASSERT_TRUE(held && end && released);
  HWND main = Start({{L"NORVI_TEST_HOLD", name}});
  ASSERT_TRUE(main) << Installed().Messages();
  HWND seam = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, kHoldWindowTitle);
  ASSERT_TRUE(seam);
  InputProbe probe;
  ASSERT_TRUE(::PostMessageW(seam, kHoldMessage, kHoldCapMs, 0));
  ASSERT_EQ(::WaitForSingleObject(held.get(), kPatienceMs), WAIT_OBJECT_0);

  const Outcome outcome = PressWhileBusy(probe, [&] { return !Signaled(released.get()); });
  ::SetEvent(end.get());
  ASSERT_EQ(::WaitForSingleObject(released.get(), kPatienceMs), WAIT_OBJECT_0);
  EXPECT_TRUE(outcome.whileBusy) << "logged before the hold ended: "
                                 << testing::PrintToString(outcome.seen);
  EXPECT_EQ(outcome.seen, kPerformed);
  Settle(main);
  NothingMoreAfter(probe, outcome.seen.size());
  EXPECT_TRUE(probe.InjectedKeysHeld().empty());
  EXPECT_EQ(program_->Close(main), 0u);
}

// The restore-defaults question open (its own message loop on the main thread): every press
// is performed while it is up, and the cancelled question changes nothing.
TEST_F(BusyMainThreadTest, RemappedPressesArriveWhileAMessageBoxIsOpen) {
  HWND main = Start();
  ASSERT_TRUE(main) << Installed().Messages();
  InputProbe probe;
  PostClick(MainControlWindow(main, MainControl::Defaults));
  HWND box = program_->WaitForWindow(kInfoTitle);
  ASSERT_TRUE(box);

  const Outcome outcome =
      PressWhileBusy(probe, [&] { return ::IsWindow(box) && ::IsWindowVisible(box); });
  EXPECT_TRUE(outcome.whileBusy) << "logged before the box closed: "
                                 << testing::PrintToString(outcome.seen);
  EXPECT_EQ(outcome.seen, kPerformed);
  ::PostMessageW(box, WM_CLOSE, 0, 0);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !::IsWindow(box); }, kPatienceMs));
  Settle(main);
  NothingMoreAfter(probe, outcome.seen.size());
  // Cancelled: the assignments are still in force.
  EXPECT_EQ(ProbeSees(probe, L"click 9", kCopyKeys.size()), WithMarker(kCopyKeys));
  EXPECT_EQ(program_->Close(main), 0u);
}

}  // namespace
}  // namespace norvi
