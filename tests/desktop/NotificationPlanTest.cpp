#include <gtest/gtest.h>

#include <vector>

#include "apps/zelto-limits-widget/NotificationPlan.hpp"

namespace zelto::cli {
namespace {

constexpr Date now = 763291800;  // 2025-03-10T09:30:00Z
constexpr Date hour = 3600;

const host::RequestEnvironment environment{now, *locale::Calendar::make("UTC", 2), locale::Locale::make("en_US")};

struct Reading {
  std::int64_t remaining;  // of the 5-hour window
  Date resetsIn;           // from now; negative: the data is older than its reset
  Date creditExpiresIn = -hour;
};

// Personal (shown) and Work with less headroom behind it (not shown by a
// one-account widget, whatever its windows say).
ZeltoDashboardSnapshot dashboardOf(const Reading& reading) {
  const ZeltoLimitSnapshot personal{now,
                                    std::nullopt,
                                    {{"five", "5-hour", 100 - reading.remaining, now + reading.resetsIn, 300}},
                                    std::nullopt,
                                    {{"credit", "Full reset", now + reading.creditExpiresIn}}};
  const ZeltoLimitSnapshot work{now, std::nullopt, {{"five", "5-hour", 99, now + hour, 300}}, std::nullopt, {}};
  return {now,
          {{"p", "Personal", std::nullopt, personal, std::nullopt, std::nullopt},
           {"w", "Work", std::nullopt, work, std::nullopt, std::nullopt}}};
}

// Readings one after another, with what was sent remembered between them:
// how many notifications each reading brings.
TEST(NotificationPlan, EachThresholdWarnsOncePerResetPeriod) {
  const Date reset = 2 * hour + 18 * 60;
  const struct {
    const char* name;
    std::vector<Reading> readings;
    std::vector<std::size_t> sent;
  } cases[] = {
      {"above 25 %", {{26, reset}}, {0}},
      {"falls to 25 %, stays", {{26, reset}, {25, reset}, {20, reset}}, {0, 1, 0}},
      {"25 % then 10 %", {{25, reset}, {11, reset}, {10, reset}, {9, reset}}, {1, 0, 1, 0}},
      {"first seen at 9 %: one, not two", {{9, reset}, {9, reset}}, {1, 0}},
      {"a new reset period warns again", {{20, reset}, {20, reset + 5 * hour}}, {1, 1}},
      {"data older than its reset", {{20, -60}, {5, -60}}, {0, 0}},
      {"credit expires within 24 h, once", {{50, reset, 23 * hour}, {50, reset, 23 * hour}}, {1, 0}},
      {"credit expires after 24 h", {{50, reset, 25 * hour}}, {0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::set<std::string> sent;
    std::vector<std::size_t> counts;
    for (const Reading& reading : c.readings) {
      const auto due = dueNotifications(dashboardOf(reading), 1, environment, sent);
      counts.push_back(due.size());
      for (const auto& notice : due) sent.insert(notice.marks.begin(), notice.marks.end());
      sent = liveMarks(sent, now);
    }
    EXPECT_EQ(counts, c.sent);
  }
}

TEST(NotificationPlan, NamesTheAccountAndWindowAndWhenItResets) {
  const auto due = dueNotifications(dashboardOf({20, 2 * hour + 18 * 60, 5 * hour}), 2, environment, {});
  ASSERT_EQ(due.size(), 3u);
  EXPECT_EQ(due[0].title, "Personal · 5-hour");
  EXPECT_EQ(due[0].body, "20% left · resets in 2 hr, 18 min");
  EXPECT_EQ(due[1].title, "Personal · Full reset");
  EXPECT_EQ(due[1].body, "Reset credit expires in 5 hr");
  EXPECT_EQ(due[2].title, "Work · 5-hour");
  EXPECT_EQ(due[2].body, "1% left · resets in 1 hr");
  // Marks of ended reset periods are dropped.
  EXPECT_TRUE(liveMarks({due[0].marks.begin(), due[0].marks.end()}, now + 3 * hour).empty());
}

}  // namespace
}  // namespace zelto::cli
