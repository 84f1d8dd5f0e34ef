#include "platform/locale/Locale.hpp"

#include "platform/locale/CalendarImplementation.hpp"
#include "platform/locale/IcuConversion.hpp"
#include "platform/locale/LocaleName.hpp"
#include "platform/locale/RelativeSpan.hpp"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/dtptngen.h>
#include <unicode/listformatter.h>
#include <unicode/measunit.h>
#include <unicode/numberformatter.h>
#include <unicode/smpdtfmt.h>

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <mutex>
#include <utility>

namespace zelto::locale {
namespace {

namespace number = icu::number;

int firstWeekdayOf(const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(locale, status));
  if (U_FAILURE(status) || !calendar) return UCAL_SUNDAY;
  const UCalendarDaysOfWeek weekday = calendar->getFirstDayOfWeek(status);
  return U_SUCCESS(status) ? static_cast<int>(weekday) : static_cast<int>(UCAL_SUNDAY);
}

// The locale with the Gregorian calendar forced: dates are always shown in
// the Gregorian calendar whatever the locale's own default calendar is.
icu::Locale gregorianFormattingLocale(const icu::Locale& locale) {
  icu::Locale result(locale);
  UErrorCode status = U_ZERO_ERROR;
  result.setKeywordValue("calendar", "gregorian", status);
  return U_SUCCESS(status) ? result : locale;
}

std::optional<std::string> formattedText(const number::FormattedNumber& formatted, UErrorCode status) {
  if (U_FAILURE(status)) return std::nullopt;
  const icu::UnicodeString text = formatted.toString(status);
  if (U_FAILURE(status) || text.isEmpty()) return std::nullopt;
  return utf8FromUnicode(text);
}

constexpr std::size_t relativeUnitCount = 4;

icu::MeasureUnit measureUnit(RelativeUnit unit) {
  switch (unit) {
    case RelativeUnit::day:
      return icu::MeasureUnit::getDay();
    case RelativeUnit::hour:
      return icu::MeasureUnit::getHour();
    case RelativeUnit::minute:
      return icu::MeasureUnit::getMinute();
    case RelativeUnit::second:
      break;
  }
  return icu::MeasureUnit::getSecond();
}

// An ICU format that one thread uses at a time. ICU's date formats change
// their calendar while formatting, so they cannot be shared freely, and
// copying one per call costs about twenty times what formatting does (see
// bench/CalendarBench.cpp), so callers take turns instead. List formats make
// no promise about threads either and take turns the same way.
template <typename Format>
class TurnTakingFormat {
 public:
  explicit TurnTakingFormat(std::unique_ptr<Format> format) : format_(std::move(format)) {}

  // Runs use(format) while holding the format.
  template <typename Use>
  auto withFormat(Use&& use) {
    const std::lock_guard lock(mutex_);
    return use(*format_);
  }

 private:
  std::mutex mutex_;
  std::unique_ptr<Format> format_;
};

// A date format and the time zone it was last set to, so that a run of
// calls in one zone sets it once.
struct ZonedDateFormat {
  std::unique_ptr<icu::DateFormat> format;
  std::string timeZoneId;
};

using SharedDateFormat = TurnTakingFormat<ZonedDateFormat>;
using SharedListFormat = TurnTakingFormat<icu::ListFormatter>;

std::unique_ptr<SharedDateFormat> sharedDateFormat(std::unique_ptr<icu::DateFormat> format, const icu::Locale& locale) {
  if (!format) return nullptr;
  // Dates are shown in the same calendar as they are computed in.
  auto calendar = prolepticGregorianCalendar(*icu::TimeZone::getGMT(), locale);
  if (!calendar) return nullptr;
  format->adoptCalendar(calendar.release());
  return std::make_unique<SharedDateFormat>(std::make_unique<ZonedDateFormat>(ZonedDateFormat{std::move(format), {}}));
}

}  // namespace

struct Locale::Implementation {
  std::string id;
  icu::Locale locale;
  icu::Locale formattingLocale;
  int firstWeekday = UCAL_SUNDAY;
  // Number formatters are immutable and safe to share between threads.
  number::LocalizedNumberFormatter groupedInteger;
  number::LocalizedNumberFormatter plainInteger;
  // A day, hour, minute or second count with its short unit name ("18 min"),
  // as ICU's short measure format writes each measure.
  std::array<number::LocalizedNumberFormatter, relativeUnitCount> unitFormatters;

  // Formats made on first use; the mutex guards the maps and members below.
  // Entries are never removed, so an entry's address stays valid after the
  // lock is released; each format then guards its own use.
  mutable std::mutex mutex;
  mutable std::map<std::pair<int, int>, number::LocalizedNumberFormatter> decimalFormatters;
  mutable std::unique_ptr<icu::DateTimePatternGenerator> patternGenerator;
  mutable std::map<std::string, std::unique_ptr<SharedDateFormat>, std::less<>> skeletonFormats;
  mutable std::unique_ptr<SharedDateFormat> fullDateFormat;
  mutable bool fullDateFormatMade = false;
  // Joins the measures of a relative span the way ICU's short measure
  // format does ("2 hr, 18 min").
  mutable std::unique_ptr<SharedListFormat> unitListFormat;
  mutable bool unitListFormatMade = false;

  const number::LocalizedNumberFormatter& decimalFormatter(int minimumFractionDigits, int maximumFractionDigits) const;
  SharedDateFormat* skeletonFormat(std::string_view skeleton) const;
  SharedDateFormat* fullDate() const;
  SharedListFormat* unitList() const;
};

const number::LocalizedNumberFormatter& Locale::Implementation::decimalFormatter(int minimumFractionDigits,
                                                                                 int maximumFractionDigits) const {
  const std::lock_guard lock(mutex);
  const auto key = std::make_pair(minimumFractionDigits, maximumFractionDigits);
  auto found = decimalFormatters.find(key);
  if (found == decimalFormatters.end()) {
    auto formatter = number::NumberFormatter::withLocale(locale)
                         .precision(number::Precision::minMaxFraction(minimumFractionDigits, maximumFractionDigits))
                         .roundingMode(UNUM_ROUND_HALFEVEN)
                         .grouping(UNUM_GROUPING_AUTO);
    found = decimalFormatters.emplace(key, std::move(formatter)).first;
  }
  return found->second;
}

SharedDateFormat* Locale::Implementation::skeletonFormat(std::string_view skeleton) const {
  // Skeletons are short field lists ("MMMd"); a long one is a caller's
  // mistake and is not kept.
  constexpr std::size_t longestSkeleton = 64;
  if (skeleton.size() > longestSkeleton) return nullptr;
  const std::lock_guard lock(mutex);
  if (const auto found = skeletonFormats.find(skeleton); found != skeletonFormats.end()) return found->second.get();
  UErrorCode status = U_ZERO_ERROR;
  if (!patternGenerator) {
    patternGenerator.reset(icu::DateTimePatternGenerator::createInstance(formattingLocale, status));
    if (U_FAILURE(status)) patternGenerator.reset();
    if (!patternGenerator) return nullptr;
  }
  std::unique_ptr<SharedDateFormat> format;
  const icu::UnicodeString pattern = patternGenerator->getBestPattern(unicodeFromUtf8(skeleton), status);
  if (U_SUCCESS(status)) {
    auto made = std::make_unique<icu::SimpleDateFormat>(pattern, formattingLocale, status);
    if (U_SUCCESS(status)) format = sharedDateFormat(std::move(made), formattingLocale);
  }
  // A skeleton ICU cannot use is remembered too, so it is not retried.
  return skeletonFormats.emplace(std::string(skeleton), std::move(format)).first->second.get();
}

SharedDateFormat* Locale::Implementation::fullDate() const {
  const std::lock_guard lock(mutex);
  if (!fullDateFormatMade) {
    fullDateFormatMade = true;
    fullDateFormat = sharedDateFormat(
        std::unique_ptr<icu::DateFormat>(icu::DateFormat::createDateInstance(icu::DateFormat::kFull, formattingLocale)),
        formattingLocale);
  }
  return fullDateFormat.get();
}

SharedListFormat* Locale::Implementation::unitList() const {
  const std::lock_guard lock(mutex);
  if (!unitListFormatMade) {
    unitListFormatMade = true;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::ListFormatter> made(
        icu::ListFormatter::createInstance(locale, ULISTFMT_TYPE_UNITS, ULISTFMT_WIDTH_SHORT, status));
    if (U_SUCCESS(status) && made) unitListFormat = std::make_unique<SharedListFormat>(std::move(made));
  }
  return unitListFormat.get();
}

Locale::Locale(std::shared_ptr<const Implementation> implementation) : implementation_(std::move(implementation)) {}

Locale Locale::make(const std::string& name) {
  const icu::Locale locale = icuLocaleFromName(name);
  // One shared implementation per locale for the whole process: its
  // formatter prototypes are costly to build and never change.
  static std::mutex cacheMutex;
  static std::map<std::string, std::shared_ptr<const Implementation>, std::less<>> cache;
  const std::lock_guard lock(cacheMutex);
  if (const auto found = cache.find(locale.getName()); found != cache.end()) return Locale(found->second);

  auto implementation = std::make_shared<Implementation>();
  implementation->id = locale.getName();
  implementation->locale = locale;
  implementation->formattingLocale = gregorianFormattingLocale(locale);
  implementation->firstWeekday = firstWeekdayOf(locale);
  implementation->groupedInteger = number::NumberFormatter::withLocale(locale).grouping(UNUM_GROUPING_AUTO);
  implementation->plainInteger = number::NumberFormatter::withLocale(locale).grouping(UNUM_GROUPING_OFF);
  for (std::size_t unit = 0; unit < relativeUnitCount; ++unit) {
    implementation->unitFormatters[unit] = number::NumberFormatter::withLocale(locale)
                                               .unit(measureUnit(static_cast<RelativeUnit>(unit)))
                                               .unitWidth(UNUM_UNIT_WIDTH_SHORT);
  }
  cache.emplace(implementation->id, implementation);
  return Locale(std::move(implementation));
}

bool Locale::isKnown(const std::string& name) { return knownIcuLocaleFromName(name).has_value(); }

const std::string& Locale::id() const { return implementation_->id; }

int Locale::defaultFirstWeekday() const { return implementation_->firstWeekday; }

std::string Locale::formatInteger(std::int64_t value, bool grouping) const {
  const auto& formatter = grouping ? implementation_->groupedInteger : implementation_->plainInteger;
  UErrorCode status = U_ZERO_ERROR;
  const auto formatted = formatter.formatInt(value, status);
  // ICU fails only when out of memory; plain ASCII digits are better than
  // no number at all.
  return formattedText(formatted, status).value_or(std::to_string(value));
}

std::optional<std::string> Locale::formatDecimal(double value, int minimumFractionDigits,
                                                 int maximumFractionDigits) const {
  // ICU accepts 0 to 999 fraction digits, minimum not above maximum.
  if (minimumFractionDigits < 0 || maximumFractionDigits > 999 || minimumFractionDigits > maximumFractionDigits) {
    return std::nullopt;
  }
  const auto& formatter = implementation_->decimalFormatter(minimumFractionDigits, maximumFractionDigits);
  UErrorCode status = U_ZERO_ERROR;
  const auto formatted = formatter.formatDouble(value, status);
  return formattedText(formatted, status);
}

namespace {

std::string formatWith(SharedDateFormat* shared, Date date, const Calendar& calendar) {
  const auto millis = icuMillisFromDate(date);
  if (!shared || !millis) return {};
  return shared->withFormat([&](ZonedDateFormat& zoned) {
    if (zoned.timeZoneId != calendar.timeZoneId()) {
      zoned.format->setTimeZone(*calendar.implementation().timeZone);
      zoned.timeZoneId = calendar.timeZoneId();
    }
    icu::UnicodeString text;
    zoned.format->format(*millis, text);
    return utf8FromUnicode(text);
  });
}

}  // namespace

std::string Locale::formatDate(Date date, std::string_view skeleton, const Calendar& calendar) const {
  return formatWith(implementation_->skeletonFormat(skeleton), date, calendar);
}

std::string Locale::formatFullDate(Date date, const Calendar& calendar) const {
  return formatWith(implementation_->fullDate(), date, calendar);
}

std::string Locale::formatRelative(Date date, Date now) const {
  const auto span = relativeSpan(date, now);
  if (!span) return {};
  // ICU's MeasureFormat builds a number formatter on every call (about 20 us
  // a span); formatting each measure with a kept unit formatter and joining
  // them with the unit list pattern gives the same text at a fraction.
  std::array<icu::UnicodeString, 2> parts;
  const std::size_t count = std::min(span->components.size(), parts.size());
  for (std::size_t index = 0; index < count; ++index) {
    const RelativeComponent& component = span->components[index];
    UErrorCode status = U_ZERO_ERROR;
    const auto& formatter = implementation_->unitFormatters[static_cast<std::size_t>(component.unit)];
    parts[index] = formatter.formatInt(component.value, status).toString(status);
    if (U_FAILURE(status)) return {};
  }
  if (count == 1) return utf8FromUnicode(parts[0]);
  SharedListFormat* list = implementation_->unitList();
  if (!list) return {};
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString text;
  list->withFormat(
      [&](icu::ListFormatter& format) { format.format(parts.data(), static_cast<int32_t>(count), text, status); });
  if (U_FAILURE(status)) return {};
  return utf8FromUnicode(text);
}

Date Locale::nextRelativeChange(Date date, Date now) const {
  return nextRelativeSpanChange(date, now).value_or(std::numeric_limits<double>::infinity());
}

std::string Locale::uppercased(std::string_view text) const {
  icu::UnicodeString unicode = unicodeFromUtf8(text);
  unicode.toUpper(implementation_->locale);
  return utf8FromUnicode(unicode);
}

}  // namespace zelto::locale
