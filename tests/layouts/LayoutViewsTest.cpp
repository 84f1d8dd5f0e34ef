// The account layouts and the dispatch on the laid-out tree: which layout and
// accounts appear, their texts, tones and spacing, and the week buttons.

#include <gtest/gtest.h>

#include <map>
#include <tuple>

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
using Accounts = std::vector<ZeltoAccountSnapshot>;

const Date now = testing::wednesdayMorning;

kit::LaidOutTree sceneOf(Accounts accounts, WidgetFamily family, std::int64_t offset = 0) {
  return testing::sceneOf(LimitEntry{now, ZeltoDashboardSnapshot{now, std::move(accounts)}, offset}, family);
}

// The colour of the text `text`; fails the test when there is no such text.
std::optional<kit::Color> colorOf(const kit::LaidOutTree& tree, std::string_view text) {
  const auto* node = kit::findText(tree, text);
  EXPECT_NE(node, nullptr) << text;
  return node ? std::optional(std::get<kit::Color>(node->as<kit::TextContent>()->paint)) : std::nullopt;
}

TEST(ZeltoLimitsWidgetView, PicksTheLayoutByFamilyAndLimitedAccounts) {
  struct Case {
    Accounts accounts;
    WidgetFamily family;
    const char* layout;
    const char* shownAccount;
  };
  const Case cases[] = {
      {{}, WidgetFamily::systemMedium, "EmptyLimitView", "Waiting for Zelto"},
      {{plainAccount("a"), plainAccount("b"), limitedAccount("c", {50})}, WidgetFamily::systemMedium,
       "SingleAccountMediumView", "c"},
      {{limitedAccount("a", {50}), plainAccount("b"), limitedAccount("c", {50})}, WidgetFamily::systemMedium,
       "MultiAccountMediumView", "c"},
      {{plainAccount("a"), plainAccount("b")}, WidgetFamily::systemMedium, "SingleAccountMediumView", "a"},
      {{limitedAccount("a", {50})}, WidgetFamily::systemLarge, "MultiAccountLargeView", "a"},
      {{limitedAccount("x", {80, 10}), limitedAccount("y", {40, 40})}, WidgetFamily::systemSmall, "SmallAccountView",
       "y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    const auto tree = sceneOf(c.accounts, c.family);
    EXPECT_EQ(kit::findViews(tree, "ZeltoLimitsWidgetView").size(), 1u);
    EXPECT_EQ(kit::findViews(tree, c.layout).size(), 1u);
    EXPECT_NE(kit::findText(tree, c.shownAccount), nullptr);
  }
  EXPECT_EQ(widgetLayout(LimitEntry{now, std::nullopt, 0}, WidgetFamily::systemLarge), WidgetLayout::waiting);
}

TEST(SmallAccountView, ShowsTheFirstWindowInItsToneAndCountsCredits) {
  for (const auto& [used, percent, tone] : {std::tuple{120, "0%", ZeltoPalette::coral},
                                            std::tuple{-5, "100%", ZeltoPalette::periwinkle},
                                            std::tuple{75, "25%", ZeltoPalette::amber},
                                            std::tuple{91, "9%", ZeltoPalette::coral}}) {
    auto account = limitedAccount("a", {0, 1});  // the later window has less left, but is not shown
    account.limits->windows[0].usedPercent = used;
    const auto tree = sceneOf({account}, WidgetFamily::systemSmall);
    EXPECT_EQ(colorOf(tree, percent), tone);
    EXPECT_NE(kit::findText(tree, "SYNCED"), nullptr);
  }
  auto account = limitedAccount("a", {50});
  account.limits->resetCredits = {{"1", "", std::nullopt}, {"2", "", now + 86400}, {"3", "", now}};
  const auto tree = sceneOf({account}, WidgetFamily::systemSmall);
  EXPECT_NE(kit::findText(tree, "3 CREDITS"), nullptr);
  EXPECT_EQ(kit::findText(tree, "Mar 13"), nullptr);  // only the first credit, by position, is dated
}

TEST(SingleAccountMediumView, StaleFetchTurnsAmberAndOnlyTwoRingsShow) {
  for (const auto& [age, text, color] : {std::tuple{1800, "UPDATED 30 min", ZeltoPalette::secondaryText},
                                         std::tuple{1801, "UPDATED 30 min, 1 sec", ZeltoPalette::amber}}) {
    auto account = limitedAccount("a", {90, 60, 30});
    account.limits->fetchedAt = now - age;
    const auto tree = sceneOf({account}, WidgetFamily::systemMedium);
    EXPECT_EQ(colorOf(tree, text), color);
    EXPECT_EQ(kit::findViews(tree, "LimitRing").size(), 2u);
    EXPECT_EQ(kit::findText(tree, "NEXT CREDIT"), nullptr);  // no credits, no credit column
  }
}

TEST(MultiAccountLargeView, TightensFromThreeAccountsAndShowsTheTopThree) {
  for (const auto& [count, status, rows, spacing, credits] :
       {std::tuple{1, "1 CONNECTED", 1u, 8.0, "1 CREDITS"}, std::tuple{3, "3 CONNECTED", 3u, 6.0, "1 CR"},
        std::tuple{5, "TOP 3 / 5", 3u, 6.0, "1 CR"}}) {
    Accounts accounts;
    for (int i = 0; i < count; ++i) {
      accounts.push_back(limitedAccount("account" + std::to_string(i), {90 - 10 * i}));
      accounts.back().limits->resetCredits = {{"c", "", std::nullopt}};
    }
    const auto tree = sceneOf(accounts, WidgetFamily::systemLarge);
    EXPECT_NE(kit::findText(tree, status), nullptr);
    EXPECT_EQ(kit::findViews(tree, "LimitOnlyAccountRow").size(), rows);
    EXPECT_EQ(kit::findAllTexts(tree, credits).size(), rows);
    const auto* root = kit::findViews(tree, "MultiAccountLargeView").front();
    EXPECT_EQ(tree.node(tree.children(*root).front()).as<kit::StackContent>()->spacing, spacing);
    EXPECT_EQ(kit::findText(tree, "account4"), nullptr);  // the least headroom is dropped first
  }
}

TEST(MultiAccountLargeView, PanelForShownUsageOnlyWarningWithoutLimitsButtonsAtBounds) {
  auto unshown = limitedAccount("unshown", {1});
  unshown.usage = testing::usageOn({now}, testing::sceneRequest().calendar);
  Accounts accounts{limitedAccount("a", {90}), limitedAccount("b", {80}), limitedAccount("c", {70}), unshown};
  EXPECT_TRUE(kit::findViews(sceneOf(accounts, WidgetFamily::systemLarge), "WidgetTokenActivityPanel").empty());
  EXPECT_EQ(colorOf(sceneOf({plainAccount("broken")}, WidgetFamily::systemLarge), "No limit data"), ZeltoPalette::amber);

  // Usage two weeks back: at offset -2 only the next week can be reached.
  accounts[1].usage = testing::usageOn({now - 14 * testing::day, now}, testing::sceneRequest().calendar);
  std::map<std::string, bool> enabled;
  for (const auto& e : kit::accessibilityElements(sceneOf(accounts, WidgetFamily::systemLarge, -2))) {
    if (e.isButton) enabled[e.label] = e.isEnabled;
  }
  EXPECT_EQ(enabled, (std::map<std::string, bool>{{"Previous usage week", false}, {"Next usage week", true}}));
}

}  // namespace
}  // namespace zelto
