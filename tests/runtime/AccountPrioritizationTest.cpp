#include "widget/runtime/AccountPrioritization.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "tests/support/Dashboards.hpp"

namespace zelto {
namespace {

using testing::idsOf;
using testing::limitedAccount;
using testing::plainAccount;
using Ids = std::vector<std::string>;

TEST(PrioritizedAccounts, RanksByTightestWindowThenSumThenStoredOrder) {
  constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
  // 130 % used counts as 0 remaining, -20 % used as 100 remaining.
  ZeltoDashboardSnapshot clamped{0, {limitedAccount("over", {0}), limitedAccount("under", {0}), limitedAccount("half", {50})}};
  clamped.accounts[0].limits->windows[0].usedPercent = 130;
  clamped.accounts[1].limits->windows[0].usedPercent = -20;
  ZeltoDashboardSnapshot extreme = clamped;
  extreme.accounts[0].limits->windows[0].usedPercent = lowest;  // must not overflow
  const ZeltoDashboardSnapshot plain{0, {plainAccount("a"), plainAccount("b"), limitedAccount("c", {10})}};
  const ZeltoDashboardSnapshot ordered{0, {limitedAccount("tight", {5}), limitedAccount("roomy", {95})}};
  struct Case {
    const char* what;
    ZeltoDashboardSnapshot dashboard;
    std::int64_t limit;
    Ids shown;
  };
  const Case cases[] = {
      {"headroom in the tightest window wins",
       {0, {limitedAccount("x", {80, 10}), limitedAccount("y", {40, 40})}}, 1, {"y"}},
      {"sum of remaining breaks ties", {0, {limitedAccount("x", {50, 70}), limitedAccount("y", {50, 100})}}, 1, {"y"}},
      {"then stored order", {0, {limitedAccount("x", {50, 70}), limitedAccount("y", {70, 50})}}, 1, {"x"}},
      {"all fit: stored order", ordered, 2, {"tight", "roomy"}},
      {"more places than accounts", ordered, 3, {"tight", "roomy"}},
      {"zero places", ordered, 0, {}},
      {"negative places", ordered, lowest, {}},
      {"clamped usage", clamped, 2, {"under", "half"}},
      {"clamped usage, all fit", clamped, 3, {"over", "under", "half"}},
      {"extreme usage", extreme, 1, {"over"}},
      {"accounts without limits fill free places", plain, 2, {"c", "a"}},
      {"every account", plain, 5, {"c", "a", "b"}},
      {"limits without windows sort last", {0, {limitedAccount("empty", {}), limitedAccount("exhausted", {0})}}, 1,
       {"exhausted"}},
      {"empty dashboard", {}, 3, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(idsOf(prioritizedAccounts(c.dashboard, c.limit)), c.shown) << c.what;
}

}  // namespace
}  // namespace zelto
