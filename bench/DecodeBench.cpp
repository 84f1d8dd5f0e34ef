// Decoding a stored dashboard beside a plain parse of the same bytes with
// the same parser, options and allocator as the decoder (a monotonic arena
// that starts on the stack): the decoder parses once and walks the value,
// and should cost at most one and a half plain parses.

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "widget/model/SampleData.hpp"
#include "widget/model/SnapshotJson.hpp"
#include "widget/model/SnapshotJsonParse.hpp"
#include "widget/model/UsageHistoryBounds.hpp"

namespace {

using namespace zelto;

constexpr Date buildTime = 763291800;  // 2025-03-10T09:30:00Z

const locale::Calendar& benchCalendar() {
  static const locale::Calendar calendar = *locale::Calendar::make("Europe/Berlin", 2);
  return calendar;
}

// The sample dashboard: two accounts, two weeks of usage each.
const std::string& sampleBytes() {
  static const std::string bytes = encodeJson(makeSampleDashboard(buildTime, benchCalendar()));
  return bytes;
}

// Fifty accounts with two years of daily buckets each (about 2 MB).
const std::string& largeBytes() {
  static const std::string bytes = [] {
    const ZeltoDashboardSnapshot sample = makeSampleDashboard(buildTime, benchCalendar());
    ZeltoDashboardSnapshot dashboard;
    dashboard.updatedAt = buildTime;
    for (int index = 0; index < 50; ++index) {
      ZeltoAccountSnapshot account = sample.accounts[static_cast<std::size_t>(index % 2)];
      account.id += "-" + std::to_string(index);
      account.usage->dailyUsageBuckets.clear();
      for (int day = 0; day < 730; ++day) {
        const Date date = *benchCalendar().addingDays(buildTime, day - 729);
        account.usage->dailyUsageBuckets.push_back(
            ZeltoUsageDay{dayKey(date, benchCalendar()), 100000 + (day * 7919 + index * 104729) % 2000000});
      }
      dashboard.accounts.push_back(std::move(account));
    }
    return encodeJson(dashboard);
  }();
  return bytes;
}

void plainParse(benchmark::State& state, const std::string& bytes) {
  for (auto _ : state) {
    const bool parsed = withParsedSnapshotJson(bytes, [](const boost::json::value* value, auto, std::size_t) {
      benchmark::DoNotOptimize(value);
      return value != nullptr;
    });
    if (!parsed) throw std::runtime_error("the benchmark's JSON does not parse");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  state.counters["input_bytes"] = static_cast<double>(bytes.size());
}

void decode(benchmark::State& state, const std::string& bytes) {
  for (auto _ : state) {
    auto result = decodeDashboardSnapshot(bytes);
    if (!result.ok()) throw std::runtime_error(result.error().describe());
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  state.counters["input_bytes"] = static_cast<double>(bytes.size());
}

void BM_SamplePlainParse(benchmark::State& state) { plainParse(state, sampleBytes()); }
void BM_SampleDecode(benchmark::State& state) { decode(state, sampleBytes()); }
void BM_LargePlainParse(benchmark::State& state) { plainParse(state, largeBytes()); }
void BM_LargeDecode(benchmark::State& state) { decode(state, largeBytes()); }

BENCHMARK(BM_SamplePlainParse);
BENCHMARK(BM_SampleDecode);
BENCHMARK(BM_LargePlainParse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargeDecode)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
