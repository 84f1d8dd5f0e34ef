#include "platform/locale/Locale.hpp"

#include <gtest/gtest.h>
#include <unicode/measfmt.h>
#include <unicode/measunit.h>
#include <unicode/measure.h>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace zelto::locale {
namespace {

constexpr Date fromUnix(double unixSeconds) { return unixSeconds - referenceDateUnixSeconds; }

Calendar utc() { return *Calendar::make("UTC", 1); }

TEST(LocaleMake, ReadsBcp47AndPosixNames) {
  const std::vector<std::pair<std::string, std::string>> cases{{"de-DE", "de_DE"},
                                                               {"de_DE.UTF-8", "de_DE"},
                                                               {"de_DE.utf8@euro", "de_DE"},
                                                               {"de_DE@euro", "de_DE"},
                                                               {"sr_RS@latin", "sr_Latn_RS"},
                                                               {"en_US", "en_US"},
                                                               {"de", "de"},
                                                               {"ar-EG", "ar_EG"},
                                                               {"ar-EG-u-nu-arab", "ar_EG@numbers=arab"},
                                                               {"hi-IN-u-nu-deva", "hi_IN@numbers=deva"},
                                                               {"pt_BR.UTF-8", "pt_BR"}};
  for (const auto& [name, id] : cases) {
    EXPECT_EQ(Locale::make(name).id(), id) << name;
    EXPECT_TRUE(Locale::isKnown(name)) << name;
  }
}

TEST(LocaleMake, FallsBackToUnitedStatesEnglish) {
  // The C and POSIX locales mean en_US; the other names are unknown.
  for (const std::string& name : std::vector<std::string>{"", "C", "POSIX", "C.UTF-8", "C.utf8", "xx_YY", "zz", "und",
                                                          "!!", "de DE", "zz-Q", std::string(300, 'a')}) {
    EXPECT_EQ(Locale::make(name).id(), "en_US") << name;
    EXPECT_EQ(Locale::isKnown(name), name.empty() || name.front() == 'C' || name == "POSIX") << name;
  }
}

TEST(FormatInteger, GroupsAndUsesTheLocalesDigits) {
  struct Case {
    const char* locale;
    std::int64_t value;
    bool grouping;
    const char* text;
  };
  const std::vector<Case> cases{{"en_US", 1234567, true, "1,234,567"},
                                {"en_US", -1234, true, "-1,234"},
                                {"en_US", std::numeric_limits<std::int64_t>::min(), true, "-9,223,372,036,854,775,808"},
                                {"de_DE", 1234567, true, "1.234.567"},
                                // Arabic-Indic digits with the Arabic thousands separator U+066C.
                                {"ar_EG", 1234567, true, "\u0661\u066C\u0662\u0663\u0664\u066C\u0665\u0666\u0667"},
                                {"hi-IN-u-nu-deva", 1234567, true, "\u0967\u0968,\u0969\u096A,\u096B\u096C\u096D"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Locale::make(c.locale).formatInteger(c.value, c.grouping), c.text) << c.locale << " " << c.value;
  }
}

TEST(FormatDecimal, RefusesImpossibleFractionLimits) {
  const auto en = Locale::make("en_US");
  EXPECT_FALSE(en.formatDecimal(1.5, 2, 1).has_value());
  EXPECT_FALSE(en.formatDecimal(1.5, -1, 1).has_value());
  EXPECT_FALSE(en.formatDecimal(1.5, 0, 1000).has_value());
  EXPECT_TRUE(en.formatDecimal(1.5, 0, 999).has_value());
  // Half to even within the limits (the token counts show the rest).
  EXPECT_EQ(en.formatDecimal(2.5, 0, 0), "2");
  EXPECT_EQ(en.formatDecimal(1.0, 2, 2), "1.00");
}

TEST(FormatDate, AppliesTheLocalisedSkeleton) {
  const Date sunday = fromUnix(1741478400 + 10 * 3600);  // 2025-03-09 10:00Z
  struct Case {
    const char* locale;
    const char* skeleton;
    const char* text;
  };
  const std::vector<Case> cases{{"en_US", "MMM", "Mar"},           {"en_US", "d", "9"},
                                {"en_US", "MMMd", "Mar 9"},        {"de_DE", "MMM", "M\u00E4r"},
                                {"de_DE", "MMMd", "9. M\u00E4rz"}, {"ar_EG", "d", "\u0669"},
                                {"fr_FR", "MMM", "mars"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Locale::make(c.locale).formatDate(sunday, c.skeleton, utc()), c.text) << c.locale << " " << c.skeleton;
  }
}

TEST(FormatDate, UsesTheCalendarsTimeZone) {
  const Date lateSunday = fromUnix(1741543200);  // 2025-03-09 18:00Z, already 03:00 on the 10th in Tokyo
  const auto en = Locale::make("en_US");
  EXPECT_EQ(en.formatDate(lateSunday, "MMMd", utc()), "Mar 9");
  EXPECT_EQ(en.formatDate(lateSunday, "MMMd", *Calendar::make("Asia/Tokyo", 1)), "Mar 10");
  // The day shown is the calendar's day, before 1582 too.
  EXPECT_EQ(en.formatDate(*utc().gregorianDate(1500, 3, 1, 12), "MMMd", utc()), "Mar 1");
}

TEST(FormatFullDate, UsesTheFullDateStyleWithoutTime) {
  const Date wednesday = fromUnix(1741773600);  // 2025-03-12 10:00Z
  EXPECT_EQ(Locale::make("en_US").formatFullDate(wednesday, utc()), "Wednesday, March 12, 2025");
  EXPECT_EQ(Locale::make("de_DE").formatFullDate(wednesday, utc()), "Mittwoch, 12. M\u00E4rz 2025");
  // Shown in the Gregorian calendar even where the locale's own calendar is
  // another (Thai: Buddhist era).
  EXPECT_NE(Locale::make("th_TH").formatFullDate(wednesday, utc()).find("2025"), std::string::npos);
  EXPECT_EQ(Locale::make("en_US").formatDate(std::nan(""), "MMMd", utc()), "");
  EXPECT_EQ(Locale::make("en_US").formatFullDate(1e300, utc()), "");
}

TEST(FormatRelative, FollowsTheLocale) {
  const Date now = fromUnix(1741773600);
  const Date later = now + 2 * 3600 + 18 * 60;
  EXPECT_EQ(Locale::make("de_DE").formatRelative(later, now), "2 Std., 18 Min.");
  EXPECT_EQ(Locale::make("ar_EG").formatRelative(later, now), "\u0662 \u0633 \u0648\u0661\u0668 \u062F");
}

// ICU's own short measure format of the same span, as the reference.
std::string measureFormatted(const char* locale, const std::vector<std::pair<icu::MeasureUnit, std::int64_t>>& parts) {
  UErrorCode status = U_ZERO_ERROR;
  icu::MeasureFormat format{icu::Locale(locale), UMEASFMT_WIDTH_SHORT, status};
  std::vector<icu::Measure> measures;
  measures.reserve(parts.size());
  for (const auto& [unit, value] : parts) {
    measures.emplace_back(icu::Formattable(static_cast<int64_t>(value)), new icu::MeasureUnit(unit), status);
  }
  icu::UnicodeString text;
  icu::FieldPosition position;
  format.formatMeasures(measures.data(), static_cast<int32_t>(measures.size()), text, position, status);
  EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  std::string utf8;
  return text.toUTF8String(utf8);
}

TEST(FormatRelative, MatchesIcusMeasureFormatInManyLocales) {
  using icu::MeasureUnit;
  const std::vector<std::pair<double, std::vector<std::pair<MeasureUnit, std::int64_t>>>> spans{
      {2 * 3600 + 18 * 60, {{MeasureUnit::getHour(), 2}, {MeasureUnit::getMinute(), 18}}},
      {11 * 60 + 14, {{MeasureUnit::getMinute(), 11}, {MeasureUnit::getSecond(), 14}}},
      {4 * 86400 + 3 * 3600, {{MeasureUnit::getDay(), 4}, {MeasureUnit::getHour(), 3}}},
      {1 * 86400 + 1 * 3600, {{MeasureUnit::getDay(), 1}, {MeasureUnit::getHour(), 1}}},
      {22 * 86400 + 5 * 3600, {{MeasureUnit::getDay(), 22}, {MeasureUnit::getHour(), 5}}},
      {5 * 60, {{MeasureUnit::getMinute(), 5}}},
      {1, {{MeasureUnit::getSecond(), 1}}},
      {0, {{MeasureUnit::getSecond(), 0}}},
      {12345 * 86400.0, {{MeasureUnit::getDay(), 12345}}}};
  const Date now = fromUnix(1741773600);
  for (const char* locale : {"en_US", "de_DE", "ar_EG", "fr_FR", "ja_JP", "hi_IN", "tr_TR", "ru_RU", "pl_PL", "he_IL",
                             "zh_CN", "es_ES", "sr_Latn_RS"}) {
    const auto formatting = Locale::make(locale);
    for (const auto& [seconds, parts] : spans) {
      EXPECT_EQ(formatting.formatRelative(now + seconds, now), measureFormatted(locale, parts))
          << locale << " " << seconds;
    }
  }
}

TEST(FormatRelative, IsEmptyWithoutAFiniteSpan) {
  const auto en = Locale::make("en_US");
  EXPECT_EQ(en.formatRelative(std::nan(""), 0), "");
  EXPECT_EQ(en.formatRelative(0, std::numeric_limits<double>::infinity()), "");
  EXPECT_EQ(en.formatRelative(1e300, 0), "");
  EXPECT_TRUE(std::isinf(en.nextRelativeChange(std::nan(""), 0)));
}

TEST(NextRelativeChange, IsWhenTheTextChanges) {
  const auto en = Locale::make("en_US");
  const Date now = fromUnix(1741773600);
  const Date reset = now + 2 * 3600 + 18 * 60 + 30;  // "2 hr, 18 min" for 30 more seconds
  const Date change = en.nextRelativeChange(reset, now);
  EXPECT_EQ(en.formatRelative(reset, now + 30), "2 hr, 18 min");
  EXPECT_EQ(en.formatRelative(reset, change), "2 hr, 17 min");
}

TEST(Uppercased, FollowsTheLocalesCaseRules) {
  EXPECT_EQ(Locale::make("tr_TR").uppercased("istanbul"), "\u0130STANBUL");
  EXPECT_EQ(Locale::make("en_US").uppercased("istanbul"), "ISTANBUL");
  EXPECT_EQ(Locale::make("de_DE").uppercased("stra\u00DFe"), "STRASSE");
  EXPECT_EQ(Locale::make("en_US").uppercased("mar 10\u201316"), "MAR 10\u201316");
  EXPECT_EQ(Locale::make("en_US").uppercased("a\xFF"
                                             "b"),
            "A\uFFFD"
            "B");
  EXPECT_EQ(Locale::make("en_US").uppercased(""), "");
}

TEST(Locale, FormatsFromManyThreads) {
  const auto de = Locale::make("de_DE");
  const auto calendar = utc();
  const Date wednesday = fromUnix(1741773600);
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < mismatches.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        if (de.formatDate(wednesday, "MMMd", calendar) != "12. M\u00E4rz") ++mismatches[t];
        if (de.formatDecimal(1.24, 0, 1) != "1,2") ++mismatches[t];
        if (de.formatRelative(wednesday + 90, wednesday) != "1 Min., 30 Sek.") ++mismatches[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (const int count : mismatches) EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace zelto::locale
