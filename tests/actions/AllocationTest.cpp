// Performing any function allocates nothing: global operator new is counted around each call.
#include <gtest/gtest.h>

#include "actions/Function.h"
#include "tests/actions/fakes/ActionFakes.h"
#include "model/FunctionCodes.h"
#include "tests/support/CountingNew.h"
#include "tests/support/LineRecorder.h"

namespace norvi::testkit {
namespace {

class NullInput : public IInputInjector {
 public:
  void Inject(std::span<const InputEvent> batch) override { events += batch.size(); }
  void Pause(uint32_t) override {}
  size_t events = 0;
};

class NullSystem : public ISystemCalls {
 public:
  OsVersionInfo Version() override { return {2, 6, 2}; }
  bool EnterApartment() override { return true; }
  void Execute(WindowHandle, const char16_t*, const char16_t*, const char16_t*, const char16_t*,
               int32_t) override {}
  void Sound(const char16_t*, uintptr_t, uint32_t) override {}
  bool IsWow64() override { return true; }
  bool DisableFsRedirection(RedirectionState&) override { return true; }
  void RevertFsRedirection(RedirectionState) override {}
  void LockStation() override {}
  int32_t ParametersInfo(uint32_t, uint32_t, void*, uint32_t) override { return 1; }
  intptr_t SendSettingChange(WindowHandle, uintptr_t, intptr_t) override { return 0; }
};

class NullTimer : public ITimer {
 public:
  void Start(uint32_t, uint32_t) override {}
  void Kill(uint32_t) override {}
};

TEST(Executor, PerformsEveryFunctionWithoutAllocating) {
  fakes::FakeClock clock;
  fakes::FakeWindowTree windows(clock);
  const WindowHandle frame = windows.Add(u"OpusApp", {0, 0, 800, 600}, 0x00030000);
  windows.pointed = windows.Add(u"_WwG", {0, 0, 800, 580}, 0, frame);
  windows.Add(u"ScrollBar", {0, 580, 800, 597}, 0, frame);
  windows.foreground = frame;
  windows.cursor = {100, 100};
  windows.messages.reserve(1000);
  NullInput input;
  NullSystem system;
  NullTimer timer;
  DiscardedLines debug;
  SlotTable slots = FactorySlots();
  SetPath(slots[0], u"C:\\My Files\\a.txt");
  CFunction actions(slots, {input, windows, system, timer, debug});

  for (int32_t code = -1; code <= 100; ++code) {
    slots[0].FunID = code;
    const long before = testkit::Allocations();
    actions.PerformSlot(0);
    EXPECT_EQ(testkit::Allocations() - before, 0) << "code " << code;
  }
  actions.Shutdown();
  EXPECT_GT(input.events, 90u);            // the functions really ran
  EXPECT_EQ(windows.messages.size(), 6u);  // two scroll messages per tilt, two system commands
}

}  // namespace
}  // namespace norvi::testkit
