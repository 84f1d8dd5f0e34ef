#include <gtest/gtest.h>

#include <boost/json/parse.hpp>

#include <fstream>
#include <map>
#include <sstream>

#include <unistd.h>

#include "apps/zelto-limits-widget/IsoDate.hpp"
#include "apps/zelto-limits-widget/RequestOptions.hpp"
#include "apps/zelto-limits-widget/WidgetCommands.hpp"
#include "tests/support/Dashboards.hpp"
#include "tests/support/Environments.hpp"
#include "tests/support/TemporaryDirectory.hpp"

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

TEST(ParseIso8601, ReadsOffsetsZonesFractionsAndLocalTimes) {
  const auto utc = *locale::Calendar::make("UTC", 1);
  const auto berlin = *locale::Calendar::make("Europe/Berlin", 2);
  EXPECT_EQ(parseIso8601("2025-03-12T10:00:00+01:00", utc), testing::wednesdayMorning - 3600);
  EXPECT_EQ(parseIso8601("2025-03-12T10:00:00Z", berlin), testing::wednesdayMorning);
  EXPECT_EQ(parseIso8601("2025-03-10T09:30:00.250Z", utc), 763291800.25);
  EXPECT_EQ(parseIso8601("2025-03-12T11:00:00", berlin), testing::wednesdayMorning);
  EXPECT_EQ(parseIso8601("2025-03-12", utc), testing::wednesdayMorning - 10 * 3600);
  EXPECT_EQ(parseIso8601("2001-01-01T00:00:00Z", utc), 0);
}

TEST(ParseIso8601, RefusesAnythingElse) {
  const auto utc = *locale::Calendar::make("UTC", 1);
  for (const char* text :
       {"", "yesterday", "2025-03-12T10:00:00Zjunk", "2025-13-01", "2025-02-30T10:00:00Z", "763466400", "12/03/2025"}) {
    EXPECT_FALSE(parseIso8601(text, utc)) << text;
  }
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

TEST(ResolveRequest, BadValuesAreUsageErrors) {
  testing::TemporaryDirectory directory;
  const auto environment = fakeEnvironment({{"HOME", directory.path().string()}});
  auto expectRefused = [&](RequestOptions options) { EXPECT_THROW(resolveRequest(options, environment), UsageError); };
  expectRefused(optionsWith(&RequestOptions::timeZone, "Mars/Olympus_Mons"));
  expectRefused(optionsWith(&RequestOptions::now, "tomorrow"));
  expectRefused(optionsWith(&RequestOptions::firstWeekday, 0));
  expectRefused(optionsWith(&RequestOptions::firstWeekday, 8));
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
