#include "platform/defaults/Suite.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "tests/platform/defaults/TemporaryFolder.hpp"

namespace zelto::defaults {
namespace {

using testing::TemporaryFolder;

constexpr const char* sharedName = "group.zelto.limits";

class SuiteTest : public ::testing::Test {
 protected:
  SuiteLocation location() const { return {folder_.path() / "suites", "zelto-test"}; }
  Suite shared() const { return Suite::open(sharedName, location()); }
  TemporaryFolder folder_;
};

TEST_F(SuiteTest, MissingDatabaseReadsAsEmptyAndIsNotCreated) {
  Suite suite = shared();
  EXPECT_EQ(suite.path(), folder_.path() / "suites" / "group.zelto.limits.sqlite3");
  EXPECT_EQ(suite.data("zelto-dashboard-snapshot-v2"), std::nullopt);
  EXPECT_TRUE(suite.entries().value().empty());
  EXPECT_EQ(suite.checkReadable(), std::nullopt);
  bool removed = true;
  EXPECT_EQ(suite.remove("anything", &removed), std::nullopt);
  EXPECT_FALSE(removed);
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "suites"));
}

TEST_F(SuiteTest, ValuesRoundTripWithTheirTypeAndReplaceEachOther) {
  const SuiteValue cases[] = {
      std::string("{\"updatedAt\": 763291800, \"accounts\": []}"),
      std::string("\0binary\xff\xfe\0", 10),
      std::string(),
      std::string(300'000, 'x'),
      std::string("42"),
      std::int64_t{0},
      std::int64_t{-3},
      std::numeric_limits<std::int64_t>::min(),
      std::numeric_limits<std::int64_t>::max(),
  };
  for (const SuiteValue& value : cases) {
    const bool isBytes = std::holds_alternative<std::string>(value);
    ASSERT_EQ(isBytes ? shared().setData("key", std::get<std::string>(value))
                      : shared().setInteger("key", std::get<std::int64_t>(value)),
              std::nullopt);
    const Suite suite = shared();
    EXPECT_EQ(suite.value("key"), std::optional(value)) << value.index();
    // A typed read of the other type finds nothing.
    EXPECT_EQ(suite.data("key").value().has_value(), isBytes);
    EXPECT_EQ(suite.integer("key").value().has_value(), !isBytes);
  }
  EXPECT_EQ(shared().entries().value().size(), 1u);
}

TEST_F(SuiteTest, RemoveTellsWhetherAKeyWasThereAndKeysAreExact) {
  ASSERT_EQ(shared().setInteger("a", 1), std::nullopt);
  EXPECT_EQ(shared().integer("A"), std::nullopt);
  EXPECT_EQ(Suite::open("other", location()).integer("a"), std::nullopt);
  ASSERT_EQ(shared().setInteger("b", 2), std::nullopt);
  bool removed = false;
  ASSERT_EQ(shared().remove("a", &removed), std::nullopt);
  EXPECT_TRUE(removed);
  EXPECT_EQ(shared().integer("a"), std::nullopt);
  EXPECT_EQ(shared().integer("b"), 2);
  ASSERT_EQ(shared().remove("a", &removed), std::nullopt);
  EXPECT_FALSE(removed);
}

TEST_F(SuiteTest, EntriesAreOrderedByKeyAndShowForeignTypes) {
  ASSERT_EQ(shared().setInteger("zelto-usage-week-offset-v1", -2), std::nullopt);
  ASSERT_EQ(shared().setData("a", ""), std::nullopt);
  // Values another program stored with SQLite types the widget never reads.
  SqliteConnection writer(shared().path(), ConnectionMode::readWriteCreate);
  ASSERT_TRUE(writer.execute("INSERT INTO entries VALUES('b', 'text'), ('c', 2.5), ('d', NULL)"));
  const std::vector<SuiteEntry> expected = {
      {"a", std::string()},
      {"b", ForeignValue{ForeignValue::Type::text, "text"}},
      {"c", ForeignValue{ForeignValue::Type::real, "2.5"}},
      {"d", ForeignValue{ForeignValue::Type::null, ""}},
      {"zelto-usage-week-offset-v1", std::int64_t{-2}},
  };
  EXPECT_EQ(shared().entries(), expected);
  EXPECT_EQ(shared().data("b"), std::nullopt);
  EXPECT_EQ(shared().integer("c"), std::nullopt);
}

TEST_F(SuiteTest, RefusedNamesAndUnusablePlacesFallBackToTheStandardSuite) {
  ASSERT_EQ(Suite::standard(location()).setInteger("marker", 9), std::nullopt);
  // Up to 239 bytes the database's side files still fit in a file name.
  EXPECT_FALSE(Suite::open(std::string(239, 'n'), location()).isFallback());
  for (const std::string& name : {std::string(), std::string("."), std::string(".."), std::string("a/b"),
                                  std::string("nul\0name", 8), std::string(240, 'n')}) {
    Suite suite = Suite::open(name, location());
    EXPECT_TRUE(suite.isFallback()) << name;
    EXPECT_EQ(suite.integer("marker"), 9) << name;
    ASSERT_TRUE(Suite::problemOpening(name, location(), SuiteAccess::read).has_value());
  }
  std::filesystem::create_directories(location().directory / "group.zelto.limits.sqlite3");
  EXPECT_TRUE(shared().isFallback()) << "a folder where the database should be";
  // A file where the folder should be: the standard suite cannot be written
  // either, and the file is left as it was.
  std::filesystem::remove_all(location().directory);
  testing::writeBytes(location().directory, "not a folder");
  const std::optional<SuiteError> error = shared().setInteger("key", 1);
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->message.find("not a folder"), std::string::npos) << error->message;
  EXPECT_EQ(testing::readBytes(location().directory), "not a folder");
}

TEST_F(SuiteTest, UnwritableFolderWithoutDatabaseFallsBack) {
  std::filesystem::create_directories(location().directory);
  ::chmod(folder_.path().c_str(), 0755);
  ::chmod(location().directory.c_str(), 0555);
  EXPECT_EQ(testing::runUnprivileged([&] {
              if (!shared().isFallback()) return 1;
              if (!Suite::problemOpening(sharedName, location(), SuiteAccess::write)) return 2;
              if (Suite::problemOpening(sharedName, location(), SuiteAccess::read)) return 3;
              return shared().setInteger("key", 1) ? 0 : 4;  // the standard suite cannot be created either
            }),
            0);
}

TEST_F(SuiteTest, ABusySuiteIsReportedNotReadAsEmptyAndWaitedForOnce) {
  ASSERT_EQ(shared().setData("zelto-dashboard-snapshot-v2", "{}"), std::nullopt);
  ASSERT_EQ(shared().setInteger("zelto-usage-week-offset-v1", -3), std::nullopt);
  const testing::ExclusiveHolder holder(shared().path(), 10'000);
  const auto start = std::chrono::steady_clock::now();
  const Suite suite = shared();
  EXPECT_TRUE(suite.data("zelto-dashboard-snapshot-v2").isBusy());
  EXPECT_TRUE(suite.integer("zelto-usage-week-offset-v1").isBusy());
  EXPECT_TRUE(suite.entries().isBusy());
  const std::optional<SuiteError> write = suite.setInteger("zelto-usage-week-offset-v1", 0);
  ASSERT_TRUE(write.has_value());
  EXPECT_TRUE(write->isBusy()) << write->message;
  // Four operations, one wait of 2 s between them.
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(1900));
  EXPECT_LT(waited, std::chrono::milliseconds(3500));
}

}  // namespace
}  // namespace zelto::defaults
