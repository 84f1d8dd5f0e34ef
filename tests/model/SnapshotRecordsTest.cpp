#include "widget/model/SnapshotRecords.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace zelto {
namespace {

TEST(RemainingPercent, IsHundredMinusUsedClampedToPercentRange) {
  constexpr auto minimum = std::numeric_limits<std::int64_t>::min(), maximum = std::numeric_limits<std::int64_t>::max();
  const std::pair<std::int64_t, std::int64_t> cases[] = {{28, 72}, {0, 100},  {100, 0},       {1, 99},     {99, 1},
                                                         {120, 0}, {-5, 100}, {minimum, 100}, {maximum, 0}};
  for (const auto& [usedPercent, remaining] : cases) {
    EXPECT_EQ((ZeltoLimitWindow{"w", "Weekly", usedPercent, std::nullopt, std::nullopt}.remainingPercent()), remaining)
        << usedPercent;
  }
}

TEST(DisplayName, PrefersTrimmedNameThenEmailThenFallback) {
  struct Case {
    std::string name;
    std::optional<std::string> email;
    std::string displayName;
  };
  const Case cases[] = {
      {"Personal", std::nullopt, "Personal"},
      {"  Work \t", "w@example.com", "Work"},
      {" Side  project ", std::nullopt, "Side  project"},  // inner space kept
      {"   ", "  me@example.com ", "  me@example.com "},   // the e-mail exactly as stored
      {"", "", ""},                                        // an empty e-mail still wins
      {"", std::nullopt, "Zelto Account"},
      {"\r\nTeam\n", std::nullopt, "Team"},
      {"\u00a0\u2028Lab\u3000\u0085", std::nullopt, "Lab"},  // Unicode white space
      {"\u2003\u00a0", std::nullopt, "Zelto Account"},
      {"\u200b", std::nullopt, "\u200b"},  // a zero-width space is text
  };
  for (const Case& c : cases) {
    ZeltoAccountSnapshot account;
    account.name = c.name;
    account.email = c.email;
    EXPECT_EQ(account.displayName(), c.displayName) << c.name;
  }
}

TEST(PlanDisplayName, UpperCasesTheFirstCharacterOnly) {
  const std::pair<std::optional<std::string>, std::optional<std::string>> cases[] = {
      {std::nullopt, std::nullopt},
      {"", std::nullopt},
      {"plus", "Plus"},
      {"PRO", "PRO"},
      {"team pLaN", "Team pLaN"},
      {"x", "X"},
      {"e\u0301lite", "E\u0301lite"},  // one user-perceived character of two code points
      {"ilk", "Ilk"},                  // locale-independent: no Turkish dotted I
      {"\u00dfeta", "SSeta"},          // full mapping: sharp s widens
      {"\ufb01rst", "FIrst"},
      {"\u03b1lpha", "\u0391lpha"},
      {"2x", "2x"},
      {" plus", " plus"},
      {"\U0001F680 rocket", "\U0001F680 rocket"}};
  for (const auto& [plan, label] : cases) {
    ZeltoLimitSnapshot limits;
    limits.plan = plan;
    EXPECT_EQ(limits.planDisplayName(), label) << plan.value_or("(absent)");
  }
}

}  // namespace
}  // namespace zelto
