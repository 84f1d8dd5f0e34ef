#include "platform/host/HostDriver.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace zelto::host {
namespace {

// A provider whose completions can be made to misbehave.
class CountingProvider final : public TimelineProvider<int> {
 public:
  int snapshotCalls = 1;
  int timelineCalls = 1;
  mutable int timelinesBuilt = 0;

  int placeholder(const TimelineProviderContext&) const override { return 7; }
  void getSnapshot(const TimelineProviderContext&, const std::function<void(int)>& completion) const override {
    for (int i = 0; i < snapshotCalls; ++i) completion(i + 1);
  }
  void getTimeline(const TimelineProviderContext& context,
                   const std::function<void(Timeline<int>)>& completion) const override {
    ++timelinesBuilt;
    for (int i = 0; i < timelineCalls; ++i) {
      completion(Timeline<int>{{42}, TimelineReloadPolicy::after(context.environment.now + 900)});
    }
  }
};

class ReloadingIntent final : public AppIntent {
 public:
  explicit ReloadingIntent(std::vector<std::string> kinds) : kinds_(std::move(kinds)) {}
  std::string identifier() const override { return "ReloadingIntent"; }
  std::string title() const override { return "Reload"; }
  bool openAppWhenRun() const override { return false; }
  IntentResult perform(const IntentContext& context) const override {
    for (const auto& kind : kinds_) context.widgetCenter.reloadTimelines(kind);
    return IntentResult::done();
  }

 private:
  std::vector<std::string> kinds_;
};

TimelineProviderContext someContext() {
  return {WidgetFamily::systemMedium, false,
          RequestEnvironment{1000, *locale::Calendar::make("UTC", 1), locale::Locale::make("en_US")}};
}

TEST(HostDriver, PassesEntriesThroughAndHoldsProvidersToOneCompletion) {
  CountingProvider provider;
  WidgetCenter center;
  HostDriver<int> driver(provider, center, "Kind");
  EXPECT_EQ(driver.requestPlaceholder(someContext()), 7);
  EXPECT_EQ(driver.requestSnapshot(someContext()), 1);
  const auto timeline = driver.requestTimeline(someContext());
  EXPECT_EQ(timeline.entries, std::vector<int>{42});
  EXPECT_EQ(timeline.policy, TimelineReloadPolicy::after(1900));
  for (int calls : {0, 2}) {
    provider.snapshotCalls = provider.timelineCalls = calls;
    EXPECT_THROW(driver.requestSnapshot(someContext()), HostContractViolation) << calls;
    EXPECT_THROW(driver.requestTimeline(someContext()), HostContractViolation) << calls;
  }
}

TEST(HostDriver, IntentReloadOfOwnKindRequestsOneNewTimeline) {
  CountingProvider provider;
  WidgetCenter center;
  HostDriver<int> driver(provider, center, "Kind");
  const auto run = driver.runIntent(ReloadingIntent({"Other", "Kind", "Kind"}), someContext());
  EXPECT_EQ(run.reloadedKinds, (std::vector<std::string>{"Other", "Kind", "Kind"}));
  ASSERT_TRUE(run.timeline);
  EXPECT_EQ(provider.timelinesBuilt, 1);

  const auto unrelated = driver.runIntent(ReloadingIntent({"Other"}), someContext());
  EXPECT_FALSE(unrelated.timeline);
  EXPECT_EQ(provider.timelinesBuilt, 1);
}

TEST(WidgetCenter, ObserversSeeEveryReloadFromAnyThread) {
  WidgetCenter center;
  std::atomic<int> seen = 0;
  center.observe([&](const std::string& kind) {
    if (kind == "Kind") ++seen;
  });
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&] {
      for (int j = 0; j < 100; ++j) center.reloadTimelines("Kind");
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(seen.load(), 400);
  EXPECT_EQ(center.takeRequestedReloads().size(), 400u);
  EXPECT_TRUE(center.takeRequestedReloads().empty());
}

}  // namespace
}  // namespace zelto::host
