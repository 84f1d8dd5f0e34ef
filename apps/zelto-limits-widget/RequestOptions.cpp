#include "apps/zelto-limits-widget/RequestOptions.hpp"

#include "apps/zelto-limits-widget/IsoDate.hpp"

namespace zelto::cli {

host::RequestEnvironment resolveRequest(const RequestOptions& options, const locale::EnvironmentLookup& environment) {
  const locale::UserSettings user = locale::readUserSettings(environment);

  const std::string timeZone = options.timeZone.value_or(user.timeZoneId);
  const std::string localeName = options.localeName.value_or(user.localeName);
  auto userLocale = locale::Locale::make(localeName);
  // A locale given on the command line brings its own first weekday unless
  // one is given too.
  const int firstWeekday =
      options.firstWeekday.value_or(options.localeName ? userLocale.defaultFirstWeekday() : user.firstWeekday);
  if (firstWeekday < 1 || firstWeekday > 7) {
    throw UsageError("--first-weekday: expected 1 (Sunday) to 7 (Saturday), found " + std::to_string(firstWeekday));
  }
  auto calendar = locale::Calendar::make(timeZone, firstWeekday);
  if (!calendar) throw UsageError("--time-zone: unknown time zone \"" + timeZone + "\"");

  Date now = systemNow();
  if (options.now) {
    auto parsed = parseIso8601(*options.now, *calendar);
    if (!parsed) {
      throw UsageError("--now: expected an ISO-8601 date and time such as 2025-03-12T10:00:00+01:00, found \"" +
                       *options.now + "\"");
    }
    now = *parsed;
  }

  return host::RequestEnvironment{now, *calendar, userLocale};
}

}  // namespace zelto::cli
