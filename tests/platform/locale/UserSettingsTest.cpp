#include "platform/locale/UserSettings.hpp"

#include "platform/locale/Calendar.hpp"

#include <gtest/gtest.h>

#include <map>

namespace zelto::locale {
namespace {

EnvironmentLookup environmentOf(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
    const auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  };
}

SystemTimeZoneLookup systemZoneOf(std::optional<std::string> zone) {
  return [zone] { return zone; };
}

TEST(UserSettingsTimeZone, ComesFromTz) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {":Europe/Berlin", "Europe/Berlin"},
      {"Europe/Berlin", "Europe/Berlin"},
      {"/usr/share/zoneinfo/Europe/Berlin", "Europe/Berlin"},
      {":/usr/share/zoneinfo/Asia/Kolkata", "Asia/Kolkata"},
      {"/usr/share/zoneinfo/posix/America/New_York", "America/New_York"},
      {"UTC", "UTC"},
      {"", "UTC"},  // set but empty: the C library's UTC
  };
  for (const auto& [tz, zone] : cases) {
    const auto settings = readUserSettings(environmentOf({{"TZ", tz}}), systemZoneOf("Asia/Tokyo"));
    EXPECT_EQ(settings.timeZoneId, zone) << tz;
  }
}

TEST(UserSettingsTimeZone, FallsBackToTheSystemZoneThenUtc) {
  EXPECT_EQ(readUserSettings(environmentOf({}), systemZoneOf("Asia/Tokyo")).timeZoneId, "Asia/Tokyo");
  for (const std::string tz : {"Nowhere/City", ":", "/tmp/not-a-zone", "CET-1CEST,M3.5.0,M10.5.0/3x"}) {
    EXPECT_EQ(readUserSettings(environmentOf({{"TZ", tz}}), systemZoneOf("Asia/Tokyo")).timeZoneId, "Asia/Tokyo") << tz;
    EXPECT_EQ(readUserSettings(environmentOf({{"TZ", tz}}), systemZoneOf(std::nullopt)).timeZoneId, "UTC") << tz;
  }
  EXPECT_EQ(readUserSettings(environmentOf({}), systemZoneOf("Not/AZone")).timeZoneId, "UTC");
}

TEST(UserSettingsTimeZone, SystemZoneIsAZoneTheCalendarAccepts) {
  const auto zone = systemTimeZone();
  if (zone) {
    EXPECT_TRUE(Calendar::make(*zone, 1).has_value()) << *zone;
  }
  EXPECT_TRUE(Calendar::make(readUserSettings(processEnvironment()).timeZoneId, 1).has_value());
}

TEST(UserSettingsLocale, TakesTheFirstNonEmptyOfLcAllLcTimeAndLang) {
  struct Case {
    std::map<std::string, std::string> variables;
    const char* localeName;
  };
  const std::vector<Case> cases{
      {{{"LC_ALL", "de_DE.UTF-8"}, {"LC_TIME", "fr_FR.UTF-8"}, {"LANG", "en_GB.UTF-8"}}, "de_DE.UTF-8"},
      {{{"LC_ALL", ""}, {"LC_TIME", "fr_FR.UTF-8"}, {"LANG", "en_GB.UTF-8"}}, "fr_FR.UTF-8"},
      {{{"LANG", "en_GB.UTF-8"}}, "en_GB.UTF-8"},
      {{{"LC_ALL", "C"}, {"LANG", "de_DE.UTF-8"}}, "en_US"},
      {{{"LANG", "C.UTF-8"}}, "en_US"},
      {{{"LANG", "POSIX"}}, "en_US"},
      {{}, "en_US"}};
  for (const auto& c : cases) {
    EXPECT_EQ(readUserSettings(environmentOf(c.variables), systemZoneOf("UTC")).localeName, c.localeName);
  }
}

TEST(UserSettingsFirstWeekday, FollowsTheLocale) {
  // The same answer whether this machine has the glibc locale or not.
  const std::vector<std::pair<std::string, int>> cases{
      {"de_DE.UTF-8", 2}, {"en_US.UTF-8", 1}, {"C", 1}, {"en_GB.UTF-8", 2}, {"ar_EG.UTF-8", 7}};
  for (const auto& [name, weekday] : cases) {
    EXPECT_EQ(readUserSettings(environmentOf({{"LANG", name}}), systemZoneOf("UTC")).firstWeekday, weekday) << name;
  }
}

TEST(GlibcFirstWeekday, ReadsTheCLibrarysLocaleData) {
  // C.UTF-8 is built into the C library (weeks from Sunday 1997-11-30, first
  // weekday 1); other locales depend on the machine.
  EXPECT_EQ(glibcFirstWeekday("C.UTF-8"), 1);
  EXPECT_EQ(glibcFirstWeekday("xx_XX.UTF-8"), std::nullopt);
  EXPECT_EQ(glibcFirstWeekday("../../etc/passwd"), std::nullopt);
}

TEST(FirstWeekdayFromGlibcWeekData, CountsFromTheWeeksStartDay) {
  struct Case {
    std::int64_t weekStartDay;
    int firstWeekday;
    std::optional<int> weekday;
  };
  const std::vector<Case> cases{{19971130, 1, 1},  // Sunday, the day itself: Sunday (en_US)
                                {19971201, 1, 2},  // Monday, the day itself: Monday (de_DE)
                                {19971130, 2, 2},  // one day after Sunday: Monday
                                {19971130, 7, 7},  // Saturday
                                {19971201, 7, 1},  // six days after Monday: Sunday
                                {19971130, 0, std::nullopt},
                                {19971130, 8, std::nullopt},
                                {0, 1, std::nullopt},
                                {19971332, 1, std::nullopt},
                                {19970230, 1, std::nullopt}};
  for (const auto& c : cases) {
    EXPECT_EQ(firstWeekdayFromGlibcWeekData(c.weekStartDay, c.firstWeekday), c.weekday)
        << c.weekStartDay << " " << c.firstWeekday;
  }
}

}  // namespace
}  // namespace zelto::locale
