#include <gtest/gtest.h>

#include "apps/zelto-limits-defaults/DemoCompanion.hpp"
#include "apps/zelto-limits-defaults/DemoDashboard.hpp"
#include "platform/defaults/Suite.hpp"
#include "platform/kit/Inspection.hpp"
#include "tests/apps/ProgramRunner.hpp"
#include "tests/support/SceneFixtures.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/SnapshotJson.hpp"
#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto::defaults {
namespace {

constexpr Date march10 = 763291800;  // 2025-03-10T09:30:00Z, a Monday

class DemoCompanionTest : public ::testing::Test {
 protected:
  // Runs `demo ARGUMENTS` in this process at the clock `now`; the exit
  // status and standard error.
  std::pair<int, std::string> demo(std::vector<std::string> arguments, Date now = march10) const {
    arguments.insert(arguments.begin(), "demo");
    std::istringstream in;
    std::ostringstream out, err;
    auto environment = [folder = folder_.path().string()](const std::string& name) -> std::optional<std::string> {
      if (name == "ZELTO_LIMITS_DEFAULTS_DIR") return folder;
      return name == "TZ" ? std::optional<std::string>("Europe/Berlin") : std::nullopt;
    };
    const int status = runDemoCommand(arguments, environment, {in, out, err}, {[now] { return now; }, [](double) { return true; }});
    return {status, err.str()};
  }
  Suite suite() const { return Suite::open("group.zelto.limits", {folder_.path(), "zelto-limits-defaults"}); }
  std::optional<std::string> stored() const { return suite().data(SharedSnapshotStore::dashboardKey).value(); }
  ZeltoDashboardSnapshot storedDashboard() const {
    auto decoded = decodeDashboardSnapshot(stored().value_or(""));
    EXPECT_TRUE(decoded.ok()) << decoded.error().describe();
    return decoded ? decoded.value() : ZeltoDashboardSnapshot{};
  }

  testing::TemporaryDirectory folder_;
};

TEST_F(DemoCompanionTest, SameSeedAndClockWriteTheSameSnapshot) {
  ASSERT_EQ(demo({"--once", "--seed", "7", "--accounts", "4"}).first, 0);
  const std::optional<std::string> first = stored();
  ASSERT_EQ(demo({"--once", "--seed", "7", "--accounts", "4"}).first, 0);  // replaces its own snapshot
  EXPECT_EQ(stored(), first);
  ASSERT_EQ(demo({"--once", "--seed", "8", "--accounts", "4"}).first, 0);
  EXPECT_NE(stored(), first);
}

// Every snapshot decodes; from three accounts on, the third shows a failed
// fetch; the others have both windows and five weeks of usage up to today
// (also on the night of a daylight-saving change).
TEST_F(DemoCompanionTest, EverySnapshotDecodesWithEveryAccountState) {
  const auto calendar = *locale::Calendar::make("Europe/Berlin", 2);
  for (const Date now : {march10, march10 + 13 * 86400 + 80000}) {
    for (int accounts = 1; accounts <= maximumDemoAccounts; ++accounts) {
      ASSERT_EQ(demo({"--once", "--accounts", std::to_string(accounts)}, now).first, 0);
      const ZeltoDashboardSnapshot dashboard = storedDashboard();
      ASSERT_EQ(dashboard.accounts.size(), static_cast<std::size_t>(accounts));
      for (std::size_t index = 0; index < dashboard.accounts.size(); ++index) {
        const ZeltoAccountSnapshot& account = dashboard.accounts[index];
        EXPECT_EQ(index == 2, account.errorMessage && !account.limits && !account.usage) << index;
        if (index == 2) continue;
        EXPECT_EQ(account.limits->windows.size(), 2u);
        EXPECT_EQ(account.usage->dailyUsageBuckets.size(), 35u);
        EXPECT_EQ(account.usage->dailyUsageBuckets.back().startDate, dayKey(now, calendar));
      }
      // Every family draws it with the layout its accounts call for.
      const LimitEntry entry{now, dashboard, 0, {}};
      const std::pair<kit::WidgetFamily, const char*> layouts[] = {
          {kit::WidgetFamily::systemSmall, "SmallAccountView"},
          {kit::WidgetFamily::systemMedium, accounts == 1 ? "SingleAccountMediumView" : "MultiAccountMediumView"},
          {kit::WidgetFamily::systemLarge, "MultiAccountLargeView"}};
      for (const auto& [family, view] : layouts) {
        EXPECT_EQ(kit::findViews(testing::sceneOf(entry, family), view).size(), 1u) << accounts << " " << view;
      }
    }
  }
}

// Use grows through a window and drops when it resets; a credit runs to its
// expiry and past it; a past day keeps its tokens from one write to the next.
TEST_F(DemoCompanionTest, DataFollowsTheClock) {
  const auto calendar = *locale::Calendar::make("UTC", 2);
  auto windowAt = [&](std::size_t index, Date now) { return makeDemoDashboard({1, 5}, now, calendar).accounts[0].limits->windows[index]; };
  for (std::size_t index = 0; index < 2; ++index) {
    const ZeltoLimitWindow window = windowAt(index, march10);
    const double length = static_cast<double>(*window.durationMinutes) * 60;
    const ZeltoLimitWindow early = windowAt(index, *window.resetsAt - length + 60), late = windowAt(index, *window.resetsAt - 1);
    const ZeltoLimitWindow reset = windowAt(index, *window.resetsAt + 1);
    EXPECT_LT(early.usedPercent, late.usedPercent);
    EXPECT_LE(window.usedPercent, late.usedPercent);
    EXPECT_LT(reset.usedPercent, late.usedPercent);
    EXPECT_EQ(*reset.resetsAt, *window.resetsAt + length);
  }
  bool valid = false, expired = false;
  for (Date now = march10; now < march10 + 5 * 86400; now += 3 * 3600) {
    const Date expiry = *makeDemoDashboard({1, 5}, now, calendar).accounts[0].limits->resetCredits[0].expiresAt;
    (expiry > now ? valid : expired) = true;
  }
  EXPECT_TRUE(valid && expired);
  auto before = makeDemoDashboard({1, 5}, march10, calendar).accounts[0].usage->dailyUsageBuckets;
  auto after = makeDemoDashboard({1, 5}, march10 + 3 * 3600, calendar).accounts[0].usage->dailyUsageBuckets;
  EXPECT_NE(before.back(), after.back());  // today grows
  before.pop_back(), after.pop_back();
  EXPECT_EQ(before, after);
}

// A dashboard that the demo did not write stays exactly as it was, unless
// --force.
TEST_F(DemoCompanionTest, RefusesToReplaceAnotherWritersSnapshot) {
  ZeltoDashboardSnapshot mixed = makeDemoDashboard({2, 1}, march10, *locale::Calendar::make("UTC", 2));
  mixed.accounts[1].id = "work";
  for (const std::string& foreign : {encodeJson(ZeltoDashboardSnapshot{march10, {}}), encodeJson(mixed),
                                     std::string("{\"updatedAt\": \"yesterday\"}")}) {
    ASSERT_FALSE(suite().setData(SharedSnapshotStore::dashboardKey, foreign));
    const auto [status, error] = demo({"--once"});
    EXPECT_EQ(status, 1);
    EXPECT_NE(error.find("did not write"), std::string::npos) << error;
    EXPECT_EQ(stored(), foreign);
    EXPECT_EQ(demo({"--once", "--force"}).first, 0);
    EXPECT_TRUE(isDemoDashboard(storedDashboard()));
  }
}

// The real program writes a new snapshot at least every interval, and
// SIGINT (Ctrl-C) or SIGTERM ends it with status 0, the last snapshot kept.
TEST_F(DemoCompanionTest, IntervalWritesUntilInterruptedAndEndsCleanly) {
  for (const int signal : {SIGINT, SIGTERM}) {
    testing::RunningProgram program(
        {ZELTO_DEFAULTS_PROGRAM, "demo", "--interval", "0.3", "--dir", folder_.path().string()}, {}, folder_.path());
    std::vector<Date> written;  // the clock inside each snapshot seen
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
         written.size() < 4 && std::chrono::steady_clock::now() < deadline;) {
      const auto dashboard = decodeDashboardSnapshot(stored().value_or(""));
      if (dashboard && (written.empty() || dashboard.value().updatedAt != written.back())) written.push_back(dashboard.value().updatedAt);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(written.size(), 4u) << program.error();
    for (std::size_t index = 1; index < written.size(); ++index) EXPECT_LT(written[index] - written[index - 1], 1.3);
    ASSERT_EQ(::kill(program.pid(), signal), 0);
    EXPECT_EQ(program.wait(std::chrono::seconds(5)), 0) << program.error();
    EXPECT_TRUE(isDemoDashboard(storedDashboard()));
  }
}

}  // namespace
}  // namespace zelto::defaults
