#include "widget/model/SharedSnapshotStore.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tests/model/ModelTestSupport.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace zelto {
namespace {

constexpr auto lowest = std::numeric_limits<std::int64_t>::min();

class SharedSnapshotStoreTest : public ::testing::Test {
 protected:
  defaults::Suite suite() const { return defaults::Suite::open(container_.suiteName, container_.location); }
  SharedSnapshotStore store() const { return SharedSnapshotStore(container_); }

  testing::TemporaryDirectory directory_;
  SharedContainer container_{defaults::SuiteLocation{directory_.path(), "zelto-model-tests"}};
};

// The legacy fixture wrapped as the one account of a dashboard.
ZeltoDashboardSnapshot wrappedLegacy() {
  ZeltoAccountSnapshot account;
  account.id = "default";
  account.name = "Default";
  account.limits = decodeLimitSnapshot(testing::readFixture("limit-snapshot-v1.json")).value();
  return ZeltoDashboardSnapshot{763291800.5, {account}};  // the legacy record's fetchedAt
}

TEST_F(SharedSnapshotStoreTest, CurrentRecordWinsAndFallsBackToTheLegacyRecord) {
  const std::string current = testing::readFixture("dashboard-worked-example.json");
  const std::string legacy = testing::readFixture("limit-snapshot-v1.json");
  // Each row: what the two keys hold (a byte string, or an integer when
  // empty) and what loads.
  struct Case {
    std::optional<std::string> current, legacy;
    std::optional<ZeltoDashboardSnapshot> loaded;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt, std::nullopt},
      {current, legacy, decodeDashboardSnapshot(current).value()},
      {"{not json", legacy, wrappedLegacy()},
      {R"({"updatedAt":"2025-03-10","accounts":[]})", legacy, wrappedLegacy()},
      {"", legacy, wrappedLegacy()},  // an integer under the current key
      {"[]", current, std::nullopt},
      {std::nullopt, "", std::nullopt},
  };
  for (const Case& c : cases) {
    for (const auto& [key, bytes] : {std::pair{SharedSnapshotStore::dashboardKey, c.current},
                                     std::pair{SharedSnapshotStore::legacyLimitKey, c.legacy}}) {
      ASSERT_FALSE(!bytes ? suite().remove(key)
                          : bytes->empty() ? suite().setInteger(key, 7) : suite().setData(key, *bytes));
    }
    EXPECT_EQ(store().loadDashboard(), c.loaded) << c.current.value_or("-") << " / " << c.legacy.value_or("-");
  }
}

TEST_F(SharedSnapshotStoreTest, WeekOffsetIsReadAndWrittenAtMostZero) {
  EXPECT_EQ(store().readWeekOffset(), 0) << "missing";
  ASSERT_FALSE(suite().setData(SharedSnapshotStore::weekOffsetKey, "-3"));
  EXPECT_EQ(store().readWeekOffset(), 0) << "a byte string is not an offset";
  for (const auto& [stored, read] : {std::pair<std::int64_t, std::int64_t>{4, 0}, {-3, -3}, {lowest, lowest}}) {
    ASSERT_FALSE(suite().setInteger(SharedSnapshotStore::weekOffsetKey, stored));
    EXPECT_EQ(store().readWeekOffset(), read) << stored;
  }
  for (const auto& [written, stored] : {std::pair<std::int64_t, std::int64_t>{2, 0}, {-7, -7}, {lowest, lowest}}) {
    EXPECT_EQ(store().writeWeekOffset(written), std::nullopt);
    EXPECT_EQ(suite().integer(SharedSnapshotStore::weekOffsetKey), stored) << written;
  }
}

TEST_F(SharedSnapshotStoreTest, RefusedSuiteNameFallsBackToTheStandardSuite) {
  ASSERT_FALSE(suite().setData(SharedSnapshotStore::dashboardKey, R"({"updatedAt":1,"accounts":[]})"));
  const SharedSnapshotStore refused(SharedContainer{container_.location, "not/a/suite"});
  // Nothing the companion wrote is visible, and writes stay private.
  EXPECT_EQ(refused.loadDashboard(), std::nullopt);
  EXPECT_EQ(refused.writeWeekOffset(-4), std::nullopt);
  EXPECT_EQ(refused.readWeekOffset(), -4);
  EXPECT_EQ(store().readWeekOffset(), 0);
}

}  // namespace
}  // namespace zelto
