#include "widget/model/ValueFormatting.hpp"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

#include "tests/model/ModelTestSupport.hpp"

namespace zelto {
namespace {

using testing::localDate;
using testing::makeCalendar;

struct TokenCase {
  std::int64_t count;
  const char* text;
};

void expectTokens(const char* localeName, const std::vector<TokenCase>& cases) {
  const auto locale = locale::Locale::make(localeName);
  for (const TokenCase& c : cases)
    EXPECT_EQ(abbreviatedTokens(c.count, locale), c.text) << localeName << " " << c.count;
}

TEST(AbbreviatedTokens, UnitedStatesEnglish) {
  // Half to even: 1250, 1350 and, without decimals, 10500. The scale is
  // never promoted: 999999 is 1,000K.
  expectTokens("en_US", {{std::numeric_limits<std::int64_t>::min(), "0"},
                         {-5, "0"},
                         {0, "0"},
                         {999, "999"},
                         {1000, "1K"},
                         {1250, "1.2K"},
                         {1350, "1.4K"},
                         {1249, "1.2K"},
                         {9960, "10K"},
                         {10000, "10K"},
                         {10500, "10K"},
                         {11500, "12K"},
                         {420000, "420K"},
                         {999999, "1,000K"},
                         {1000000, "1M"},
                         {1240000, "1.2M"},
                         {12400000, "12M"},
                         {48600000, "49M"},
                         {999999999, "1,000M"},
                         {1000000000, "1B"},
                         {1500000000, "1.5B"},
                         {2400000000000, "2,400B"},
                         {std::numeric_limits<std::int64_t>::max(), "9,223,372,037B"}});
}

TEST(AbbreviatedTokens, GermanUsesCommaDecimalsAndDotGrouping) {
  expectTokens("de_DE",
               {{999, "999"}, {1250, "1,2K"}, {1240000, "1,2M"}, {999999, "1.000K"}, {2400000000000, "2.400B"}});
}

TEST(AbbreviatedTokens, ArabicEgyptUsesArabicIndicDigits) {
  // Arabic-Indic digits, U+066B as decimal and U+066C as grouping separator.
  expectTokens("ar-EG", {{-5, "\u0660"},
                         {999, "\u0669\u0669\u0669"},
                         {1240000, "\u0661\u066b\u0662M"},
                         {999999, "\u0661\u066c\u0660\u0660\u0660K"}});
}

TEST(AbbreviatedTokens, DevanagariDigitsByLocaleExtension) {
  expectTokens("hi-IN-u-nu-deva", {{999, "\u096f\u096f\u096f"}, {1500000000, "\u0967.\u096bB"}});
}

TEST(RangeLabel, JoinsMonthsAndDaysAndUpperCases) {
  struct Case {
    const char* localeName;
    std::array<int, 3> start;  // year, month, day of the first day
    std::array<int, 3> end;    // and of the seventh
    const char* label;
  };
  const Case cases[] = {
      {"en_US", {2025, 3, 10}, {2025, 3, 16}, "MAR 10\u201316"},
      {"en_US", {2025, 3, 31}, {2025, 4, 6}, "MAR 31\u2013APR 6"},
      {"en_US", {2025, 12, 29}, {2026, 1, 4}, "DEC 29\u2013JAN 4"},
      {"en_US", {2025, 3, 24}, {2025, 3, 30}, "MAR 24\u201330"},       // summer time begins
      {"de_DE", {2025, 3, 10}, {2025, 3, 16}, "M\u00c4R 10\u201316"},  // stand-alone "Mär"
      {"de_DE", {2025, 12, 29}, {2026, 1, 4}, "DEZ 29\u2013JAN 4"},
      {"fr_FR", {2025, 12, 29}, {2026, 1, 4}, "D\u00c9C. 29\u2013JANV. 4"},  // the period stays
      {"fr_FR", {2025, 3, 10}, {2025, 3, 16}, "MARS 10\u201316"},
      {"tr_TR", {2025, 3, 31}, {2025, 4, 6}, "MAR 31\u2013N\u0130S 6"},  // Turkish dotted capital I
  };
  const auto calendar = makeCalendar("Europe/Berlin", testing::monday);
  for (const Case& c : cases) {
    ZeltoUsageWeek week;
    week.startDate = localDate(calendar, c.start[0], c.start[1], c.start[2]);
    week.endDate = localDate(calendar, c.end[0], c.end[1], c.end[2]);
    EXPECT_EQ(rangeLabel(week, locale::Locale::make(c.localeName), calendar), c.label);
  }
}

TEST(RangeLabel, FollowsTheCalendarItIsGiven) {
  const auto utc = makeCalendar("UTC", testing::monday);
  ZeltoUsageWeek week;
  week.startDate = localDate(utc, 2025, 3, 10);
  week.endDate = localDate(utc, 2025, 3, 16);
  const auto english = locale::Locale::make("en_US");
  EXPECT_EQ(rangeLabel(week, english, utc), "MAR 10\u201316");
  // Midnight in UTC is the previous evening in New York.
  EXPECT_EQ(rangeLabel(week, english, makeCalendar("America/New_York", testing::sunday)), "MAR 9\u201315");
  // And already the morning of the same day in Tokyo.
  EXPECT_EQ(rangeLabel(week, english, makeCalendar("Asia/Tokyo", testing::sunday)), "MAR 10\u201316");
}

}  // namespace
}  // namespace zelto
