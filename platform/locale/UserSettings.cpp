#include "platform/locale/UserSettings.hpp"

#include "platform/locale/Calendar.hpp"
#include "platform/locale/IcuConversion.hpp"
#include "platform/locale/Locale.hpp"

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <langinfo.h>
#include <locale.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>

namespace zelto::locale {
namespace {

bool isKnownTimeZone(const std::string& id) { return Calendar::make(id, 1).has_value(); }

// "Europe/Berlin" from a path into a zoneinfo folder
// ("/usr/share/zoneinfo/Europe/Berlin", also its "posix/" and "right/"
// variants); nullopt for other paths.
std::optional<std::string> zoneFromZoneinfoPath(std::string_view path) {
  constexpr std::string_view folder = "zoneinfo/";
  const std::size_t at = path.rfind(folder);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view zone = path.substr(at + folder.size());
  for (const std::string_view variant : {std::string_view("posix/"), std::string_view("right/")}) {
    if (zone.substr(0, variant.size()) == variant) zone.remove_prefix(variant.size());
  }
  if (zone.empty()) return std::nullopt;
  return std::string(zone);
}

// The zone a TZ value names, if ICU knows it. A leading ':' is allowed; a
// path is resolved to its zoneinfo name, following symbolic links
// (TZ=/etc/localtime).
std::optional<std::string> zoneFromTzValue(std::string_view value) {
  if (!value.empty() && value.front() == ':') value.remove_prefix(1);
  if (value.empty()) return std::nullopt;
  std::optional<std::string> zone;
  if (value.front() == '/') {
    zone = zoneFromZoneinfoPath(value);
    if (!zone) {
      std::error_code error;
      const auto resolved = std::filesystem::canonical(std::filesystem::path(value), error);
      if (!error) zone = zoneFromZoneinfoPath(resolved.string());
    }
  } else {
    zone = std::string(value);
  }
  if (!zone || !isKnownTimeZone(*zone)) return std::nullopt;
  return zone;
}

std::optional<std::string> firstNonEmpty(const EnvironmentLookup& environment,
                                         std::initializer_list<const char*> names) {
  for (const char* name : names) {
    auto value = environment(name);
    if (value && !value->empty()) return value;
  }
  return std::nullopt;
}

bool isPosixDefaultLocale(std::string_view name) {
  const std::string_view base = name.substr(0, name.find_first_of(".@"));
  return base.empty() || base == "C" || base == "POSIX";
}

}  // namespace

std::optional<int> firstWeekdayFromGlibcWeekData(std::int64_t weekStartDay, int firstWeekday) {
  if (firstWeekday < 1 || firstWeekday > 7) return std::nullopt;
  const std::int64_t year = weekStartDay / 10000;
  const std::int64_t month = weekStartDay / 100 % 100;
  const std::int64_t day = weekStartDay % 100;
  if (year < 1583 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  icu::GregorianCalendar calendar(*icu::TimeZone::getGMT(), status);
  if (U_FAILURE(status)) return std::nullopt;
  calendar.setLenient(false);
  calendar.clear();
  calendar.set(static_cast<int32_t>(year), static_cast<int32_t>(month - 1), static_cast<int32_t>(day));
  const int32_t weekday = calendar.get(UCAL_DAY_OF_WEEK, status);  // 1 = Sunday
  if (U_FAILURE(status)) return std::nullopt;
  return (weekday - 1 + firstWeekday - 1) % 7 + 1;
}

std::optional<int> glibcFirstWeekday(const std::string& localeName) {
  const locale_t locale = newlocale(LC_TIME_MASK, localeName.c_str(), static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return std::nullopt;
  // glibc returns both values through the string pointer: the day a week
  // starts on as a YYYYMMDD number in the pointer itself, and the first
  // weekday (1 = that day) in the first byte of the string.
  const char* weekStart = nl_langinfo_l(_NL_TIME_WEEK_1STDAY, locale);
  const char* firstWeekday = nl_langinfo_l(_NL_TIME_FIRST_WEEKDAY, locale);
  const auto weekStartDay =
      static_cast<std::int64_t>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(weekStart)));
  const int firstWeekdayOffset = firstWeekday != nullptr ? static_cast<unsigned char>(firstWeekday[0]) : 0;
  freelocale(locale);
  return firstWeekdayFromGlibcWeekData(weekStartDay, firstWeekdayOffset);
}

EnvironmentLookup processEnvironment() {
  return [](const std::string& name) -> std::optional<std::string> {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
}

std::optional<std::string> systemTimeZone() {
  // 1. /etc/localtime, a symbolic link into the zoneinfo folder on most
  //    distributions.
  std::error_code error;
  const auto target = std::filesystem::read_symlink("/etc/localtime", error);
  if (!error) {
    if (auto zone = zoneFromZoneinfoPath(target.string()); zone && isKnownTimeZone(*zone)) return zone;
  }
  // 2. Debian's /etc/timezone, one zone name on its first line.
  if (std::ifstream file("/etc/timezone"); file) {
    std::string line;
    if (std::getline(file, line)) {
      while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t')) line.pop_back();
      if (!line.empty() && isKnownTimeZone(line)) return line;
    }
  }
  // 3. ICU's own detection (which also reads TZ and compares zone files).
  const std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
  if (host) {
    icu::UnicodeString id;
    host->getID(id);
    if (auto zone = utf8FromUnicode(id); isKnownTimeZone(zone)) return zone;
  }
  return std::nullopt;
}

UserSettings readUserSettings(const EnvironmentLookup& environment) {
  return readUserSettings(environment, systemTimeZone);
}

UserSettings readUserSettings(const EnvironmentLookup& environment, const SystemTimeZoneLookup& systemZone) {
  UserSettings settings;

  // Time zone: TZ names it; TZ set but empty means UTC (as for the C
  // library); unset or unusable falls back to the system's zone, then UTC.
  const auto tz = environment("TZ");
  std::optional<std::string> zone;
  if (tz && tz->empty()) {
    zone = "UTC";
  } else if (tz) {
    zone = zoneFromTzValue(*tz);
  }
  if (!zone) zone = systemZone();
  if (!zone || !isKnownTimeZone(*zone)) zone = "UTC";
  settings.timeZoneId = *zone;

  // Locale: the first non-empty of LC_ALL, LC_TIME and LANG.
  const auto localeName = firstNonEmpty(environment, {"LC_ALL", "LC_TIME", "LANG"});
  const bool isDefault = !localeName || isPosixDefaultLocale(*localeName);
  settings.localeName = isDefault ? "en_US" : *localeName;

  // First weekday: the C library's data for that locale where it has it,
  // else ICU's default for the locale's region.
  std::optional<int> firstWeekday;
  if (!isDefault) firstWeekday = glibcFirstWeekday(settings.localeName);
  settings.firstWeekday = firstWeekday.value_or(Locale::make(settings.localeName).defaultFirstWeekday());
  return settings;
}

}  // namespace zelto::locale
