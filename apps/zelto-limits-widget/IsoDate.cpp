#include "apps/zelto-limits-widget/IsoDate.hpp"

#include <unicode/gregocal.h>
#include <unicode/parsepos.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <array>
#include <chrono>
#include <limits>
#include <memory>

namespace zelto::cli {
namespace {

std::optional<Date> parseWith(const char* pattern, const icu::UnicodeString& text, const locale::Calendar& calendar) {
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleDateFormat format(icu::UnicodeString(pattern, -1, US_INV), icu::Locale::getRoot(), status);
  if (U_FAILURE(status)) return std::nullopt;
  std::unique_ptr<icu::TimeZone> zone(
      icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(calendar.timeZoneId())));
  auto* gregorian = new icu::GregorianCalendar(zone.release(), icu::Locale::getRoot(), status);
  if (U_FAILURE(status)) {
    delete gregorian;
    return std::nullopt;
  }
  // Proleptic Gregorian throughout, like the rest of the system.
  gregorian->setGregorianChange(-std::numeric_limits<double>::max(), status);
  format.adoptCalendar(gregorian);
  // After adopting the calendar, which brings its own leniency: 2025-02-30 is refused.
  format.setLenient(false);
  icu::ParsePosition position(0);
  const UDate millis = format.parse(text, position);
  // The whole text must be consumed: "2025-03-12T10:00:00junk" is refused.
  if (position.getErrorIndex() >= 0 || position.getIndex() != text.length()) return std::nullopt;
  return dateFromUnixMillis(millis);
}

}  // namespace

std::optional<Date> parseIso8601(const std::string& text, const locale::Calendar& calendar) {
  // Most specific first; "XXX" takes both "Z" and "+01:00".
  static constexpr std::array patterns = {
      "yyyy-MM-dd'T'HH:mm:ss.SSSXXX",
      "yyyy-MM-dd'T'HH:mm:ssXXX",
      "yyyy-MM-dd'T'HH:mmXXX",
      "yyyy-MM-dd'T'HH:mm:ss.SSS",
      "yyyy-MM-dd'T'HH:mm:ss",
      "yyyy-MM-dd'T'HH:mm",
      "yyyy-MM-dd",
  };
  const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
  for (const char* pattern : patterns) {
    if (auto date = parseWith(pattern, unicode, calendar)) return date;
  }
  return std::nullopt;
}

Date systemNow() {
  using namespace std::chrono;
  // Whole seconds: nothing the widget shows is finer, and entries then
  // print as plain integers.
  const auto unixSeconds = duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<double>(unixSeconds) - referenceDateUnixSeconds;
}

}  // namespace zelto::cli
