#include <gtest/gtest.h>

#include "VisualsTestSupport.hpp"
#include "widget/model/UsageWeek.hpp"
#include "widget/visuals/UsageBarChart.hpp"
#include "widget/visuals/ZeltoPalette.hpp"
#include "widget/visuals/ZeltoUsageInlineSummary.hpp"
#include "widget/visuals/ZeltoUsagePulse.hpp"

namespace zelto::visuals::test {
namespace {

using P = ZeltoPalette;

// Weeks start on Monday; now is Wednesday 2025-03-12, so the current week
// runs from 03-10 to 03-16 with Thursday to Sunday still to come.
const locale::Calendar calendar = *locale::Calendar::make("UTC", 2);

ZeltoUsageSnapshot usage(std::vector<ZeltoUsageDay> buckets, std::optional<std::int64_t> streak = std::nullopt) {
  ZeltoUsageSnapshot snapshot{0, std::move(buckets), {}};
  snapshot.summary.currentStreakDays = streak;
  return snapshot;
}

// A: accent gradient with a glow, P: faint periwinkle, F: a day to come.
char fillCode(const kit::LaidOutTree& tree, const kit::LaidOutNode& bar) {
  const kit::Paint& paint = bar.as<kit::ShapeContent>()->paint;
  const bool glows = tree.node(tree.node(bar.parent).parent).kind == kit::NodeKind::shadow;
  if (paint == kit::Paint(P::accentGradient()) && glows) return 'A';
  if (paint == kit::Paint(P::periwinkle.withOpacity(0.52)) && !glows) return 'P';
  return paint == kit::Paint(kit::Color::white(0.07)) && !glows ? 'F' : '?';
}

TEST(UsageBarChart, BarsFollowTodayThePeakAndTheFuture) {
  struct Case {
    std::vector<ZeltoUsageDay> buckets;
    std::int64_t offset;
    double width, barWidth;
    std::vector<double> heights;  // of a 34-point chart, Monday first
    std::string fills;
    std::string spokenMonday;
  };
  // clang-format off
  const std::vector<Case> cases = {
      // No usage this week: stubs, today still marked.
      {{{"2025-03-01", 900}}, 0, 94, 10, {3, 3, 3, 3, 3, 3, 3}, "PPAFFFF", "Monday, March 10, 2025, 0 tokens"},
      // Shares of the peak, at least 5 points; a day to come is a stub whatever it holds.
      {{{"2025-03-10", 2000}, {"2025-03-11", 4000}, {"2025-03-12", 1000}, {"2025-03-13", 8000}}, 0, 94, 10,
       {8.5, 17, 5, 3, 3, 3, 3}, "PPAFFFF", "Monday, March 10, 2025, 2,000 tokens"},
      // A past week marks every day at the peak; one token still shows.
      {{{"2025-03-03", 1000000}, {"2025-03-04", 1}, {"2025-03-05", 1000000}, {"2025-03-06", 500000}}, -1, 94, 10,
       {34, 5, 34, 17, 3, 3, 3}, "APAPPPP", "Monday, March 3, 2025, 1,000,000 tokens"},
      // A past week without usage marks nothing; a narrow chart keeps 2-point bars and overflows.
      {{{"2025-03-12", 10}}, -1, 10, 2, {3, 3, 3, 3, 3, 3, 3}, "PPPPPPP", "Monday, March 3, 2025, 0 tokens"},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spokenMonday);
    const ZeltoUsageWeek shown = *week(usage(c.buckets), c.offset, calendar, now);
    const kit::LaidOutTree tree = layOut(UsageBarChart{shown, false, calendar}, {c.width, 60});
    std::string fills;
    for (const kit::LaidOutNode* bar : kit::findAll(tree, kit::NodeKind::shape)) {
      const std::size_t i = fills.size();
      ASSERT_LT(i, 7u);
      EXPECT_NEAR(bar->frame.height, c.heights[i], 0.01) << "day " << i;
      EXPECT_NEAR(bar->frame.width, c.barWidth, 0.01);
      EXPECT_NEAR(bar->frame.x, i * (c.barWidth + 4), 0.01);
      EXPECT_NEAR(bar->frame.maxY(), 34, 0.01) << "bars stand on the chart's bottom edge";
      fills += fillCode(tree, *bar);
    }
    EXPECT_EQ(fills, c.fills);
    EXPECT_EQ(kit::accessibilityElements(tree).at(0).label, c.spokenMonday);
  }
}

TEST(UsageSummaries, FiguresOfTheCurrentAndOfAPastWeek) {
  struct Case {
    std::optional<std::int64_t> streak;
    std::int64_t offset;
    std::vector<std::string> pulse, line;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {std::nullopt, 0, {"TODAY", "420 TOKENS", "STREAK", "\u2014"}, {"TODAY", "420 TOKENS", "/", "STREAK", "0D"}},
      {1, 0, {"TODAY", "420 TOKENS", "STREAK", "1 DAY"}, {"TODAY", "420 TOKENS", "/", "STREAK", "1D"}},
      {2, 0, {"TODAY", "420 TOKENS", "STREAK", "2 DAYS"}, {"TODAY", "420 TOKENS", "/", "STREAK", "2D"}},
      {12, -1, {"WEEK TOTAL", "2M TOKENS", "PEAK DAY", "1.2M TOKENS"}, {"WEEK", "2M TOKENS", "/", "PEAK", "1.2M TOKENS"}},
  };
  // clang-format on
  const std::vector<ZeltoUsageDay> buckets = {{"2025-03-04", 1200000}, {"2025-03-05", 800000}, {"2025-03-12", 420}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.back());
    EXPECT_EQ(textsOf(layOut(ZeltoUsagePulse{usage(buckets, c.streak), c.offset, false}, {300, 100})), c.pulse);
    const kit::LaidOutTree line = layOut(ZeltoUsageInlineSummary{usage(buckets, c.streak), c.offset}, {300, 20});
    EXPECT_EQ(textsOf(line), c.line);
    EXPECT_EQ(kit::accessibilityElements(line).size(), 1u) << "the line is read as one element";
    EXPECT_EQ(kit::findText(line, c.line[1])->as<kit::TextContent>()->paint, kit::Paint(P::periwinkle));
  }
  EXPECT_TRUE(textsOf(layOut(ZeltoUsagePulse{usage({})}, {300, 100})).empty()) << "no buckets, no pulse";
  EXPECT_TRUE(textsOf(layOut(ZeltoUsageInlineSummary{usage({})}, {300, 20})).empty());
}

TEST(ZeltoUsagePulse, ArrangementDecidesTheChartAndMotionFollowsTheSetting) {
  struct Case {
    bool showsChart, compact, horizontal, reduceMotion;
    double chartHeight;  // 0: no chart
  };
  // Side by side, the chart is always there and always compact.
  const std::vector<Case> cases = {{true, false, false, false, 34},
                                   {true, true, false, true, 25},
                                   {false, false, false, false, 0},
                                   {false, false, true, true, 25}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.showsChart << c.compact << c.horizontal);
    kit::Environment settings = environment();
    settings.reduceMotion = c.reduceMotion;
    const ZeltoUsagePulse pulse{usage({{"2025-03-10", 5}}), -3, c.showsChart, c.compact, c.horizontal};
    const kit::LaidOutTree tree = layOut(pulse, {330, 200}, settings);
    const auto charts = kit::findViews(tree, "UsageBarChart");
    EXPECT_EQ(charts.empty() ? 0 : charts[0]->frame.height, c.chartHeight);
    const auto spring = kit::findViews(tree, "ZeltoUsagePulse").at(0)->animation;
    EXPECT_EQ(spring, c.reduceMotion ? std::nullopt : std::optional(kit::AnimationRecord{{0.34, 1, 0}, "-3"}));
  }
}

}  // namespace
}  // namespace zelto::visuals::test
