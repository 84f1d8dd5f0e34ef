// What the calendar and formatting services cost per call. Each adapter
// benchmark runs beside a baseline that does the same work on one reused,
// mutable ICU object: the floor that cloning an immutable prototype per
// operation (for thread safety) is measured against.

#include "platform/locale/Calendar.hpp"
#include "platform/locale/Locale.hpp"

#include <benchmark/benchmark.h>
#include <unicode/dtptngen.h>
#include <unicode/gregocal.h>
#include <unicode/measfmt.h>
#include <unicode/measunit.h>
#include <unicode/measure.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <limits>
#include <memory>

namespace {

using zelto::Date;
using zelto::locale::Calendar;
using zelto::locale::Locale;

constexpr Date now = 763466400;  // 2025-03-12 10:00 Europe/Berlin
constexpr double millisFromDate(Date date) { return zelto::unixMillisFromDate(date); }

const Calendar& berlin() {
  static const Calendar calendar = *Calendar::make("Europe/Berlin", 2);
  return calendar;
}

// The calendar work of one week of usage: the current week, the chosen
// week's start, and for each of its seven days the day's instant and its
// day key components, plus the today test. 1 + 1 + 7 x 2 + 7 = 23 calls.
void BM_WeekSequence(benchmark::State& state) {
  const Calendar& calendar = berlin();
  for (auto _ : state) {
    const auto current = calendar.weekInterval(now);
    const auto start = calendar.addingWeeks(current->start, -1);
    std::int64_t sum = 0;
    for (int i = 0; i < 7; ++i) {
      const auto day = calendar.addingDays(*start, i);
      sum += calendar.gregorianDay(*day)->day;
      sum += calendar.isSameDay(*day, now) ? 1 : 0;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["calls"] = 23;
  state.counters["per_call"] = benchmark::Counter(23.0 * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WeekSequence);

// Baseline: the same sequence on one reused ICU calendar, no copies and no
// range checks.
void BM_WeekSequence_BaselineReusedIcuCalendar(benchmark::State& state) {
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone("Europe/Berlin"));
  icu::GregorianCalendar calendar(*zone, status);
  calendar.setGregorianChange(-std::numeric_limits<double>::max(), status);  // proleptic, as the adapter's
  calendar.setFirstDayOfWeek(UCAL_MONDAY);
  for (auto _ : state) {
    calendar.setTime(millisFromDate(now), status);
    const int32_t back = (calendar.get(UCAL_DAY_OF_WEEK, status) - UCAL_MONDAY + 7) % 7;
    const int32_t year = calendar.get(UCAL_EXTENDED_YEAR, status);
    const int32_t month = calendar.get(UCAL_MONTH, status);
    const int32_t date = calendar.get(UCAL_DATE, status);
    calendar.clear();
    calendar.set(UCAL_EXTENDED_YEAR, year);
    calendar.set(UCAL_MONTH, month);
    calendar.set(UCAL_DATE, date - back);
    const UDate weekStart = calendar.getTime(status);
    calendar.set(UCAL_DATE, date - back + 7);
    benchmark::DoNotOptimize(calendar.getTime(status));
    calendar.setTime(weekStart, status);
    calendar.add(UCAL_WEEK_OF_YEAR, -1, status);
    const UDate start = calendar.getTime(status);
    calendar.setTime(millisFromDate(now), status);
    const int32_t today = calendar.get(UCAL_JULIAN_DAY, status);
    std::int64_t sum = 0;
    for (int i = 0; i < 7; ++i) {
      calendar.setTime(start, status);
      calendar.add(UCAL_DATE, i, status);
      sum +=
          calendar.get(UCAL_DATE, status) + calendar.get(UCAL_MONTH, status) + calendar.get(UCAL_EXTENDED_YEAR, status);
      sum += calendar.get(UCAL_JULIAN_DAY, status) == today ? 1 : 0;
    }
    benchmark::DoNotOptimize(sum);
  }
  if (U_FAILURE(status)) state.SkipWithError("ICU failed");
}
BENCHMARK(BM_WeekSequence_BaselineReusedIcuCalendar);

void BM_WeekInterval(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(berlin().weekInterval(now));
}
BENCHMARK(BM_WeekInterval);

void BM_AddingDays(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(berlin().addingDays(now, 3));
}
BENCHMARK(BM_AddingDays);

void BM_GregorianDay(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(berlin().gregorianDay(now));
}
BENCHMARK(BM_GregorianDay);

void BM_DaysBetween(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(berlin().daysBetween(now - 400 * 86400.0, now));
}
BENCHMARK(BM_DaysBetween);

// Making a calendar loads its time zone: what a per-request calendar costs.
void BM_CalendarMake(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Calendar::make("Europe/Berlin", 2));
}
BENCHMARK(BM_CalendarMake);

void BM_LocaleMakeCached(benchmark::State& state) {
  Locale::make("de_DE.UTF-8");
  for (auto _ : state) benchmark::DoNotOptimize(Locale::make("de_DE.UTF-8"));
}
BENCHMARK(BM_LocaleMakeCached);

void BM_FormatDateMMMd(benchmark::State& state) {
  const Locale locale = Locale::make("en_US");
  for (auto _ : state) benchmark::DoNotOptimize(locale.formatDate(now, "MMMd", berlin()));
}
BENCHMARK(BM_FormatDateMMMd);

// Baseline: one reused date format for the skeleton's pattern.
void BM_FormatDateMMMd_BaselineReusedIcuFormat(benchmark::State& state) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale locale("en_US");
  const std::unique_ptr<icu::DateTimePatternGenerator> generator(
      icu::DateTimePatternGenerator::createInstance(locale, status));
  icu::SimpleDateFormat format(generator->getBestPattern("MMMd", status), locale, status);
  format.adoptTimeZone(icu::TimeZone::createTimeZone("Europe/Berlin"));
  for (auto _ : state) {
    icu::UnicodeString text;
    format.format(millisFromDate(now), text);
    std::string utf8;
    benchmark::DoNotOptimize(text.toUTF8String(utf8));
  }
  if (U_FAILURE(status)) state.SkipWithError("ICU failed");
}
BENCHMARK(BM_FormatDateMMMd_BaselineReusedIcuFormat);

void BM_FormatDecimal(benchmark::State& state) {
  const Locale locale = Locale::make("en_US");
  for (auto _ : state) benchmark::DoNotOptimize(locale.formatDecimal(1.24, 0, 1));
}
BENCHMARK(BM_FormatDecimal);

void BM_FormatRelative(benchmark::State& state) {
  const Locale locale = Locale::make("en_US");
  for (auto _ : state) benchmark::DoNotOptimize(locale.formatRelative(now + 8310, now));
}
BENCHMARK(BM_FormatRelative);

// Baseline: ICU's own short measure format, reused, for the same span.
void BM_FormatRelative_BaselineReusedIcuMeasureFormat(benchmark::State& state) {
  UErrorCode status = U_ZERO_ERROR;
  icu::MeasureFormat format(icu::Locale("en_US"), UMEASFMT_WIDTH_SHORT, status);
  for (auto _ : state) {
    const icu::Measure measures[2] = {
        icu::Measure(icu::Formattable(int64_t{2}), new icu::MeasureUnit(icu::MeasureUnit::getHour()), status),
        icu::Measure(icu::Formattable(int64_t{18}), new icu::MeasureUnit(icu::MeasureUnit::getMinute()), status)};
    icu::UnicodeString text;
    icu::FieldPosition position;
    format.formatMeasures(measures, 2, text, position, status);
    std::string utf8;
    benchmark::DoNotOptimize(text.toUTF8String(utf8));
  }
  if (U_FAILURE(status)) state.SkipWithError("ICU failed");
}
BENCHMARK(BM_FormatRelative_BaselineReusedIcuMeasureFormat);

}  // namespace

BENCHMARK_MAIN();
