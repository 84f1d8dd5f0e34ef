#include <gtest/gtest.h>

#include "apps/zelto-limits-defaults/DemoCompanion.hpp"
#include "apps/zelto-limits-defaults/DemoDashboard.hpp"
#include "platform/defaults/Suite.hpp"
#include "tests/apps/ProgramRunner.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/SnapshotJson.hpp"
#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto::defaults {
namespace {

constexpr Date march10 = 763291800;  // 2025-03-10T09:30:00Z, a Monday

struct DemoRun {
  int status;
  std::string output;
  std::string error;
};

class DemoCompanionTest : public ::testing::Test {
 protected:
  DemoRun demo(std::vector<std::string> arguments, Date now = march10) const {
    arguments.insert(arguments.begin(), "demo");
    std::istringstream in;
    std::ostringstream out, err;
    const DemoWorld world{[now] { return now; }, [](double) { return true; }};
    const int status = runDemoCommand(arguments, environment(), {in, out, err}, world);
    return {status, out.str(), err.str()};
  }
  locale::EnvironmentLookup environment() const {
    return [folder = folder_.path().string()](const std::string& name) -> std::optional<std::string> {
      if (name == "ZELTO_LIMITS_DEFAULTS_DIR") return folder;
      if (name == "TZ") return "Europe/Berlin";
      return std::nullopt;
    };
  }
  Suite suite() const { return Suite::open("group.zelto.limits", {folder_.path(), "zelto-limits-defaults"}); }
  std::optional<std::string> stored() const { return suite().data(SharedSnapshotStore::dashboardKey); }
  ZeltoDashboardSnapshot storedDashboard() const {
    auto decoded = decodeDashboardSnapshot(stored().value_or(""));
    EXPECT_TRUE(decoded.ok()) << decoded.error().describe();
    return decoded ? decoded.value() : ZeltoDashboardSnapshot{};
  }

  testing::TemporaryDirectory folder_;
};

TEST_F(DemoCompanionTest, SameSeedAndClockWriteTheSameSnapshot) {
  ASSERT_EQ(demo({"--once", "--seed", "7", "--accounts", "4"}).status, 0);
  const std::optional<std::string> first = stored();
  ASSERT_EQ(demo({"--once", "--seed", "7", "--accounts", "4"}).status, 0);  // replaces its own snapshot
  EXPECT_EQ(stored(), first);
  ASSERT_EQ(demo({"--once", "--seed", "8", "--accounts", "4"}).status, 0);
  EXPECT_NE(stored(), first);
}

// Every snapshot decodes and is one the widget can show in full: windows
// that reset within their length, five weeks of daily usage ending today,
// and from three accounts on one failed fetch. Clocks include the night of
// a daylight-saving change and a week boundary.
TEST_F(DemoCompanionTest, EverySnapshotIsCompleteForEveryAccountCount) {
  const auto calendar = *locale::Calendar::make("Europe/Berlin", 2);
  for (const Date now : {march10, march10 + 13 * 86400 + 80000, march10 + 6 * 86400 + 52000}) {
    for (int accounts = 1; accounts <= maximumDemoAccounts; ++accounts) {
      SCOPED_TRACE(::testing::Message() << "now " << now << ", " << accounts << " accounts");
      ASSERT_EQ(demo({"--once", "--seed", "11", "--accounts", std::to_string(accounts)}, now).status, 0);
      const ZeltoDashboardSnapshot dashboard = storedDashboard();
      ASSERT_EQ(dashboard.accounts.size(), static_cast<std::size_t>(accounts));
      EXPECT_TRUE(isDemoDashboard(dashboard));
      for (std::size_t index = 0; index < dashboard.accounts.size(); ++index) {
        const ZeltoAccountSnapshot& account = dashboard.accounts[index];
        if (index == 2) {
          EXPECT_TRUE(account.errorMessage && !account.limits && !account.usage);
          continue;
        }
        ASSERT_TRUE(account.limits && account.usage && !account.errorMessage);
        ASSERT_EQ(account.limits->windows.size(), 2u);
        for (const ZeltoLimitWindow& window : account.limits->windows) {
          EXPECT_GE(window.usedPercent, 0);
          EXPECT_LE(window.usedPercent, 100);
          EXPECT_GT(*window.resetsAt, now);
          EXPECT_LE(*window.resetsAt, now + static_cast<double>(*window.durationMinutes) * 60);
        }
        const auto& days = account.usage->dailyUsageBuckets;
        ASSERT_EQ(days.size(), 35u);
        EXPECT_EQ(days.back().startDate, dayKey(now, calendar));
        EXPECT_EQ(days.front().startDate, dayKey(*calendar.addingDays(now, -34), calendar));
        EXPECT_EQ(earliestWeekOffset(*account.usage, calendar, now) <= -4, true);
      }
    }
  }
}

// Use grows through a window and drops when it resets; a credit runs to
// its expiry and past it; a past day keeps its tokens from one write to
// the next.
TEST_F(DemoCompanionTest, DataFollowsTheClock) {
  const auto calendar = *locale::Calendar::make("UTC", 2);
  const DemoSettings settings{4, 5};
  const ZeltoDashboardSnapshot start = makeDemoDashboard(settings, march10, calendar);
  for (std::size_t windowIndex = 0; windowIndex < 2; ++windowIndex) {
    const ZeltoLimitWindow& window = start.accounts[0].limits->windows[windowIndex];
    const double length = static_cast<double>(*window.durationMinutes) * 60;
    auto at = [&](Date now) { return makeDemoDashboard(settings, now, calendar).accounts[0].limits->windows[windowIndex]; };
    const ZeltoLimitWindow early = at(*window.resetsAt - length + 60);
    const ZeltoLimitWindow later = at(*window.resetsAt - 1);
    const ZeltoLimitWindow reset = at(*window.resetsAt + 1);
    EXPECT_GT(later.usedPercent, early.usedPercent) << window.title;
    EXPECT_LE(early.usedPercent, window.usedPercent) << window.title;
    EXPECT_GE(later.usedPercent, window.usedPercent) << window.title;
    EXPECT_EQ(later.resetsAt, window.resetsAt) << window.title;
    EXPECT_LT(reset.usedPercent, later.usedPercent) << window.title;
    EXPECT_EQ(*reset.resetsAt, *window.resetsAt + length) << window.title;
  }

  bool sawValid = false, sawExpired = false;
  for (Date now = march10; now < march10 + 5 * 86400; now += 3 * 3600) {
    const Date expiry = *makeDemoDashboard({1, 5}, now, calendar).accounts[0].limits->resetCredits[0].expiresAt;
    (expiry > now ? sawValid : sawExpired) = true;
  }
  EXPECT_TRUE(sawValid && sawExpired);

  auto past = start.accounts[1].usage->dailyUsageBuckets;
  auto laterPast = makeDemoDashboard(settings, march10 + 3 * 3600, calendar).accounts[1].usage->dailyUsageBuckets;
  past.pop_back();
  laterPast.pop_back();
  EXPECT_EQ(past, laterPast);
}

// A dashboard that the demo did not write stays exactly as it was, unless
// --force.
TEST_F(DemoCompanionTest, RefusesToReplaceAnotherWritersSnapshot) {
  const ZeltoDashboardSnapshot other = makeDemoDashboard({2, 1}, march10, *locale::Calendar::make("UTC", 2));
  ZeltoDashboardSnapshot mixed = other;
  mixed.accounts[1].id = "work";
  const std::string cases[] = {
      encodeJson(ZeltoDashboardSnapshot{march10, {}}),  // no accounts: not the demo's
      encodeJson(mixed),                                // one account not the demo's
      "{\"updatedAt\": \"yesterday\"}",                 // unreadable
  };
  for (const std::string& foreign : cases) {
    SCOPED_TRACE(foreign.substr(0, 60));
    ASSERT_FALSE(suite().setData(SharedSnapshotStore::dashboardKey, foreign));
    const DemoRun refused = demo({"--once"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.error.find("did not write"), std::string::npos) << refused.error;
    EXPECT_EQ(refused.error.find('\n'), refused.error.size() - 1) << "one line: " << refused.error;
    EXPECT_EQ(stored(), foreign);
    EXPECT_EQ(demo({"--once", "--force", "--seed", "3"}).status, 0);
    EXPECT_TRUE(isDemoDashboard(storedDashboard()));
  }
}

// The real program writes a new snapshot at least every interval, and
// SIGINT (Ctrl-C) or SIGTERM ends it with status 0, the last snapshot kept.
TEST_F(DemoCompanionTest, IntervalWritesUntilInterruptedAndEndsCleanly) {
  constexpr double interval = 0.3;
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    testing::RunningProgram program({ZELTO_DEFAULTS_PROGRAM, "demo", "--interval", std::to_string(interval),
                                     "--seed", "9", "--dir", folder_.path().string()},
                                    {{"TZ", "UTC"}}, folder_.path());
    std::vector<Date> seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (seen.size() < 4 && std::chrono::steady_clock::now() < deadline) {
      if (auto value = stored()) {
        if (auto dashboard = decodeDashboardSnapshot(*value); dashboard && (seen.empty() || dashboard.value().updatedAt != seen.back())) {
          seen.push_back(dashboard.value().updatedAt);
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(seen.size(), 4u) << program.error();
    for (std::size_t index = 1; index < seen.size(); ++index) {
      // The clock inside the snapshots: the interval plus the time a write takes.
      EXPECT_LT(seen[index] - seen[index - 1], interval + 1.0);
    }
    ASSERT_EQ(::kill(program.pid(), signal), 0);
    EXPECT_EQ(program.wait(std::chrono::seconds(5)), 0) << program.error();
    EXPECT_NE(program.output().find("Stopped after"), std::string::npos) << program.output();
    EXPECT_TRUE(isDemoDashboard(storedDashboard()));
  }
}

}  // namespace
}  // namespace zelto::defaults
