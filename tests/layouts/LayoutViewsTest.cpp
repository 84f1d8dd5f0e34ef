// The account layouts and the dispatch on the laid-out tree: which layout and
// accounts appear, their texts, tones and spacing, and the week buttons.

#include <gtest/gtest.h>

#include <map>

#include "platform/kit/Accessibility.hpp"
#include "platform/kit/Inspection.hpp"
#include "tests/support/SceneFixtures.hpp"
#include "widget/runtime/ZeltoLimitsWidgetView.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {
namespace {

using kit::WidgetFamily;
using testing::limitedAccount;
using testing::plainAccount;
using testing::sceneOf;

const Date now = testing::wednesdayMorning;

LimitEntry entryOf(std::vector<ZeltoAccountSnapshot> accounts, std::int64_t offset = 0) {
  return LimitEntry{now, ZeltoDashboardSnapshot{now, std::move(accounts)}, offset};
}

kit::Color colorOf(const kit::LaidOutNode* text) {
  return std::get<kit::Color>(text->as<kit::TextContent>()->paint);
}

struct DispatchCase {
  const char* what;
  std::optional<std::vector<ZeltoAccountSnapshot>> accounts;
  WidgetFamily family;
  WidgetLayout layout;
  const char* viewName;
  const char* shownAccount;  // a name that must appear, or nullptr
};

TEST(ZeltoLimitsWidgetView, PicksTheLayoutByFamilyAndLimitedAccounts) {
  const DispatchCase cases[] = {
      {"no dashboard", std::nullopt, WidgetFamily::systemLarge, WidgetLayout::waiting, "EmptyLimitView", nullptr},
      {"no accounts", std::vector<ZeltoAccountSnapshot>{}, WidgetFamily::systemMedium, WidgetLayout::waiting,
       "EmptyLimitView", nullptr},
      {"one limited of three", std::vector{plainAccount("a"), plainAccount("b"), limitedAccount("c", {50})},
       WidgetFamily::systemMedium, WidgetLayout::singleAccountMedium, "SingleAccountMediumView", "c"},
      {"two limited of three", std::vector{limitedAccount("a", {50}), plainAccount("b"), limitedAccount("c", {50})},
       WidgetFamily::systemMedium, WidgetLayout::multiAccountMedium, "MultiAccountMediumView", "c"},
      {"none limited", std::vector{plainAccount("a"), plainAccount("b")}, WidgetFamily::systemMedium,
       WidgetLayout::singleAccountMedium, "SingleAccountMediumView", "a"},
      {"large with one account", std::vector{limitedAccount("a", {50})}, WidgetFamily::systemLarge,
       WidgetLayout::multiAccountLarge, "MultiAccountLargeView", "a"},
      {"small shows the most headroom", std::vector{limitedAccount("x", {80, 10}), limitedAccount("y", {40, 40})},
       WidgetFamily::systemSmall, WidgetLayout::smallAccount, "SmallAccountView", "y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const LimitEntry entry =
        c.accounts ? entryOf(*c.accounts) : LimitEntry{now, std::nullopt, 0};
    EXPECT_EQ(widgetLayout(entry, c.family), c.layout);
    const auto tree = sceneOf(entry, c.family);
    EXPECT_EQ(kit::findViews(tree, "ZeltoLimitsWidgetView").size(), 1u);
    EXPECT_EQ(kit::findViews(tree, c.viewName).size(), 1u);
    if (c.shownAccount != nullptr) {
      EXPECT_NE(kit::findText(tree, c.shownAccount), nullptr);
    }
  }
  const auto waiting = sceneOf(LimitEntry{now, std::nullopt, 0}, WidgetFamily::systemSmall);
  EXPECT_NE(kit::findText(waiting, "Waiting for Zelto"), nullptr);
}

TEST(SmallAccountView, ShowsTheFirstWindowInItsToneAndCountsCredits) {
  struct Case {
    std::int64_t usedPercent;
    const char* percent;
    kit::Color tone;
  };
  for (const Case& c : {Case{120, "0%", ZeltoPalette::coral}, Case{-5, "100%", ZeltoPalette::periwinkle},
                        Case{75, "25%", ZeltoPalette::amber}, Case{91, "9%", ZeltoPalette::coral}}) {
    SCOPED_TRACE(c.percent);
    auto account = limitedAccount("a", {0, 1});  // the later window has less left, but is not shown
    account.limits->windows[0].usedPercent = c.usedPercent;
    const auto tree = sceneOf(entryOf({account}), WidgetFamily::systemSmall);
    ASSERT_NE(kit::findText(tree, c.percent), nullptr);
    EXPECT_EQ(colorOf(kit::findText(tree, c.percent)), c.tone);
    EXPECT_NE(kit::findText(tree, "SYNCED"), nullptr);
  }
  auto account = limitedAccount("a", {50});
  account.limits->resetCredits = {{"1", "Full reset", std::nullopt}, {"2", "Full reset", now + 86400}, {"3", "", now}};
  const auto tree = sceneOf(entryOf({account}), WidgetFamily::systemSmall);
  EXPECT_NE(kit::findText(tree, "3 CREDITS"), nullptr);
  EXPECT_EQ(kit::findText(tree, "Mar 13"), nullptr);  // only the first credit is dated
}

TEST(SingleAccountMediumView, StaleFetchTurnsAmberAndOnlyTwoRingsShow) {
  for (const double age : {1800.0, 1801.0}) {
    auto account = limitedAccount("a", {90, 60, 30});
    account.limits->fetchedAt = now - age;
    const auto tree = sceneOf(entryOf({account}), WidgetFamily::systemMedium);
    const auto* updated = kit::findText(tree, age > 1800 ? "UPDATED 30 min, 1 sec" : "UPDATED 30 min");
    ASSERT_NE(updated, nullptr);
    EXPECT_EQ(colorOf(updated), age > 1800 ? ZeltoPalette::amber : ZeltoPalette::secondaryText);
    EXPECT_EQ(kit::findViews(tree, "LimitRing").size(), 2u);
    EXPECT_EQ(kit::findText(tree, "NEXT CREDIT"), nullptr);  // no credits, no credit column
  }
}

struct CrowdingCase {
  int accounts;
  const char* status;
  std::size_t rows;
  double rootSpacing;
  const char* credits;
};

TEST(MultiAccountLargeView, TightensFromThreeAccountsAndShowsTheTopThree) {
  for (const auto& c : {CrowdingCase{1, "1 CONNECTED", 1, 8, "1 CREDITS"}, CrowdingCase{3, "3 CONNECTED", 3, 6, "1 CR"},
                        CrowdingCase{5, "TOP 3 / 5", 3, 6, "1 CR"}}) {
    SCOPED_TRACE(c.status);
    std::vector<ZeltoAccountSnapshot> accounts;
    for (int i = 0; i < c.accounts; ++i) {
      accounts.push_back(limitedAccount("account" + std::to_string(i), {90 - 10 * i}));
      accounts.back().limits->resetCredits = {{"c", "Full reset", std::nullopt}};
    }
    const auto tree = sceneOf(entryOf(accounts), WidgetFamily::systemLarge);
    EXPECT_NE(kit::findText(tree, c.status), nullptr);
    EXPECT_EQ(kit::findViews(tree, "LimitOnlyAccountRow").size(), c.rows);
    EXPECT_EQ(kit::findAllTexts(tree, c.credits).size(), c.rows);
    const auto* root = kit::findViews(tree, "MultiAccountLargeView").front();
    EXPECT_EQ(tree.node(tree.children(*root).front()).as<kit::StackContent>()->spacing, c.rootSpacing);
    // Ranked by headroom: the account with the least left is dropped first.
    EXPECT_EQ(kit::findText(tree, "account4"), nullptr);
  }
}

TEST(MultiAccountLargeView, PanelOnlyForShownUsageAndWarningWithoutLimits) {
  const auto& calendar = testing::sceneRequest().calendar;
  auto unshown = limitedAccount("unshown", {1});
  unshown.usage = testing::usageOn({now}, calendar);
  auto broken = plainAccount("broken");
  std::vector accounts{limitedAccount("a", {90}), limitedAccount("b", {80}), limitedAccount("c", {70}), unshown,
                       broken};
  EXPECT_TRUE(kit::findViews(sceneOf(entryOf(accounts), WidgetFamily::systemLarge), "WidgetTokenActivityPanel").empty());
  accounts[1].usage = testing::usageOn({now}, calendar);
  EXPECT_EQ(kit::findViews(sceneOf(entryOf(accounts), WidgetFamily::systemLarge), "WidgetTokenActivityPanel").size(), 1u);
  const auto tree = sceneOf(entryOf({broken}), WidgetFamily::systemLarge);
  ASSERT_NE(kit::findText(tree, "No limit data"), nullptr);
  EXPECT_EQ(colorOf(kit::findText(tree, "No limit data")), ZeltoPalette::amber);
}

TEST(MultiAccountLargeView, WeekButtonsAreDisabledAtTheHistoryBounds) {
  const auto& calendar = testing::sceneRequest().calendar;
  auto account = limitedAccount("a", {50});
  account.usage = testing::usageOn({now - 14 * testing::day, now}, calendar);
  struct Case {
    std::int64_t offset;
    bool previousEnabled, nextEnabled;
  };
  for (const Case& c : {Case{0, true, false}, Case{-1, true, true}, Case{-2, false, true}}) {
    SCOPED_TRACE(c.offset);
    std::map<std::string, bool> enabled;
    for (const auto& e : kit::accessibilityElements(sceneOf(entryOf({account}, c.offset), WidgetFamily::systemLarge))) {
      if (e.isButton) enabled[e.label] = e.isEnabled;
    }
    EXPECT_EQ(enabled, (std::map<std::string, bool>{{"Previous usage week", c.previousEnabled},
                                                    {"Next usage week", c.nextEnabled}}));
  }
}

}  // namespace
}  // namespace zelto
