#include "platform/locale/Iso8601.hpp"

#include "platform/locale/CalendarImplementation.hpp"
#include "platform/locale/IcuConversion.hpp"

#include <unicode/parsepos.h>
#include <unicode/smpdtfmt.h>

#include <array>
#include <optional>

namespace zelto::locale {
namespace {

struct Pattern {
  const char* text;
  bool hasZone;  // "XXX" takes both "Z" and "+01:00"
};

// Most specific first.
constexpr std::array<Pattern, 7> patterns{{
    {"yyyy-MM-dd'T'HH:mm:ss.SSSXXX", true},
    {"yyyy-MM-dd'T'HH:mm:ssXXX", true},
    {"yyyy-MM-dd'T'HH:mmXXX", true},
    {"yyyy-MM-dd'T'HH:mm:ss.SSS", false},
    {"yyyy-MM-dd'T'HH:mm:ss", false},
    {"yyyy-MM-dd'T'HH:mm", false},
    {"yyyy-MM-dd", false},
}};

std::optional<Date> parseWith(const Pattern& pattern, const icu::UnicodeString& text,
                              const Calendar::Implementation& calendar) {
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleDateFormat format(icu::UnicodeString(pattern.text, -1, US_INV), icu::Locale::getRoot(), status);
  auto working = calendar.workingCopy();
  if (U_FAILURE(status) || !working) return std::nullopt;
  format.adoptCalendar(working.release());
  // After adopting the calendar, which brings its own leniency: 2025-02-30
  // is refused, and so is a local time that the zone skips.
  format.setLenient(false);
  icu::ParsePosition position(0);
  const UDate millis = format.parse(text, position);
  // The whole text must be consumed: "2025-03-12T10:00:00junk" is refused.
  if (position.getErrorIndex() >= 0 || position.getIndex() != text.length()) return std::nullopt;
  return dateFromIcuMillis(millis);
}

}  // namespace

std::variant<Date, Iso8601Failure> parseIso8601(std::string_view text, const Calendar& calendar) {
  static const Calendar utc = *Calendar::make("UTC", 1);
  const icu::UnicodeString unicode = unicodeFromUtf8(text);
  bool skippedLocalTime = false;
  for (const Pattern& pattern : patterns) {
    if (auto date = parseWith(pattern, unicode, calendar.implementation())) return *date;
    // A local time that reads in UTC, where no time is skipped, but not in
    // the calendar's zone lies in that zone's gap.
    if (!pattern.hasZone && parseWith(pattern, unicode, utc.implementation())) skippedLocalTime = true;
  }
  return skippedLocalTime ? Iso8601Failure::nonexistentLocalTime : Iso8601Failure::malformed;
}

}  // namespace zelto::locale
