#include "platform/locale/Locale.hpp"

#include "platform/locale/CalendarImplementation.hpp"
#include "platform/locale/IcuConversion.hpp"
#include "platform/locale/LocaleName.hpp"
#include "platform/locale/RelativeSpan.hpp"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/dtptngen.h>
#include <unicode/measfmt.h>
#include <unicode/measunit.h>
#include <unicode/measure.h>
#include <unicode/numberformatter.h>
#include <unicode/smpdtfmt.h>

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

}  // namespace

struct Locale::Implementation {
  std::string id;
  icu::Locale locale;
  icu::Locale formattingLocale;
  int firstWeekday = UCAL_SUNDAY;
  // Number formatters are immutable and safe to share between threads.
  number::LocalizedNumberFormatter groupedInteger;
  number::LocalizedNumberFormatter plainInteger;

  // Lazily made prototypes; the mutex guards the maps and members below.
  // Entries are never removed, so a prototype's address stays valid after
  // the lock is released, and prototypes are only read (cloned) from then on.
  mutable std::mutex mutex;
  mutable std::map<std::pair<int, int>, number::LocalizedNumberFormatter> decimalFormatters;
  mutable std::unique_ptr<icu::DateTimePatternGenerator> patternGenerator;
  mutable std::map<std::string, std::unique_ptr<const icu::SimpleDateFormat>, std::less<>> skeletonFormats;
  mutable std::unique_ptr<const icu::DateFormat> fullDateFormat;
  mutable bool fullDateFormatMade = false;
  mutable std::unique_ptr<const icu::MeasureFormat> measureFormat;
  mutable bool measureFormatMade = false;

  const number::LocalizedNumberFormatter& decimalFormatter(int minimumFractionDigits, int maximumFractionDigits) const;
  const icu::SimpleDateFormat* skeletonFormat(std::string_view skeleton) const;
  const icu::DateFormat* fullDate() const;
  const icu::MeasureFormat* measures() const;
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

const icu::SimpleDateFormat* Locale::Implementation::skeletonFormat(std::string_view skeleton) const {
  const std::lock_guard lock(mutex);
  if (const auto found = skeletonFormats.find(skeleton); found != skeletonFormats.end()) return found->second.get();
  UErrorCode status = U_ZERO_ERROR;
  if (!patternGenerator) {
    patternGenerator.reset(icu::DateTimePatternGenerator::createInstance(formattingLocale, status));
    if (U_FAILURE(status)) patternGenerator.reset();
    if (!patternGenerator) return nullptr;
  }
  std::unique_ptr<const icu::SimpleDateFormat> format;
  const icu::UnicodeString pattern = patternGenerator->getBestPattern(unicodeFromUtf8(skeleton), status);
  if (U_SUCCESS(status)) {
    auto made = std::make_unique<icu::SimpleDateFormat>(pattern, formattingLocale, status);
    if (U_SUCCESS(status)) format = std::move(made);
  }
  // A skeleton ICU cannot use is remembered too, so it is not retried.
  return skeletonFormats.emplace(std::string(skeleton), std::move(format)).first->second.get();
}

const icu::DateFormat* Locale::Implementation::fullDate() const {
  const std::lock_guard lock(mutex);
  if (!fullDateFormatMade) {
    fullDateFormatMade = true;
    fullDateFormat.reset(icu::DateFormat::createDateInstance(icu::DateFormat::kFull, formattingLocale));
  }
  return fullDateFormat.get();
}

const icu::MeasureFormat* Locale::Implementation::measures() const {
  const std::lock_guard lock(mutex);
  if (!measureFormatMade) {
    measureFormatMade = true;
    UErrorCode status = U_ZERO_ERROR;
    auto made = std::make_unique<icu::MeasureFormat>(locale, UMEASFMT_WIDTH_SHORT, status);
    if (U_SUCCESS(status)) measureFormat = std::move(made);
  }
  return measureFormat.get();
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
  cache.emplace(implementation->id, implementation);
  return Locale(std::move(implementation));
}

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

std::string formatWith(const icu::DateFormat* prototype, Date date, const Calendar& calendar) {
  const auto millis = icuMillisFromDate(date);
  if (!prototype || !millis) return {};
  // A date format mutates its calendar while formatting: use a private copy.
  const std::unique_ptr<icu::DateFormat> format(prototype->clone());
  if (!format) return {};
  format->setTimeZone(*calendar.implementation().timeZone);
  icu::UnicodeString text;
  format->format(*millis, text);
  return utf8FromUnicode(text);
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
  const icu::MeasureFormat* prototype = implementation_->measures();
  if (!span || !prototype) return {};
  UErrorCode status = U_ZERO_ERROR;
  std::vector<icu::Measure> measures;
  measures.reserve(span->components.size());
  for (const auto& component : span->components) {
    measures.emplace_back(icu::Formattable(static_cast<int64_t>(component.value)),
                          new icu::MeasureUnit(measureUnit(component.unit)), status);
  }
  if (U_FAILURE(status)) return {};
  const std::unique_ptr<icu::MeasureFormat> format(prototype->clone());
  if (!format) return {};
  icu::UnicodeString text;
  icu::FieldPosition position;
  format->formatMeasures(measures.data(), static_cast<int32_t>(measures.size()), text, position, status);
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
