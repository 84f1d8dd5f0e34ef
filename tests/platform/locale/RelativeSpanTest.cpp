#include "platform/locale/RelativeSpan.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace zelto::locale {
namespace {

using Unit = RelativeUnit;

TEST(RelativeSpan, TakesTheLargestUnitAndTheNextOneUnlessZero) {
  struct Case {
    double span;
    std::vector<RelativeComponent> components;
  };
  const std::vector<Case> cases{
      {0, {{Unit::second, 0}}},
      {0.999, {{Unit::second, 0}}},
      {59.5, {{Unit::second, 59}}},
      {60, {{Unit::minute, 1}}},
      {674, {{Unit::minute, 11}, {Unit::second, 14}}},
      {3659, {{Unit::hour, 1}}},  // 1 hr 0 min 59 sec: the minutes are zero, seconds are not shown
      {8310, {{Unit::hour, 2}, {Unit::minute, 18}}},
      {86399, {{Unit::hour, 23}, {Unit::minute, 59}}},
      {4 * 86400 + 1800, {{Unit::day, 4}}},
      {4 * 86400 + 3 * 3600, {{Unit::day, 4}, {Unit::hour, 3}}},
      {1e9, {{Unit::day, 11574}, {Unit::hour, 1}}}};
  const Date now = 760000000.25;
  for (const auto& c : cases) {
    EXPECT_EQ(relativeSpan(now + c.span, now), RelativeSpan{c.components}) << "future " << c.span;
    EXPECT_EQ(relativeSpan(now - c.span, now), RelativeSpan{c.components}) << "past " << c.span;
  }
}

TEST(RelativeSpan, HasNoneForSpansThatCannotBeShown) {
  constexpr double infinity = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(relativeSpan(std::nan(""), 0).has_value());
  EXPECT_FALSE(relativeSpan(0, std::nan("")).has_value());
  EXPECT_FALSE(relativeSpan(infinity, 0).has_value());
  EXPECT_FALSE(relativeSpan(0, -infinity).has_value());
  EXPECT_FALSE(relativeSpan(2e15, 0).has_value());
  EXPECT_TRUE(relativeSpan(maximumRelativeSpanSeconds, 0).has_value());
  EXPECT_FALSE(nextRelativeSpanChange(std::nan(""), 0).has_value());
  EXPECT_FALSE(nextRelativeSpanChange(0, infinity).has_value());
}

TEST(NextRelativeSpanChange, TicksWithTheSmallestShownUnit) {
  struct Case {
    double date;  // relative to now = 0
    double change;
    bool justAfter;  // the change happens just after `change`, not at it
  };
  const std::vector<Case> cases{
      {8310, 30, true},             // 2 hr, 18 min -> 2 hr, 17 min once under 8280 s
      {-8310, 8340 - 8310, false},  // past: 2 hr, 19 min at 8340 s
      {674.5, 0.5, true},           // 11 min, 14 sec -> 11 min, 13 sec
      {-674.5, 0.5, false},         // 11 min, 14 sec -> 11 min, 15 sec
      {4 * 86400 + 1800, 1800, true},
      {-(4 * 86400 + 1800), 1800, false},
      {0.5, 1.5, false},  // "0 sec" until a second past the date
      {0, 1, false},
      {-0.25, 0.75, false},
      {60, 0, true},  // 1 min -> 59 sec right after now
  };
  for (const auto& c : cases) {
    const auto change = nextRelativeSpanChange(c.date, 0);
    ASSERT_TRUE(change.has_value()) << c.date;
    if (c.justAfter) {
      EXPECT_GT(*change, c.change) << c.date;
      EXPECT_NEAR(*change, c.change, 1e-9) << c.date;
    } else {
      EXPECT_DOUBLE_EQ(*change, c.change) << c.date;
    }
  }
}

// For every span the text holds until the change and differs at it.
TEST(NextRelativeSpanChange, HoldsUntilTheChangeForRandomSpans) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> nows(-1e9, 1e9);
  std::uniform_int_distribution<int> scales(0, 6);
  std::uniform_real_distribution<double> unit(-1, 1);
  for (int i = 0; i < 20000; ++i) {
    const Date now = nows(random);
    const Date date = now + unit(random) * std::pow(10.0, scales(random));
    const auto change = nextRelativeSpanChange(date, now);
    ASSERT_TRUE(change.has_value());
    ASSERT_GT(*change, now);
    const auto shown = relativeSpan(date, now);
    EXPECT_NE(relativeSpan(date, *change), shown) << date << " " << now;
    const Date justBefore = std::nextafter(*change, -std::numeric_limits<double>::infinity());
    if (justBefore > now) {
      EXPECT_EQ(relativeSpan(date, justBefore), shown) << date << " " << now;
    }
    const Date halfway = now + (*change - now) / 2;
    if (halfway > now && halfway < *change) {
      EXPECT_EQ(relativeSpan(date, halfway), shown) << date << " " << now;
    }
  }
}

}  // namespace
}  // namespace zelto::locale
