#include "tests/apps/DefaultsCommandSupport.hpp"

namespace zelto::defaults::testing {
namespace {

constexpr const char* dashboardKey = "zelto-dashboard-snapshot-v2";
constexpr const char* legacyKey = "zelto-limit-snapshot-v1";
constexpr const char* weekKey = "zelto-usage-week-offset-v1";

std::string limits(const std::string& usedPercent) {
  return R"({"fetchedAt": 763291800, "plan": "plus", "creditBalance": "0", "resetCredits": [],
             "windows": [{"id": "zelto-300", "title": "5-hour", "usedPercent": )" +
         usedPercent + R"(, "resetsAt": 763299840, "durationMinutes": 300}]})";
}

// Two accounts; the second one's first window carries `usedPercent`.
std::string dashboard(const std::string& usedPercent) {
  return R"({"updatedAt": 763291800.25, "accounts": [
      {"id": "personal", "name": "Personal", "limits": )" +
         limits("28") + R"(},
      {"id": "work", "name": "Work", "email": null, "limits": )" +
         limits(usedPercent) + R"(}]})";
}

using SnapshotCheckTest = DefaultsCommandTest;

TEST_F(SnapshotCheckTest, KeysTheWidgetReadsTakeOnlyWhatItCanRead) {
  struct Case {
    const char* key;
    std::optional<std::string> json;  // from a file; an --int 1 when absent
    std::vector<std::string> extra;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {dashboardKey, dashboard("28"), {}, 0, ""},
      {dashboardKey, dashboard("28.5"), {}, 1,
       "accounts[1].limits.windows[0].usedPercent: expected a whole number, found 28.5"},
      {dashboardKey, dashboard("28.5"), {"--force"}, 0, ""},
      {dashboardKey, limits("40"), {}, 1, dashboardKey},
      {legacyKey, limits("40"), {}, 0, ""},
      {legacyKey, limits("\"40\""), {}, 1, "windows[0].usedPercent"},
      {legacyKey, dashboard("28"), {}, 1, legacyKey},
      {dashboardKey, std::nullopt, {}, 1, "--data-file"},
      {legacyKey, std::nullopt, {}, 1, "--data-file"},
      {dashboardKey, std::nullopt, {"--force"}, 0, ""},
      {weekKey, "-3", {}, 1, "--int"},
      {weekKey, std::nullopt, {}, 0, ""},  // a positive offset reads as 0
      {"notes", "not json", {}, 0, ""},
  };
  for (const Case& c : cases) {
    for (const char* key : {dashboardKey, legacyKey, weekKey, "notes"}) ASSERT_FALSE(suite().remove(key));
    std::vector<std::string> arguments = {"write", c.key};
    if (c.json) {
      testing::writeBytes(folder_.path() / "snapshot.json", *c.json);
      arguments.insert(arguments.end(), {"--data-file", (folder_.path() / "snapshot.json").string()});
    } else {
      arguments.insert(arguments.end(), {"--int", "1"});
    }
    arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
    const CommandResult result = run(arguments);
    const std::string label = std::string(c.key) + " " + c.json.value_or("--int");
    EXPECT_EQ(result.status, c.status) << label << result.error;
    EXPECT_NE(result.error.find(c.says), std::string::npos) << result.error;
    if (c.status == 0) {
      EXPECT_EQ(suite().value(c.key), std::optional(c.json ? SuiteValue{*c.json} : SuiteValue{std::int64_t{1}}));
    } else {
      EXPECT_TRUE(isOneErrorLine(result.error)) << label;
      EXPECT_EQ(suite().value(c.key), std::nullopt) << label;
    }
  }
}

TEST_F(SnapshotCheckTest, NotJsonIsRefusedAndTheStoredValueStays) {
  ASSERT_EQ(suite().setData(dashboardKey, dashboard("12")), std::nullopt);
  for (const std::string& bytes : {std::string(), std::string("not json at all"),
                                   std::string("{\"updatedAt\": 1, \"accounts\": ["), std::string("\xff\xfe")}) {
    const CommandResult result = run({"write", dashboardKey, "--data-file", "-"}, bytes);
    EXPECT_EQ(result.status, 1) << bytes;
    EXPECT_TRUE(isOneErrorLine(result.error)) << result.error;
    EXPECT_NE(result.error.find("--force"), std::string::npos) << result.error;
  }
  EXPECT_EQ(suite().data(dashboardKey), dashboard("12"));
}

}  // namespace
}  // namespace zelto::defaults::testing
