#include "widget/browsing/UsageWeekIntents.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "tests/platform/defaults/TemporaryFolder.hpp"
#include "tests/support/Dashboards.hpp"
#include "tests/support/Environments.hpp"
#include "widget/model/WidgetKind.hpp"

namespace zelto {
namespace {

using testing::day;

class UsageWeekIntentsTest : public ::testing::Test {
 protected:
  // Usage whose oldest bucket lies `weeksBack` calendar weeks back.
  void storeUsageReaching(int weeksBack) {
    auto account = testing::plainAccount("a");
    account.usage = testing::usageOn({environment.now - weeksBack * 7 * day}, environment.calendar);
    testing::storeDashboard(container, ZeltoDashboardSnapshot{environment.now, {account}});
  }

  // Stores `from`, runs the intent and gives the stored offset; every run
  // reloads the widget's kind exactly once.
  std::optional<std::int64_t> run(const host::AppIntent& intent, std::int64_t from) {
    testing::storeOffset(container, from);
    EXPECT_EQ(intent.perform(host::IntentContext{environment, center}).outcome(), host::IntentResult::Outcome::done);
    EXPECT_EQ(center.takeRequestedReloads(), std::vector<std::string>{std::string(zeltoLimitsWidgetKind)});
    return testing::storedOffset(container);
  }

  testing::TemporaryDirectory directory;
  SharedContainer container = testing::containerIn(directory.path());
  host::RequestEnvironment environment = testing::environmentAt();
  host::WidgetCenter center;
  PreviousUsageWeekIntent previous{container};
  NextUsageWeekIntent next{container};
};

TEST_F(UsageWeekIntentsTest, StepsWithinTheWeeksThatHaveData) {
  // No dashboard at all: either intent stores 0.
  EXPECT_EQ(run(previous, -2), 0);
  EXPECT_EQ(run(next, -2), 0);
  // A dashboard without usage buckets.
  testing::storeDashboard(container, ZeltoDashboardSnapshot{environment.now, {testing::plainAccount("a")}});
  EXPECT_EQ(run(previous, -2), 0);

  storeUsageReaching(4);
  const std::array<std::int64_t, 3> cases[] = {
      // from, previous stores, next stores
      {0, -1, 0}, {-3, -4, -2}, {-4, -4, -3}, {-10, -4, -4},
  };
  for (const auto& [from, afterPrevious, afterNext] : cases) {
    EXPECT_EQ(run(previous, from), afterPrevious) << from;
    EXPECT_EQ(run(next, from), afterNext) << from;
  }
}

TEST_F(UsageWeekIntentsTest, AnIntentThatCannotReadChangesNothingAndSaysSo) {
  storeUsageReaching(4);
  testing::storeOffset(container, -3);
  {
    // Held a little longer than a request may wait: a write that followed a
    // failed read would land once it lets go.
    const defaults::testing::ExclusiveHolder holder(testing::suiteOf(container).path(), 2500);
    const host::IntentResult result = previous.perform(host::IntentContext{environment, center});
    EXPECT_EQ(result.outcome(), host::IntentResult::Outcome::notRunNow);
    EXPECT_NE(result.reason().find("locked"), std::string::npos) << result.reason();
  }
  ::usleep(600'000);
  EXPECT_TRUE(center.takeRequestedReloads().empty());
  EXPECT_EQ(testing::storedOffset(container), -3);
}

TEST(SteppedWeekOffset, NeverOverflows) {
  const auto calendar = *locale::Calendar::make("UTC", 2);
  const Date now = testing::wednesdayMorning;
  auto account = testing::plainAccount("a");
  account.usage = testing::usageOn({now - 14 * day}, calendar);
  const std::optional<ZeltoDashboardSnapshot> dashboard = ZeltoDashboardSnapshot{now, {account}};
  constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
  constexpr auto highest = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(steppedWeekOffset(dashboard, lowest, -1, calendar, now), -2);
  EXPECT_EQ(steppedWeekOffset(dashboard, highest, 1, calendar, now), 0);
}

}  // namespace
}  // namespace zelto
