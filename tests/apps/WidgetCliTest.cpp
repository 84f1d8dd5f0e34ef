#include <gtest/gtest.h>

#include <boost/json/parse.hpp>

#include <fstream>
#include <limits>
#include <map>
#include <sstream>

#include <unistd.h>

#include "apps/zelto-limits-widget/RequestOptions.hpp"
#include "apps/zelto-limits-widget/WidgetCommands.hpp"
#include "tests/support/Dashboards.hpp"
#include "tests/support/Environments.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto::cli {
namespace {

using testing::day;

locale::EnvironmentLookup fakeEnvironment(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
    auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  };
}

// Options with one member set.
template <class Member, class Value>
RequestOptions optionsWith(Member RequestOptions::*member, Value value) {
  RequestOptions options;
  options.*member = value;
  return options;
}

boost::json::value runAndParse(int (*command)(const host::RequestEnvironment&, const SharedContainer&, std::ostream&),
                               const host::RequestEnvironment& environment, const SharedContainer& container) {
  std::ostringstream out;
  EXPECT_EQ(command(environment, container, out), 0);
  return boost::json::parse(out.str());
}

TEST(ResolveRequest, OptionsOverrideTheUserSettings) {
  testing::TemporaryDirectory directory;
  RequestOptions options;
  options.directory = directory.path().string();
  options.now = "2025-03-12T10:00:00Z";
  options.timeZone = "Asia/Kolkata";
  options.localeName = "de-DE";
  options.firstWeekday = 1;
  const auto environment =
      resolveRequest(options, fakeEnvironment({{"TZ", "America/New_York"}, {"LANG", "en_US.UTF-8"}}));
  EXPECT_EQ(environment.now, testing::wednesdayMorning);
  EXPECT_EQ(environment.calendar.timeZoneId(), "Asia/Kolkata");
  EXPECT_EQ(environment.calendar.firstWeekday(), 1);
  EXPECT_EQ(environment.locale.id(), "de_DE");
}

TEST(ResolveRequest, BadValuesAreUsageErrorsThatSayWhatIsWrong) {
  // Settings from the environment that ICU does not know fall back quietly.
  const auto environment =
      fakeEnvironment({{"TZ", "Mars/Olympus_Mons"}, {"LANG", "xx_YY.UTF-8"}});
  EXPECT_NO_THROW(resolveRequest({}, environment));

  const std::pair<RequestOptions, std::string> cases[] = {
      {optionsWith(&RequestOptions::timeZone, "Mars/Olympus_Mons"), "--time-zone: unknown time zone"},
      {optionsWith(&RequestOptions::localeName, "xx_YY"), "--locale: unknown locale \"xx_YY\""},
      {optionsWith(&RequestOptions::now, "tomorrow"), "--now: expected an ISO-8601 date and time"},
      {optionsWith(&RequestOptions::firstWeekday, 0), "--first-weekday"},
      {optionsWith(&RequestOptions::firstWeekday, 8), "--first-weekday"}};
  for (const auto& [options, message] : cases) {
    try {
      resolveRequest(options, environment);
      ADD_FAILURE() << "accepted; expected " << message;
    } catch (const UsageError& error) {
      EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
    }
  }
}

TEST(ResolveRequest, NowInADaylightSavingGapIsALocalTimeThatDoesNotExist) {
  RequestOptions options = optionsWith(&RequestOptions::now, "2025-03-30T02:30:00");
  options.timeZone = "Europe/Berlin";
  try {
    resolveRequest(options, fakeEnvironment({}));
    ADD_FAILURE() << "accepted a skipped local time";
  } catch (const UsageError& error) {
    EXPECT_STREQ(error.what(),
                 "--now: the local time \"2025-03-30T02:30:00\" does not exist in the time zone Europe/Berlin "
                 "(its clocks skip it)");
  }
}

TEST(ResolveRequest, NowBefore1582HasTheDayKeyItWasGiven) {
  const auto environment =
      resolveRequest(optionsWith(&RequestOptions::now, "1500-03-01T12:00:00Z"),
                     fakeEnvironment({{"TZ", "UTC"}}));
  EXPECT_EQ(dayKey(environment.now, environment.calendar), "1500-03-01");
}

TEST(ParseWeekOffset, TakesWholeDecimalNumbersWithinRangeOnly) {
  const std::pair<std::string, std::optional<std::int64_t>> cases[] = {
      {"0", 0},
      {"-3", -3},
      {"+2", 2},
      {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
      {"-9223372036854775809", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"0x10", std::nullopt},
      {"1e3", std::nullopt},
      {"1.0", std::nullopt},
      {" 1", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt}};
  for (const auto& [text, expected] : cases) {
    if (expected) {
      EXPECT_EQ(parseWeekOffset(text), *expected) << text;
    } else {
      EXPECT_THROW(parseWeekOffset(text), UsageError) << text;
    }
  }
}

class WidgetCommandsTest : public ::testing::Test {
 protected:
  testing::TemporaryDirectory directory;
  SharedContainer container = testing::containerIn(directory.path());
  host::RequestEnvironment environment = testing::environmentAt();
};

TEST_F(WidgetCommandsTest, NoDataIsAnEntryWithoutDashboard) {
  const auto timeline = runAndParse(runTimeline, environment, container);
  EXPECT_EQ(timeline, boost::json::parse(R"({"entries": [{"date": 763466400, "dashboard": null,
                                             "usageWeekOffset": 0}], "reloadAfter": 763467300})"));
  std::ostringstream out;
  EXPECT_EQ(runSnapshot(environment, container, false, out), 0);
  EXPECT_EQ(boost::json::parse(out.str()).at("dashboard"), nullptr);
}

TEST_F(WidgetCommandsTest, EntriesCarryTheDashboardAsStored) {
  auto account = testing::limitedAccount("work", {70});
  account.usage = testing::usageOn({environment.now - 7 * day}, environment.calendar, 1500);
  const ZeltoDashboardSnapshot dashboard{environment.now - 60, {account}};
  testing::storeDashboard(container, dashboard);
  testing::storeOffset(container, -1);
  const auto timeline = runAndParse(runTimeline, environment, container);
  const auto& entry = timeline.at("entries").at(0);
  EXPECT_EQ(entry.at("dashboard"), boost::json::value(toJson(dashboard)));
  EXPECT_EQ(entry.at("usageWeekOffset"), -1);
  const auto placeholder = runAndParse(runPlaceholder, environment, container);
  EXPECT_EQ(placeholder.at("dashboard").at("accounts").as_array().size(), 2u);
}

TEST_F(WidgetCommandsTest, IntentsPrintStoredOffsetAndReloads) {
  auto account = testing::plainAccount("a");
  account.usage = testing::usageOn({environment.now - 14 * day}, environment.calendar);
  testing::storeDashboard(container, ZeltoDashboardSnapshot{environment.now, {account}});
  std::ostringstream out;
  EXPECT_EQ(runIntent(environment, container, WeekDirection::previous, out), 0);
  EXPECT_EQ(boost::json::parse(out.str()),
            boost::json::parse(R"({"usageWeekOffset": -1, "reloaded": ["ZeltoLimitsWidget"]})"));
  out.str("");
  EXPECT_EQ(runIntent(environment, container, WeekDirection::next, out), 0);
  EXPECT_EQ(boost::json::parse(out.str()).at("usageWeekOffset"), 0);
}

TEST_F(WidgetCommandsTest, WeekPrintsTheUsageWeekWithLabelsAndFigures) {
  // Buckets on Sunday 2025-03-09 and Monday 2025-03-10; Monday weeks.
  auto account = testing::plainAccount("a");
  account.usage = ZeltoUsageSnapshot{0, {{"2025-03-09", 1240000}, {"2025-03-10", 420000}}, {}};
  account.usage->summary.currentStreakDays = 6;
  testing::storeDashboard(container, ZeltoDashboardSnapshot{environment.now, {account}});

  std::ostringstream out;
  EXPECT_EQ(runWeek(environment, container, std::nullopt, out), 0);
  const auto week = boost::json::parse(out.str());
  EXPECT_EQ(week.at("offset"), 0);
  EXPECT_EQ(week.at("rangeLabel"), "MAR 10\u201316");
  EXPECT_EQ(week.at("days").at(0).at("dayKey"), "2025-03-10");
  EXPECT_EQ(week.at("days").at(0).at("tokens"), 420000);
  EXPECT_EQ(week.at("days").as_array().size(), 7u);
  EXPECT_EQ(week.at("currentStreakDays"), 6);
  EXPECT_EQ(week.at("isCurrentWeek"), true);
  EXPECT_EQ(week.at("abbreviated").at("totalTokens"), "420K");

  out.str("");
  EXPECT_EQ(runWeek(environment, container, -1, out), 0);
  const auto previous = boost::json::parse(out.str());
  EXPECT_EQ(previous.at("rangeLabel"), "MAR 3\u20139");
  EXPECT_EQ(previous.at("peakTokens"), 1240000);
  EXPECT_EQ(previous.at("abbreviated").at("peakTokens"), "1.2M");
  EXPECT_EQ(previous.at("isCurrentWeek"), false);
}

TEST_F(WidgetCommandsTest, WeekWithoutDataIsNull) {
  std::ostringstream out;
  EXPECT_EQ(runWeek(environment, container, 0, out), 0);
  EXPECT_EQ(boost::json::parse(out.str()), nullptr);
}

}  // namespace
}  // namespace zelto::cli
