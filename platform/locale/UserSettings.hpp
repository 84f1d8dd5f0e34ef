#pragma once

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

// Time zone from TZ (":Europe/Berlin", "Europe/Berlin", or a path under a
// zoneinfo folder), else the system's zone; locale from LC_ALL, then LC_TIME,
// then LANG (empty or "C" counts as en_US); first weekday from glibc's
// LC_TIME data for that locale where it defines one, else ICU's default for
// the locale's region.
UserSettings readUserSettings(const EnvironmentLookup& environment);

}  // namespace zelto::locale
