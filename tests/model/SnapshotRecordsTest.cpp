#include "widget/model/SnapshotRecords.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace zelto {
namespace {

struct RemainingCase {
  std::int64_t usedPercent;
  std::int64_t remaining;
};

class RemainingPercent : public ::testing::TestWithParam<RemainingCase> {};

TEST_P(RemainingPercent, IsHundredMinusUsedClampedToPercentRange) {
  ZeltoLimitWindow window{"w", "Weekly", GetParam().usedPercent, std::nullopt, std::nullopt};
  EXPECT_EQ(window.remainingPercent(), GetParam().remaining);
}

INSTANTIATE_TEST_SUITE_P(Windows, RemainingPercent,
                         ::testing::Values(RemainingCase{28, 72}, RemainingCase{0, 100}, RemainingCase{100, 0},
                                           RemainingCase{1, 99}, RemainingCase{99, 1}, RemainingCase{120, 0},
                                           RemainingCase{-5, 100},
                                           RemainingCase{std::numeric_limits<std::int64_t>::min(), 100},
                                           RemainingCase{std::numeric_limits<std::int64_t>::max(), 0}));

struct DisplayNameCase {
  const char* label;
  std::string name;
  std::optional<std::string> email;
  std::string displayName;
};

class DisplayName : public ::testing::TestWithParam<DisplayNameCase> {};

TEST_P(DisplayName, PrefersTrimmedNameThenEmailThenFallback) {
  ZeltoAccountSnapshot account;
  account.id = "a";
  account.name = GetParam().name;
  account.email = GetParam().email;
  EXPECT_EQ(account.displayName(), GetParam().displayName);
}

INSTANTIATE_TEST_SUITE_P(
    Accounts, DisplayName,
    ::testing::Values(DisplayNameCase{"Plain", "Personal", std::nullopt, "Personal"},
                      DisplayNameCase{"TrimmedOnBothEnds", "  Work \t", "w@example.com", "Work"},
                      DisplayNameCase{"InnerSpaceKept", " Side  project ", std::nullopt, "Side  project"},
                      DisplayNameCase{"BlankFallsBackToEmail", "   ", "  me@example.com ", "  me@example.com "},
                      DisplayNameCase{"EmptyEmailStillWins", "", "", ""},
                      DisplayNameCase{"EmptyWithoutEmail", "", std::nullopt, "Zelto Account"},
                      DisplayNameCase{"LineBreaksAreTrimmed", "\r\nTeam\n", std::nullopt, "Team"},
                      // No-break space, line separator, ideographic space, next line.
                      DisplayNameCase{"UnicodeSpacesAreTrimmed", "\u00a0\u2028Lab\u3000\u0085", std::nullopt, "Lab"},
                      DisplayNameCase{"OnlyUnicodeSpaces", "\u2003\u00a0", std::nullopt, "Zelto Account"},
                      // A zero-width space is not white space.
                      DisplayNameCase{"ZeroWidthSpaceIsText", "\u200b", std::nullopt, "\u200b"}),
    [](const auto& info) { return std::string(info.param.label); });

struct PlanCase {
  const char* label;
  std::optional<std::string> plan;
  std::optional<std::string> displayName;
};

class PlanDisplayName : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanDisplayName, UpperCasesTheFirstCharacterOnly) {
  ZeltoLimitSnapshot limits;
  limits.plan = GetParam().plan;
  EXPECT_EQ(limits.planDisplayName(), GetParam().displayName);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, PlanDisplayName,
    ::testing::Values(PlanCase{"Absent", std::nullopt, std::nullopt}, PlanCase{"Empty", "", std::nullopt},
                      PlanCase{"LowerCase", "plus", "Plus"}, PlanCase{"Capitals", "PRO", "PRO"},
                      PlanCase{"RestUnchanged", "team pLaN", "Team pLaN"}, PlanCase{"OneCharacter", "x", "X"},
                      // The first user-perceived character may be several code points.
                      PlanCase{"CombiningMark", "e\u0301lite", "E\u0301lite"},
                      // Locale-independent full mapping: no Turkish dotted I, sharp s widens.
                      PlanCase{"DotlessMappingIsRoot", "ilk", "Ilk"}, PlanCase{"SharpS", "\u00dfeta", "SSeta"},
                      PlanCase{"Ligature", "\ufb01rst", "FIrst"}, PlanCase{"Greek", "\u03b1lpha", "\u0391lpha"},
                      PlanCase{"Digit", "2x", "2x"}, PlanCase{"LeadingSpace", " plus", " plus"},
                      PlanCase{"Emoji", "\U0001F680 rocket", "\U0001F680 rocket"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SnapshotRecords, EqualityComparesEveryField) {
  ZeltoAccountSnapshot a;
  a.id = "a";
  a.name = "A";
  ZeltoAccountSnapshot b = a;
  EXPECT_EQ(a, b);
  b.email = "";
  EXPECT_NE(a, b);  // an empty e-mail is not an absent one
  b = a;
  b.usage = ZeltoUsageSnapshot{};
  EXPECT_NE(a, b);
  b = a;
  a.limits = ZeltoLimitSnapshot{};
  b.limits = ZeltoLimitSnapshot{};
  b.limits->windows.push_back(ZeltoLimitWindow{});
  EXPECT_NE(a, b);
}

}  // namespace
}  // namespace zelto
