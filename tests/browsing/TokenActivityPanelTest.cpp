#include <gtest/gtest.h>

#include "VisualsTestSupport.hpp"
#include "widget/browsing/WidgetTokenActivityPanel.hpp"
#include "widget/browsing/WidgetUsageWeekNavigator.hpp"

namespace zelto::visuals::test {
namespace {

// An account with a usage bucket on each of the given days (none: no buckets).
ZeltoAccountSnapshot account(const std::string& id, const std::vector<std::string>& days) {
  ZeltoAccountSnapshot snapshot{id, id, std::nullopt, std::nullopt, ZeltoUsageSnapshot{}, std::nullopt};
  for (const std::string& day : days) snapshot.usage->dailyUsageBuckets.push_back({day, 1000});
  return snapshot;
}

TEST(WidgetUsageWeekNavigator, ButtonsStopAtTheHistoryBounds) {
  struct Case {
    std::vector<std::string> days;
    std::int64_t offset;
    std::vector<std::string> labels;  // spoken, in reading order
    std::vector<bool> enabled;        // previous, next
  };
  const std::vector<Case> cases = {
      {{"2025-03-11"}, 0, {"Previous usage week", "MAR 10\u201316", "Next usage week"}, {false, false}},
      {{"2025-02-25", "2025-03-11"}, 0, {"Previous usage week", "MAR 10\u201316", "Next usage week"}, {true, false}},
      {{"2025-02-25"}, -2, {"Previous usage week", "FEB 24\u2013MAR 2", "Next usage week"}, {false, true}},
      {{"2025-02-25"}, -1, {"Previous usage week", "MAR 3\u20139", "Next usage week"}, {true, true}},
      {{}, 0, {}, {}},  // no usage: nothing drawn, no space taken
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    const kit::LaidOutTree tree = layOut(WidgetUsageWeekNavigator{{now, {account("a", c.days)}}, c.offset}, {200, 30});
    std::vector<std::string> labels;
    for (const auto& element : kit::accessibilityElements(tree)) labels.push_back(element.label);
    EXPECT_EQ(labels, c.labels);
    std::vector<bool> enabled;
    for (const auto& region : kit::hitRegions(tree)) enabled.push_back(region.enabled);
    EXPECT_EQ(enabled, c.enabled);
  }
}

TEST(WidgetTokenActivityPanel, OffersRowsOrColumnsForAccountsWithUsage) {
  const auto a = account("Personal", {"2025-03-11"});
  const auto b = account("An account name far too long for a row", {"2025-03-10"});
  const auto c = account("Side", {"2025-03-12"});
  const auto idle = account("Idle", {});
  struct Case {
    bool dense;
    std::vector<ZeltoAccountSnapshot> accounts;
    std::vector<std::string> shown;  // names in the body, in order
    double columnWidth, padding, headerGap;
  };
  const std::vector<Case> cases = {
      {false, {a, b, c}, {a.id, b.id}, (316 - 6) / 2.0, 8, 7},  // roomy: the first two
      {false, {a}, {a.id}, 316, 8, 7},                          // one spans the inner width
      {false, {idle, c, a}, {c.id, a.id}, (316 - 6) / 2.0, 8, 7},
      {true, {a, idle, b, c}, {a.id, b.id, c.id}, 0, 7, 5},  // dense: every one
  };
  for (const Case& p : cases) {
    SCOPED_TRACE(p.shown.front() + (p.dense ? " dense" : " roomy"));
    const kit::LaidOutTree tree =
        layOut(WidgetTokenActivityPanel{{now, p.accounts}, p.accounts, 0, p.dense}, {332, 300});
    const kit::Rect panel = kit::findViews(tree, "WidgetTokenActivityPanel").at(0)->frame;
    const kit::LaidOutNode& header = tree.node(kit::findAll(tree, kit::NodeKind::image).at(0)->parent);
    EXPECT_NEAR(header.frame.x - panel.x, p.padding, 0.01);
    EXPECT_NEAR(header.frame.y - panel.y, p.padding, 0.01);
    const auto stacked = tree.children(header.parent);
    ASSERT_EQ(stacked.size(), 2u) << "header, then body";
    EXPECT_NEAR(tree.node(stacked[1]).frame.y - header.frame.maxY(), p.headerGap, 0.01);
    EXPECT_EQ(kit::accessibilityElements(tree).at(0).label, "TOKEN ACTIVITY") << "the symbol is decoration";

    const auto items = kit::findViews(tree, p.dense ? "ZeltoUsageInlineSummary" : "ZeltoUsagePulse");
    ASSERT_EQ(items.size(), p.shown.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
      const kit::LaidOutNode& name = *kit::findText(tree, p.shown[i]);
      if (p.dense) {
        EXPECT_NEAR(tree.node(name.parent).frame.width, 72, 0.01) << "names sit in a 72-point frame";
        EXPECT_EQ(name.as<kit::TextContent>()->measurement.lineCount, 1);
        EXPECT_NEAR(name.frame.midY(), items[i]->frame.midY(), 0.5) << "name and summary share a row";
      } else {
        EXPECT_NEAR(items[i]->frame.width, p.columnWidth, 0.01);
        EXPECT_NEAR(name.frame.x, items[i]->frame.x, 0.01) << "the name heads its column";
      }
    }
  }
}

}  // namespace
}  // namespace zelto::visuals::test
