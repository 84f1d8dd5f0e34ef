// A whole timeline request as the host makes it, warm (the process has read
// the suite before): open the suite once, read and decode the dashboard, read
// the week offset, bound it and build the entry. Beside it, the parts on
// their own, so a regression shows where it is.

#include <benchmark/benchmark.h>

#include "tests/support/TemporaryDirectory.hpp"

#include "platform/defaults/Suite.hpp"
#include "widget/model/SampleData.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/SnapshotJson.hpp"
#include "widget/runtime/LimitTimelineProvider.hpp"

namespace {

using namespace zelto;

// Wednesday 2025-03-12T10:00:00Z.
constexpr Date now = 763466400;

struct Fixture {
  Fixture() {
    json = encodeJson(makeSampleDashboard(now, environment.calendar));
    const auto suite = defaults::Suite::open(container.suiteName, container.location);
    suite.setData(SharedSnapshotStore::dashboardKey, json);
    suite.setInteger(SharedSnapshotStore::weekOffsetKey, -1);
  }

  testing::TemporaryDirectory directory;
  SharedContainer container{defaults::SuiteLocation{directory.path(), "zelto-bench"}};
  host::RequestEnvironment environment{now, *locale::Calendar::make("Europe/Berlin", 2), locale::Locale::make("en_US")};
  std::string json;
};

Fixture& fixture() {
  static Fixture instance;
  return instance;
}

void BM_TimelineRequest(benchmark::State& state) {
  const LimitTimelineProvider provider(fixture().container);
  const host::TimelineProviderContext context{kit::WidgetFamily::systemLarge, false, fixture().environment};
  for (auto _ : state) {
    provider.getTimeline(context, [](host::Timeline<LimitEntry> timeline) { benchmark::DoNotOptimize(timeline); });
  }
}
BENCHMARK(BM_TimelineRequest)->Unit(benchmark::kMicrosecond);

void BM_SuiteRead(benchmark::State& state) {
  const auto& container = fixture().container;
  for (auto _ : state) {
    const auto suite = defaults::Suite::open(container.suiteName, container.location);
    benchmark::DoNotOptimize(suite.data(SharedSnapshotStore::dashboardKey));
  }
}
BENCHMARK(BM_SuiteRead)->Unit(benchmark::kMicrosecond);

void BM_DecodeSampleDashboard(benchmark::State& state) {
  const std::string& json = fixture().json;
  for (auto _ : state) benchmark::DoNotOptimize(decodeDashboardSnapshot(json));
}
BENCHMARK(BM_DecodeSampleDashboard)->Unit(benchmark::kMicrosecond);

void BM_MakeEntry(benchmark::State& state) {
  const auto& environment = fixture().environment;
  const SharedSnapshotStore store(fixture().container);
  const auto dashboard = makeSampleDashboard(now, environment.calendar);
  for (auto _ : state) {
    benchmark::DoNotOptimize(LimitTimelineProvider::makeEntry(std::optional(dashboard), store, environment));
  }
}
BENCHMARK(BM_MakeEntry)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
