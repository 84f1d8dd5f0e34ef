#include "widget/model/SnapshotJson.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "tests/model/ModelTestSupport.hpp"

namespace zelto {
namespace {

using testing::readFixture;
using testing::readSourceFile;

// A minimal valid dashboard with `window` as the one window of one account.
std::string dashboardWithWindow(const std::string& window) {
  return R"({"updatedAt":0,"accounts":[{"id":"a","name":"A","limits":{"fetchedAt":0,"windows":[)" + window +
         R"(],"resetCredits":[]}}]})";
}

std::string usedPercent(const std::string& number) {
  return dashboardWithWindow(R"({"id":"w","title":"t","usedPercent":)" + number + "}");
}

std::string dashboardWithUpdatedAt(const std::string& number) {
  return R"({"updatedAt":)" + number + R"(,"accounts":[]})";
}

TEST(SnapshotJson, WorkedExampleReadsEveryMember) {
  const auto result = decodeDashboardSnapshot(readFixture("dashboard-worked-example.json"));
  ASSERT_TRUE(result.ok()) << result.error().describe();

  ZeltoDashboardSnapshot expected;
  expected.updatedAt = 763291800;
  ZeltoAccountSnapshot account;
  account.id = "personal";
  account.name = "Personal";
  account.limits = ZeltoLimitSnapshot{763291800,
                                      "plus",
                                      {ZeltoLimitWindow{"zelto-300", "5-hour", 28, 763299840, 300}},
                                      "0",
                                      {ZeltoResetCredit{"preview-1", "Full reset", 764069400}}};
  ZeltoUsageSnapshot usage;
  usage.fetchedAt = 763291800;
  usage.dailyUsageBuckets = {{"2025-03-09", 1240000}, {"2025-03-10", 420000}};
  usage.summary.currentStreakDays = 6;
  usage.summary.lifetimeTokens = 48600000;
  account.usage = usage;
  expected.accounts.push_back(account);
  EXPECT_EQ(result.value(), expected);

  const ZeltoAccountSnapshot& read = result.value().accounts[0];
  EXPECT_EQ(read.displayName(), "Personal");
  EXPECT_EQ(read.limits->planDisplayName(), "Plus");
  EXPECT_EQ(read.limits->windows[0].remainingPercent(), 72);
}

TEST(SnapshotJson, UnknownKeysAndNullOptionalsAtEveryLevelAreSkipped) {
  const auto result = decodeDashboardSnapshot(readFixture("dashboard-future-fields.json"));
  ASSERT_TRUE(result.ok()) << result.error().describe();
  const ZeltoAccountSnapshot& account = result.value().accounts.at(0);
  EXPECT_EQ(account.name, "  Team  ");  // kept as read; only displayName trims
  EXPECT_EQ(account.email, std::nullopt);
  EXPECT_EQ(account.errorMessage, std::nullopt);
  ASSERT_TRUE(account.limits);
  EXPECT_EQ(account.limits->plan, std::nullopt);
  EXPECT_EQ(account.limits->creditBalance, std::nullopt);
  EXPECT_EQ(account.limits->windows.at(0), (ZeltoLimitWindow{"w", "Weekly", 12, std::nullopt, std::nullopt}));
  EXPECT_EQ(account.limits->resetCredits.at(0), (ZeltoResetCredit{"c", "Full reset", std::nullopt}));
  ASSERT_TRUE(account.usage);
  EXPECT_EQ(account.usage->summary, (ZeltoUsageSummary{std::nullopt, std::nullopt, std::nullopt, std::nullopt, 5}));
}

TEST(SnapshotJson, ExampleDashboardForUsersDecodes) {
  const auto result = decodeDashboardSnapshot(readSourceFile("examples/dashboard.json"));
  ASSERT_TRUE(result.ok()) << result.error().describe();
  EXPECT_EQ(result.value().accounts.size(), 3u);
}

TEST(SnapshotJson, LegacyLimitSnapshotDecodes) {
  const auto result = decodeLimitSnapshot(readFixture("limit-snapshot-v1.json"));
  ASSERT_TRUE(result.ok()) << result.error().describe();
  EXPECT_EQ(result.value().fetchedAt, 763291800.5);
  EXPECT_EQ(result.value().plan, "pro");
  ASSERT_EQ(result.value().windows.size(), 2u);
  EXPECT_EQ(result.value().windows[1], (ZeltoLimitWindow{"zelto-10080", "Weekly", 37, std::nullopt, std::nullopt}));
  EXPECT_TRUE(result.value().resetCredits.empty());

  const auto failed = decodeLimitSnapshot(R"({"fetchedAt":0,"windows":[{"title":"t","usedPercent":1}]})");
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.error().describe(), "windows[0].id: missing required member");
}

TEST(SnapshotJson, WholeNumbersReadAsTheIntegerTheyDenote) {
  const std::pair<std::string, std::int64_t> cases[] = {
      {R"({"id":"w","title":"t","usedPercent":28})", 28},
      {R"({"id":"w","title":"t","usedPercent":28.0})", 28},
      {R"({"id":"w","title":"t","usedPercent":2.8e1})", 28},
      {R"({"id":"w","title":"t","usedPercent":-0.0})", 0},
      {R"({"id":"w","title":"t","usedPercent":140})", 140},
      {R"({"id":"w","title":"t","usedPercent":-5})", -5},
      {R"({"id":"w","title":"t","usedPercent":9223372036854775807})", std::numeric_limits<std::int64_t>::max()},
      {R"({"id":"w","title":"t","usedPercent":-9223372036854775808})", std::numeric_limits<std::int64_t>::min()},
      {R"({"id":"w","title":"t","usedPercent":1e18})", 1000000000000000000},
      {R"({"usedPercent":7,"title":"t","id":"w"})", 7},                  // keys in any order
      {R"({"id":"w","title":"t","usedPercent":1,"usedPercent":2})", 2},  // a repeated key keeps the last
  };
  for (const auto& [window, usedPercent] : cases) {
    const auto result = decodeDashboardSnapshot(dashboardWithWindow(window));
    ASSERT_TRUE(result.ok()) << window << ": " << result.error().describe();
    EXPECT_EQ(result.value().accounts[0].limits->windows[0].usedPercent, usedPercent) << window;
  }
}

TEST(SnapshotJson, DatesAreAnyFiniteNumberOfSecondsSinceTheReferenceDate) {
  const std::pair<std::string, Date> cases[] = {{"763291800", 763291800.0},
                                                {"763291800.25", 763291800.25},
                                                {"763291800.123", 763291800.123},
                                                {"763291800.123456", 763291800.123456},
                                                {"-978307200", -978307200.0},
                                                {"7.632918e8", 763291800.0},
                                                {"9223372036854775808", 9223372036854775808.0},
                                                {"1e20", 1e20}};
  for (const auto& [number, date] : cases) {
    const auto result = decodeDashboardSnapshot(dashboardWithUpdatedAt(number));
    ASSERT_TRUE(result.ok()) << number << ": " << result.error().describe();
    EXPECT_EQ(result.value().updatedAt, date) << number;
  }
}

const std::string twoAccounts =
    R"({"updatedAt":0,"accounts":[{"id":"a","name":"A"},{"id":"b","name":"B","limits":{"fetchedAt":0,)"
    R"("windows":[{"id":"w","title":"t","usedPercent":28.5}],"resetCredits":[]}}]})";

TEST(SnapshotJson, FailuresFailTheWholeReadWithPathAndReason) {
  const std::string outOfRange =
      "accounts[0].limits.windows[0].usedPercent: expected a whole number within the signed 64-bit range, found ";
  const std::pair<std::string, std::string> cases[] = {
      {twoAccounts, "accounts[1].limits.windows[0].usedPercent: expected a whole number, found 28.5"},
      {R"({"updatedAt":0})", "accounts: missing required member"},
      {R"({"updatedAt":0,"accounts":[{"name":"A"}]})", "accounts[0].id: missing required member"},
      {R"({"updatedAt":0,"accounts":[{"id":null,"name":"A"}]})", "accounts[0].id: expected a string, found null"},
      {R"({"updatedAt":"2025-03-10T09:30:00Z","accounts":[]})", "updatedAt: expected a number, found a string"},
      {R"({"updatedAt":1e400,"accounts":[]})",
       "updatedAt: expected a finite number, found a number too large to represent"},
      {R"({"updatedAt":0,"accounts":[{"id":"a","name":"A","limits":{"fetchedAt":0,"windows":[],)"
       R"("creditBalance":0,"resetCredits":[]}}]})",
       "accounts[0].limits.creditBalance: expected a string, found 0"},
      {R"({"updatedAt":0,"accounts":[{"id":"a","name":"A","email":7}]})",
       "accounts[0].email: expected a string, found 7"},
      {R"({"updatedAt":0,"accounts":{}})", "accounts: expected an array, found an object"},
      {R"({"updatedAt":0,"accounts":["a"]})", "accounts[0]: expected an object, found a string"},
      {R"({"updatedAt":0,"accounts":[{"id":"a","name":"A","usage":{"fetchedAt":0,)"
       R"("dailyUsageBuckets":[]}}]})",
       "accounts[0].usage.summary: missing required member"},
      {R"({"updatedAt":0,"accounts":[{"id":"a","name":"A","usage":{"fetchedAt":0,)"
       R"("dailyUsageBuckets":[{"startDate":"2025-03-09","tokens":1},{"startDate":"2025-03-10",)"
       R"("tokens":0.5}],"summary":{}}}]})",
       "accounts[0].usage.dailyUsageBuckets[1].tokens: expected a whole number, found 0.5"},
      {"[]", "expected a JSON object, found an array"},
      {R"({"updatedAt":0,"accounts":[],})", "invalid JSON at byte 29: syntax error"},
      {R"({"updatedAt":0,"accounts":[]} {})", "invalid JSON at byte 30: extra data"},
      {R"({"updatedAt":0,"acc)", "invalid JSON at byte 19: incomplete JSON"},
      {R"({"updatedAt":0, /* now */ "accounts":[]})", "invalid JSON at byte 16: syntax error"},
      {"{\"updatedAt\":0,\"accounts\":[{\"id\":\"\xff\",\"name\":\"A\"}]}", "accounts[0].id: invalid UTF-8 at byte 34"},
      {"{\"updatedAt\":0,\"acc\xc3(\":[]}", "invalid UTF-8 at byte 19"},
      {"{\"updatedAt\":0,\"accounts\":[{\"id\":\"a\",\"name\":\"A\",\"usage\":{\"fetchedAt\":0,"
       "\"dailyUsageBuckets\":[{\"startDate\":\"x\",\"tokens\":1},{\"startDate\":\"2025\xed\xa0\x80\"}]}}]}",
       "accounts[0].usage.dailyUsageBuckets[1].startDate: invalid UTF-8 at byte 139"},
      {"{\"updatedAt\":0,,\"\xff\":1}", "invalid JSON at byte 15: syntax error"},
      {R"({"updatedAt":0,"accounts":[{"id":"\udc00","name":"A"}]})",
       "invalid JSON at byte 35: illegal leading surrogate"},
      {usedPercent("9223372036854775808"), outOfRange + "9223372036854775808"},
      {usedPercent("18446744073709551616"), outOfRange + "18446744073709551616"},
      {usedPercent("9.3e18"), outOfRange + "9.3e18"},
      // Beyond the 64-bit integers the parser keeps only the nearest double,
      // -2^63 here, which may stand for a number below the range; so -2^63
      // is accepted only when written as a plain integer, and the message
      // quotes the number as written.
      {usedPercent("-9223372036854775809"), outOfRange + "-9223372036854775809"},
      {usedPercent("-9.223372036854775808e18"), outOfRange + "-9.223372036854775808e18"},
      {dashboardWithWindow(R"({"id":"w","title":"t","usedPercent":1,"usedPercent":-1e19})"), outOfRange + "-1e19"},
      {usedPercent(R"("28")"), "accounts[0].limits.windows[0].usedPercent: expected a whole number, found a string"},
      {usedPercent("null"), "accounts[0].limits.windows[0].usedPercent: expected a whole number, found null"}};
  for (const auto& [json, message] : cases) {
    const auto result = decodeDashboardSnapshot(json);
    ASSERT_FALSE(result.ok()) << json;
    EXPECT_EQ(result.error().describe(), message) << json;
  }
}

TEST(SnapshotJson, EmptyAccountsAndEmptySummaryAreValid) {
  const auto empty = decodeDashboardSnapshot(R"({"updatedAt":0,"accounts":[]})");
  ASSERT_TRUE(empty.ok());
  EXPECT_TRUE(empty.value().accounts.empty());

  const auto summary = decodeDashboardSnapshot(
      R"({"updatedAt":0,"accounts":[{"id":"a","name":"","usage":{"fetchedAt":0,"dailyUsageBuckets":[],"summary":{}}}]})");
  ASSERT_TRUE(summary.ok()) << summary.error().describe();
  EXPECT_EQ(summary.value().accounts[0].usage->summary, ZeltoUsageSummary{});
}

TEST(SnapshotJson, WhiteSpaceAroundTheValueIsAllowed) {
  EXPECT_TRUE(decodeDashboardSnapshot(" \n\t{\"updatedAt\":0,\"accounts\":[]}\r\n ").ok());
}

TEST(SnapshotJson, NullEmailReadsAsMissingAndIsOmittedOnWriting) {
  const auto result = decodeDashboardSnapshot(R"({"updatedAt":0,"accounts":[{"id":"a","name":"A","email":null}]})");
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.value().accounts[0].email, std::nullopt);
  EXPECT_EQ(encodeJson(result.value()), R"({"updatedAt":0,"accounts":[{"id":"a","name":"A"}]})");
}

TEST(SnapshotJson, UnknownMembersMayNestDeeply) {
  std::string deep(400, '[');
  deep += std::string(400, ']');
  EXPECT_TRUE(decodeDashboardSnapshot(R"({"future":)" + deep + R"(,"updatedAt":0,"accounts":[]})").ok());

  std::string tooDeep(600, '[');
  tooDeep += std::string(600, ']');
  const auto result = decodeDashboardSnapshot(R"({"future":)" + tooDeep + R"(,"updatedAt":0,"accounts":[]})");
  ASSERT_FALSE(result.ok());
  EXPECT_NE(result.error().message.find("invalid JSON at byte"), std::string::npos);
}

TEST(SnapshotJson, WritingOmitsAbsentFieldsAndWritesWholeSecondsAsIntegers) {
  ZeltoLimitSnapshot limits;
  limits.fetchedAt = 763291800.25;
  limits.windows = {ZeltoLimitWindow{"w", "5-hour", 28, 763299840, std::nullopt}};
  limits.resetCredits = {ZeltoResetCredit{"c", "Full reset", std::nullopt}};
  EXPECT_EQ(encodeJson(limits), R"({"fetchedAt":7.6329180025E8,"windows":[{"id":"w","title":"5-hour","usedPercent":28,)"
                                R"("resetsAt":763299840}],"resetCredits":[{"id":"c","title":"Full reset"}]})");
}

TEST(SnapshotJson, WritingANonFiniteDateIsRefused) {
  ZeltoDashboardSnapshot dashboard;
  dashboard.updatedAt = std::numeric_limits<double>::infinity();
  EXPECT_THROW(encodeJson(dashboard), std::invalid_argument);
  dashboard.updatedAt = std::numeric_limits<double>::quiet_NaN();
  EXPECT_THROW(encodeJson(dashboard), std::invalid_argument);
}

TEST(SnapshotJson, RecordsSurviveARoundTrip) {
  ZeltoUsageSnapshot usage{-0.5, {{"2025-03-09", -50}, {"not a day", 0}, {"2025-03-09", 9}}, {1, 2, 3, 4, 5}};
  ZeltoDashboardSnapshot dashboard;
  dashboard.updatedAt = -978307200.125;
  dashboard.accounts = {
      ZeltoAccountSnapshot{"a", "", "", std::nullopt, usage, "Timed out \"twice\"\n"},
      ZeltoAccountSnapshot{"b", "Bä \u2028", std::nullopt,
                           ZeltoLimitSnapshot{1e15,
                                              "",
                                              {ZeltoLimitWindow{"w", "", std::numeric_limits<std::int64_t>::min(), 1.5,
                                                                std::numeric_limits<std::int64_t>::max()}},
                                              "12.50",
                                              {}},
                           std::nullopt, std::nullopt}};
  const auto decoded = decodeDashboardSnapshot(encodeJson(dashboard));
  ASSERT_TRUE(decoded.ok()) << decoded.error().describe();
  EXPECT_EQ(decoded.value(), dashboard);

  const ZeltoLimitSnapshot& limits = *dashboard.accounts[1].limits;
  const auto decodedLimits = decodeLimitSnapshot(encodeJson(limits));
  ASSERT_TRUE(decodedLimits.ok()) << decodedLimits.error().describe();
  EXPECT_EQ(decodedLimits.value(), limits);
}

}  // namespace
}  // namespace zelto
