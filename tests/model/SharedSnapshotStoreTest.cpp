#include "widget/model/SharedSnapshotStore.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>

#include "platform/defaults/Suite.hpp"
#include "tests/model/ModelTestSupport.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace zelto {
namespace {

class SharedSnapshotStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelto-store-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    location_ = defaults::SuiteLocation{pattern, "zelto-model-tests"};
  }
  void TearDown() override { std::filesystem::remove_all(location_.directory); }

  defaults::Suite suite() const { return defaults::Suite::open(SharedSnapshotStore::appGroupIdentifier, location_); }
  SharedSnapshotStore store() const { return SharedSnapshotStore(location_); }

  void writeData(const char* key, const std::string& bytes) const { ASSERT_FALSE(suite().setData(key, bytes)); }
  void writeInteger(const char* key, std::int64_t value) const { ASSERT_FALSE(suite().setInteger(key, value)); }

  defaults::SuiteLocation location_;
};

ZeltoLimitSnapshot legacyLimits() {
  const auto result = decodeLimitSnapshot(testing::readFixture("limit-snapshot-v1.json"));
  return result.value();
}

TEST_F(SharedSnapshotStoreTest, NothingStoredLoadsNothing) {
  EXPECT_EQ(store().loadDashboard(), std::nullopt);
  EXPECT_EQ(store().readWeekOffset(), 0);
}

TEST_F(SharedSnapshotStoreTest, CurrentRecordWinsOverLegacyRecord) {
  const std::string current = testing::readFixture("dashboard-worked-example.json");
  writeData(SharedSnapshotStore::dashboardKey, current);
  writeData(SharedSnapshotStore::legacyLimitKey, testing::readFixture("limit-snapshot-v1.json"));
  EXPECT_EQ(store().loadDashboard(), decodeDashboardSnapshot(current).value());
}

TEST_F(SharedSnapshotStoreTest, UnreadableCurrentRecordFallsBackToWrappedLegacyRecord) {
  for (const std::string& unreadable : {std::string("{not json"), std::string(R"({"updatedAt":0})"),
                                        std::string(R"({"updatedAt":"2025-03-10","accounts":[]})")}) {
    writeData(SharedSnapshotStore::dashboardKey, unreadable);
    writeData(SharedSnapshotStore::legacyLimitKey, testing::readFixture("limit-snapshot-v1.json"));

    ZeltoDashboardSnapshot expected;
    expected.updatedAt = 763291800.5;  // the legacy record's fetchedAt
    ZeltoAccountSnapshot account;
    account.id = "default";
    account.name = "Default";
    account.limits = legacyLimits();
    expected.accounts.push_back(account);
    EXPECT_EQ(store().loadDashboard(), expected) << unreadable;
  }
}

TEST_F(SharedSnapshotStoreTest, ValuesOfTheWrongTypeCountAsAbsent) {
  writeInteger(SharedSnapshotStore::dashboardKey, 42);
  writeData(SharedSnapshotStore::legacyLimitKey, testing::readFixture("limit-snapshot-v1.json"));
  const auto dashboard = store().loadDashboard();
  ASSERT_TRUE(dashboard);
  EXPECT_EQ(dashboard->accounts.at(0).id, "default");

  writeInteger(SharedSnapshotStore::legacyLimitKey, 7);
  EXPECT_EQ(store().loadDashboard(), std::nullopt);

  writeData(SharedSnapshotStore::weekOffsetKey, "-3");
  EXPECT_EQ(store().readWeekOffset(), 0);
}

TEST_F(SharedSnapshotStoreTest, UnreadableRecordsLoadNothing) {
  writeData(SharedSnapshotStore::dashboardKey, "[]");
  writeData(SharedSnapshotStore::legacyLimitKey, testing::readFixture("dashboard-worked-example.json"));
  EXPECT_EQ(store().loadDashboard(), std::nullopt);
}

TEST_F(SharedSnapshotStoreTest, WeekOffsetWithoutRecordsIsStillRead) {
  writeInteger(SharedSnapshotStore::weekOffsetKey, -3);
  EXPECT_EQ(store().loadDashboard(), std::nullopt);
  EXPECT_EQ(store().readWeekOffset(), -3);
}

TEST_F(SharedSnapshotStoreTest, StoredWeekOffsetReadsAtMostZero) {
  for (std::int64_t stored : {std::int64_t{4}, std::numeric_limits<std::int64_t>::max()}) {
    writeInteger(SharedSnapshotStore::weekOffsetKey, stored);
    EXPECT_EQ(store().readWeekOffset(), 0) << stored;
  }
  writeInteger(SharedSnapshotStore::weekOffsetKey, std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(store().readWeekOffset(), std::numeric_limits<std::int64_t>::min());
}

TEST_F(SharedSnapshotStoreTest, WritingStoresTheOffsetAtMostZero) {
  struct Case {
    std::int64_t written;
    std::int64_t stored;
  };
  for (const Case& c : {Case{2, 0}, Case{-7, -7}, Case{0, 0},
                        Case{std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::min()}}) {
    store().writeWeekOffset(c.written);
    EXPECT_EQ(suite().integer(SharedSnapshotStore::weekOffsetKey), c.stored) << c.written;
    EXPECT_EQ(store().readWeekOffset(), c.stored);
  }
}

TEST_F(SharedSnapshotStoreTest, EveryCallSeesTheSuiteAsItIsNow) {
  const SharedSnapshotStore kept = store();
  EXPECT_EQ(kept.loadDashboard(), std::nullopt);
  writeData(SharedSnapshotStore::dashboardKey, R"({"updatedAt":1,"accounts":[]})");
  ASSERT_TRUE(kept.loadDashboard());
  EXPECT_EQ(kept.loadDashboard()->updatedAt, 1);
  writeData(SharedSnapshotStore::dashboardKey, R"({"updatedAt":2,"accounts":[]})");
  EXPECT_EQ(kept.loadDashboard()->updatedAt, 2);
}

TEST_F(SharedSnapshotStoreTest, RefusedSuiteNameFallsBackToTheStandardSuite) {
  writeData(SharedSnapshotStore::dashboardKey, R"({"updatedAt":1,"accounts":[]})");
  const SharedSnapshotStore refused(location_, "not/a/suite");
  // Nothing the companion wrote is visible, and writes stay private.
  EXPECT_EQ(refused.loadDashboard(), std::nullopt);
  refused.writeWeekOffset(-4);
  EXPECT_EQ(refused.readWeekOffset(), -4);
  EXPECT_EQ(store().readWeekOffset(), 0);
  EXPECT_EQ(defaults::Suite::standard(location_).integer(SharedSnapshotStore::weekOffsetKey), -4);
}

}  // namespace
}  // namespace zelto
