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

class SnapshotCheckTest : public DefaultsCommandTest {
 protected:
  // Writes `json` from a file under `key`, with extra arguments.
  CommandResult writeJson(const std::string& key, const std::string& json, std::vector<std::string> extra = {}) {
    const std::filesystem::path file = folder_.path() / "snapshot.json";
    testing::writeBytes(file, json);
    std::vector<std::string> arguments = {"write", key, "--data-file", file.string()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return run(arguments);
  }
};

TEST_F(SnapshotCheckTest, ReadableDashboardIsStoredByteForByte) {
  const std::string json = dashboard("28");
  const CommandResult result = writeJson(dashboardKey, json);
  EXPECT_EQ(result.status, 0) << result.error;
  EXPECT_EQ(suite().data(dashboardKey), json);
}

TEST_F(SnapshotCheckTest, UnreadableDashboardIsRefusedWithTheDecodersMessage) {
  const std::string previous = dashboard("12");
  ASSERT_EQ(suite().setData(dashboardKey, previous), std::nullopt);
  const CommandResult result = writeJson(dashboardKey, dashboard("28.5"));
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(isOneErrorLine(result.error));
  EXPECT_NE(result.error.find("accounts[1].limits.windows[0].usedPercent: expected a whole number, found 28.5"),
            std::string::npos)
      << result.error;
  EXPECT_NE(result.error.find("--force"), std::string::npos) << result.error;
  EXPECT_EQ(suite().data(dashboardKey), previous) << "the stored value stays as it was";
}

TEST_F(SnapshotCheckTest, ForceStoresAnUnreadableDashboard) {
  const std::string json = dashboard("28.5");
  const CommandResult result = writeJson(dashboardKey, json, {"--force"});
  EXPECT_EQ(result.status, 0) << result.error;
  EXPECT_EQ(suite().data(dashboardKey), json);
}

TEST_F(SnapshotCheckTest, TextThatIsNotJsonIsRefusedWithAMessage) {
  const std::string notJson[] = {"", "not json at all", "{\"updatedAt\": 1, \"accounts\": [", "[]", "\xff\xfe"};
  for (const std::string& bytes : notJson) {
    for (const char* key : {dashboardKey, legacyKey}) {
      const CommandResult result = writeJson(key, bytes);
      EXPECT_EQ(result.status, 1) << key << " " << bytes;
      EXPECT_TRUE(isOneErrorLine(result.error)) << result.error;
      EXPECT_NE(result.error.find(key), std::string::npos) << result.error;
    }
  }
  EXPECT_TRUE(suite().entries().empty());
}

TEST_F(SnapshotCheckTest, LegacyRecordIsCheckedAsALimitSnapshot) {
  EXPECT_EQ(writeJson(legacyKey, limits("40")).status, 0);
  EXPECT_EQ(suite().data(legacyKey), limits("40"));

  const CommandResult refused = writeJson(legacyKey, limits("\"40\""));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.error.find("windows[0].usedPercent"), std::string::npos) << refused.error;
  // A dashboard is not a limit snapshot, and the other way round.
  EXPECT_EQ(writeJson(legacyKey, dashboard("28")).status, 1);
  EXPECT_EQ(writeJson(dashboardKey, limits("40")).status, 1);
  EXPECT_EQ(suite().data(legacyKey), limits("40"));
}

TEST_F(SnapshotCheckTest, SnapshotsFromStandardInputAreCheckedToo) {
  const CommandResult refused = run({"write", dashboardKey, "--data-file", "-"}, dashboard("28.5"));
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(suite().data(dashboardKey), std::nullopt);
  EXPECT_EQ(run({"write", dashboardKey, "--data-file", "-"}, dashboard("28")).status, 0);
  EXPECT_EQ(suite().data(dashboardKey), dashboard("28"));
}

TEST_F(SnapshotCheckTest, KeysTheWidgetReadsOnlyTakeTheTypeItReads) {
  // The widget reads snapshots as byte strings and the week offset as an
  // integer; a value of the other type would read as missing.
  const std::vector<std::vector<std::string>> refusedWrites = {
      {"write", dashboardKey, "--int", "1"},
      {"write", legacyKey, "--int", "1"},
  };
  for (const std::vector<std::string>& arguments : refusedWrites) {
    const CommandResult result = run(arguments);
    EXPECT_EQ(result.status, 1) << arguments[1];
    EXPECT_TRUE(isOneErrorLine(result.error));
  }
  const CommandResult dataForWeek = writeJson(weekKey, "-3");
  EXPECT_EQ(dataForWeek.status, 1);
  EXPECT_TRUE(isOneErrorLine(dataForWeek.error));
  EXPECT_TRUE(suite().entries().empty());

  EXPECT_EQ(run({"write", dashboardKey, "--int", "1", "--force"}).status, 0);
  EXPECT_EQ(suite().integer(dashboardKey), 1);
}

TEST_F(SnapshotCheckTest, OtherKeysAreStoredUnchecked) {
  EXPECT_EQ(writeJson("notes", "not json").status, 0);
  EXPECT_EQ(suite().data("notes"), "not json");
  EXPECT_EQ(run({"write", weekKey, "--int", "2"}).status, 0) << "the widget reads a positive offset as 0";
  EXPECT_EQ(suite().integer(weekKey), 2);
}

}  // namespace
}  // namespace zelto::defaults::testing
