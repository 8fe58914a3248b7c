// Cost of the executor's own work per button event, seams excluded (they do nothing here).
#include <benchmark/benchmark.h>

#include "actions/FindScrollBar.h"
#include "actions/Function.h"
#include "tests/actions/fakes/ActionFakes.h"
#include "tests/support/LineRecorder.h"

namespace norvi {
namespace {

class NullInput : public IInputInjector {
 public:
  void Inject(std::span<const InputEvent> batch) override {
    benchmark::DoNotOptimize(batch.data());
  }
  void Pause(uint32_t) override {}
};

void PerformCopy(benchmark::State& state) {
  fakes::FakeClock clock;
  fakes::FakeWindowTree windows(clock);
  fakes::SystemRecorder system;
  fakes::FakeTimer timer(clock);
  NullInput input;
  testkit::DiscardedLines debug;
  SlotTable slots = FactorySlots();
  slots[4].FunID = 2;
  CFunction actions(slots, {input, windows, system, timer, debug});
  for (auto _ : state) actions.PerformSlot(4);
}
BENCHMARK(PerformCopy);

// The finder on a document view whose bar is found by the enumeration, the longest search.
void FindThroughEnumeration(benchmark::State& state) {
  fakes::FakeClock clock;
  fakes::FakeWindowTree windows(clock);
  const WindowHandle parent = windows.Add(u"Frame", {0, 0, 800, 800});
  const WindowHandle pane = windows.Add(u"paneClassDC", {100, 100, 500, 400}, 0, parent);
  for (int i = 0; i < 20; ++i) windows.Add(u"Static", {0, 0, 10, 10}, 0, parent);
  const WindowHandle holder = windows.Add(u"Static", {0, 400, 800, 450}, 0, parent);
  windows.Add(u"ScrollBar", {100, 400, 500, 417}, 0, holder);
  windows.cursor = {300, 200};
  for (auto _ : state) {
    CFindScrollBar finder(windows);
    finder.SetCursorPoint(windows.cursor);
    benchmark::DoNotOptimize(finder.FindScrollTarget(pane));
  }
}
BENCHMARK(FindThroughEnumeration);

}  // namespace
}  // namespace norvi

BENCHMARK_MAIN();
