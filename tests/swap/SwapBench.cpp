// Cost of the listing rules per switcher opening (the window system itself is faked).

#include <benchmark/benchmark.h>

#include "FakeWindowSource.h"

namespace norvi::swap {
namespace {

// A desktop of `state.range(0)` windows, a third of them hidden or tool windows.
void BM_ListWindows(benchmark::State& state) {
  FakeWindows fake;
  for (int64_t i = 0; i < state.range(0); ++i)
    fake.Add({u"Document " + std::u16string(1, char16_t(u'A' + i % 26)) + u" - Editor", i % 3 != 1,
              0, i % 3 == 2 ? kExToolWindow : 0u});
  testkit::DiscardedLines sink;
  SwapTrace trace(sink);
  const std::vector<WindowId> zOrder = fake.ZOrder();
  ListingCache cache;
  for (auto _ : state) {
    EntryTable table;
    ListWindows(zOrder, fake, trace, table, cache);
    benchmark::DoNotOptimize(table.count);
  }
}
BENCHMARK(BM_ListWindows)->Arg(10)->Arg(60);

void BM_FormatTraceLine(benchmark::State& state) {
  const std::u16string title(60, u't');
  for (auto _ : state)
    benchmark::DoNotOptimize(
        FormatTrace(u"PID=%x, HWND=%x, Parent=%x, Text= %ws\n", {0x1c, 0x10072, 0, title}));
}
BENCHMARK(BM_FormatTraceLine);

}  // namespace
}  // namespace norvi::swap

BENCHMARK_MAIN();
