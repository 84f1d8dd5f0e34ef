#include "apps/zelto-limits-widget/RequestOptions.hpp"

#include <charconv>
#include <system_error>
#include <variant>

#include "apps/zelto-limits-widget/IsoDate.hpp"
#include "platform/locale/Iso8601.hpp"

namespace zelto::cli {
namespace {

Date parseNow(const std::string& text, const locale::Calendar& calendar) {
  const auto parsed = locale::parseIso8601(text, calendar);
  if (const Date* date = std::get_if<Date>(&parsed)) return *date;
  if (std::get<locale::Iso8601Failure>(parsed) == locale::Iso8601Failure::nonexistentLocalTime) {
    throw UsageError("--now: the local time \"" + text + "\" does not exist in the time zone " + calendar.timeZoneId() +
                     " (its clocks skip it)");
  }
  throw UsageError("--now: expected an ISO-8601 date and time such as 2025-03-12T10:00:00+01:00, found \"" + text +
                   "\"");
}

}  // namespace

std::int64_t parseWeekOffset(const std::string& text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 10);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    throw UsageError("--offset: expected a whole decimal number within the signed 64-bit range, found \"" + text +
                     "\"");
  }
  return value;
}

host::RequestEnvironment resolveRequest(const RequestOptions& options, const locale::EnvironmentLookup& environment) {
  const locale::UserSettings user = locale::readUserSettings(environment);

  const std::string timeZone = options.timeZone.value_or(user.timeZoneId);
  if (options.localeName && !locale::Locale::isKnown(*options.localeName)) {
    throw UsageError("--locale: unknown locale \"" + *options.localeName + "\"");
  }
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
  if (options.now) now = parseNow(*options.now, *calendar);

  return host::RequestEnvironment{now, *calendar, userLocale};
}

}  // namespace zelto::cli
