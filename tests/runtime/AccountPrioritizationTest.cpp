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

TEST(PrioritizedAccounts, HeadroomInTightestWindowWins) {
  const ZeltoDashboardSnapshot dashboard{0, {limitedAccount("x", {80, 10}), limitedAccount("y", {40, 40})}};
  EXPECT_EQ(idsOf(prioritizedAccounts(dashboard, 1)), Ids{"y"});
}

TEST(PrioritizedAccounts, SumOfRemainingBreaksTiesThenStoredOrder) {
  const ZeltoDashboardSnapshot bySum{0, {limitedAccount("x", {50, 70}), limitedAccount("y", {50, 100})}};
  EXPECT_EQ(idsOf(prioritizedAccounts(bySum, 1)), Ids{"y"});
  const ZeltoDashboardSnapshot tied{0, {limitedAccount("x", {50, 70}), limitedAccount("y", {70, 50})}};
  EXPECT_EQ(idsOf(prioritizedAccounts(tied, 1)), Ids{"x"});
}

TEST(PrioritizedAccounts, KeepsStoredOrderWhenAllLimitedAccountsFit) {
  const ZeltoDashboardSnapshot dashboard{0, {limitedAccount("tight", {5}), limitedAccount("roomy", {95})}};
  EXPECT_EQ(idsOf(prioritizedAccounts(dashboard, 2)), (Ids{"tight", "roomy"}));
  EXPECT_EQ(idsOf(prioritizedAccounts(dashboard, 3)), (Ids{"tight", "roomy"}));
}

TEST(PrioritizedAccounts, NonPositiveLimitGivesNothing) {
  const ZeltoDashboardSnapshot dashboard{0, {limitedAccount("x", {50})}};
  EXPECT_TRUE(prioritizedAccounts(dashboard, 0).empty());
  EXPECT_TRUE(prioritizedAccounts(dashboard, -1).empty());
  EXPECT_TRUE(prioritizedAccounts(dashboard, std::numeric_limits<std::int64_t>::min()).empty());
}

TEST(PrioritizedAccounts, OutOfRangeUsageIsClampedBeforeRanking) {
  // 130 % used counts as 0 remaining, -20 % used as 100 remaining.
  ZeltoDashboardSnapshot dashboard{0, {limitedAccount("over", {0}), limitedAccount("under", {0})}};
  dashboard.accounts[0].limits->windows[0].usedPercent = 130;
  dashboard.accounts[1].limits->windows[0].usedPercent = -20;
  dashboard.accounts.push_back(limitedAccount("half", {50}));
  EXPECT_EQ(idsOf(prioritizedAccounts(dashboard, 3)), (Ids{"over", "under", "half"}));
  EXPECT_EQ(idsOf(prioritizedAccounts(dashboard, 2)), (Ids{"under", "half"}));
  // Extreme values must not overflow.
  dashboard.accounts[0].limits->windows[0].usedPercent = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(idsOf(prioritizedAccounts(dashboard, 1)), Ids{"over"});
}

TEST(PrioritizedAccounts, AccountsWithoutLimitsOnlyFillFreePlaces) {
  const ZeltoDashboardSnapshot dashboard{0, {plainAccount("a"), plainAccount("b"), limitedAccount("c", {10})}};
  EXPECT_EQ(idsOf(prioritizedAccounts(dashboard, 2)), (Ids{"c", "a"}));
  EXPECT_EQ(idsOf(prioritizedAccounts(dashboard, 5)), (Ids{"c", "a", "b"}));
}

TEST(PrioritizedAccounts, LimitsWithoutWindowsSortLast) {
  const ZeltoDashboardSnapshot dashboard{0, {limitedAccount("empty", {}), limitedAccount("exhausted", {0})}};
  EXPECT_EQ(idsOf(prioritizedAccounts(dashboard, 1)), Ids{"exhausted"});
}

TEST(PrioritizedAccounts, EmptyDashboardGivesNothing) {
  EXPECT_TRUE(prioritizedAccounts(ZeltoDashboardSnapshot{}, 3).empty());
}

}  // namespace
}  // namespace zelto
