#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zelto::locale {

// What a Linux desktop user has chosen for dates and numbers, read once at
// the program's edge and passed down from there.
struct UserSettings {
  std::string timeZoneId;  // IANA name
  std::string localeName;  // as found in the environment, for Locale::make
  int firstWeekday = 1;    // 1 (Sunday) to 7 (Saturday)
};

// Reads an environment variable; tests pass their own.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string&)>;

EnvironmentLookup processEnvironment();

// The machine's own time zone (IANA name), or nullopt; tests pass their own.
using SystemTimeZoneLookup = std::function<std::optional<std::string>()>;

// The system's zone: the target of the /etc/localtime link, else the name in
// /etc/timezone, else ICU's host zone detection; nullopt when none is known.
std::optional<std::string> systemTimeZone();

// Time zone from TZ (":Europe/Berlin", "Europe/Berlin", or a path under a
// zoneinfo folder; set but empty means UTC), else the system's zone, else
// "UTC"; locale from LC_ALL, then LC_TIME, then LANG (empty, "C" or "POSIX"
// count as en_US); first weekday from glibc's LC_TIME data for that locale
// where this machine has it, else ICU's default for the locale's region.
UserSettings readUserSettings(const EnvironmentLookup& environment);
UserSettings readUserSettings(const EnvironmentLookup& environment, const SystemTimeZoneLookup& systemZone);

// The first weekday (1 Sunday to 7 Saturday) of a glibc locale
// ("de_DE.UTF-8"), or nullopt when this machine does not have that locale.
std::optional<int> glibcFirstWeekday(const std::string& localeName);

// The first weekday (1 Sunday to 7 Saturday) from glibc's week data: the
// YYYYMMDD day a week starts on (19971130, a Sunday) and the locale's first
// weekday counted from that day (1 = that day itself); nullopt for data that
// does not describe a day.
std::optional<int> firstWeekdayFromGlibcWeekData(std::int64_t weekStartDay, int firstWeekday);

}  // namespace zelto::locale
