#include "platform/defaults/Suite.hpp"

#include <gtest/gtest.h>

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

TEST_F(SuiteTest, OpensTheNamedDatabaseInTheFolder) {
  Suite suite = shared();
  EXPECT_FALSE(suite.isFallback());
  EXPECT_EQ(suite.path(), folder_.path() / "suites" / "group.zelto.limits.sqlite3");
  EXPECT_EQ(Suite::standard(location()).path(), folder_.path() / "suites" / "zelto-test.sqlite3");
}

TEST_F(SuiteTest, MissingDatabaseReadsAsEmptyAndIsNotCreated) {
  Suite suite = shared();
  EXPECT_EQ(suite.data("zelto-dashboard-snapshot-v2"), std::nullopt);
  EXPECT_EQ(suite.integer("zelto-usage-week-offset-v1"), std::nullopt);
  EXPECT_TRUE(suite.entries().empty());
  EXPECT_EQ(suite.checkReadable(), std::nullopt);
  bool removed = true;
  EXPECT_EQ(suite.remove("anything", &removed), std::nullopt);
  EXPECT_FALSE(removed);
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "suites"));
}

TEST_F(SuiteTest, ByteStringsRoundTripExactly) {
  Suite suite = shared();
  const std::string cases[] = {
      "{\"updatedAt\": 763291800, \"accounts\": []}",
      std::string("\0binary\xff\xfe\0", 10),
      "",
      std::string(300'000, 'x'),
      "caf\xc3\xa9 \xf0\x9f\x93\x88",
  };
  for (const std::string& bytes : cases) {
    ASSERT_EQ(suite.setData("blob", bytes), std::nullopt);
    EXPECT_EQ(suite.data("blob"), bytes) << "size " << bytes.size();
    EXPECT_EQ(suite.value("blob"), SuiteValue{bytes});
  }
}

TEST_F(SuiteTest, IntegersRoundTripAcrossTheWholeRange) {
  Suite suite = shared();
  for (std::int64_t value : {std::int64_t{0}, std::int64_t{-3}, std::int64_t{2},
                             std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}) {
    ASSERT_EQ(suite.setInteger("zelto-usage-week-offset-v1", value), std::nullopt);
    EXPECT_EQ(suite.integer("zelto-usage-week-offset-v1"), value);
  }
}

TEST_F(SuiteTest, ReadOfTheOtherTypeCountsAsMissing) {
  Suite suite = shared();
  ASSERT_EQ(suite.setInteger("number", 42), std::nullopt);
  ASSERT_EQ(suite.setData("bytes", "42"), std::nullopt);
  EXPECT_EQ(suite.data("number"), std::nullopt);
  EXPECT_EQ(suite.integer("bytes"), std::nullopt);
  EXPECT_EQ(suite.value("number"), SuiteValue{std::int64_t{42}});
  EXPECT_EQ(suite.value("bytes"), SuiteValue{std::string("42")});
}

TEST_F(SuiteTest, WriteReplacesTheValueAndItsType) {
  Suite suite = shared();
  ASSERT_EQ(suite.setData("key", "old"), std::nullopt);
  ASSERT_EQ(suite.setInteger("key", -7), std::nullopt);
  EXPECT_EQ(suite.data("key"), std::nullopt);
  EXPECT_EQ(suite.integer("key"), -7);
  ASSERT_EQ(suite.setData("key", "new"), std::nullopt);
  EXPECT_EQ(suite.data("key"), "new");
  EXPECT_EQ(suite.entries().size(), 1u);
}

TEST_F(SuiteTest, RemoveTellsWhetherAKeyWasThere) {
  Suite suite = shared();
  ASSERT_EQ(suite.setInteger("a", 1), std::nullopt);
  ASSERT_EQ(suite.setInteger("b", 2), std::nullopt);
  bool removed = false;
  ASSERT_EQ(suite.remove("a", &removed), std::nullopt);
  EXPECT_TRUE(removed);
  EXPECT_EQ(suite.integer("a"), std::nullopt);
  EXPECT_EQ(suite.integer("b"), 2);
  ASSERT_EQ(suite.remove("a", &removed), std::nullopt);
  EXPECT_FALSE(removed);
}

TEST_F(SuiteTest, EntriesAreOrderedByKeyWithTheirTypes) {
  Suite suite = shared();
  ASSERT_EQ(suite.setInteger("zelto-usage-week-offset-v1", -2), std::nullopt);
  ASSERT_EQ(suite.setData("zelto-dashboard-snapshot-v2", "{}"), std::nullopt);
  ASSERT_EQ(suite.setData("a", ""), std::nullopt);
  const std::vector<SuiteEntry> expected = {
      {"a", std::string()},
      {"zelto-dashboard-snapshot-v2", std::string("{}")},
      {"zelto-usage-week-offset-v1", std::int64_t{-2}},
  };
  EXPECT_EQ(suite.entries(), expected);
}

TEST_F(SuiteTest, KeysAndSuitesAreKeptApart) {
  Suite suite = shared();
  Suite other = Suite::open("other", location());
  ASSERT_EQ(suite.setInteger("Key", 1), std::nullopt);
  ASSERT_EQ(suite.setInteger("k\xc3\xa9y", 2), std::nullopt);
  ASSERT_EQ(other.setInteger("Key", 3), std::nullopt);
  EXPECT_EQ(suite.integer("Key"), 1);
  EXPECT_EQ(suite.integer("k\xc3\xa9y"), 2);
  EXPECT_EQ(suite.integer("key"), std::nullopt) << "keys are exact byte strings";
  EXPECT_EQ(other.integer("Key"), 3);
  // Nothing is cached: a second value for the same suite sees every write.
  ASSERT_EQ(shared().setInteger("Key", 4), std::nullopt);
  EXPECT_EQ(suite.integer("Key"), 4);
}

TEST_F(SuiteTest, InvalidNamesFallBackToTheStandardSuite) {
  ASSERT_EQ(Suite::standard(location()).setInteger("marker", 9), std::nullopt);
  for (const std::string& name :
       {std::string(), std::string("."), std::string(".."), std::string("a/b"), std::string("nul\0name", 8)}) {
    Suite suite = Suite::open(name, location());
    EXPECT_TRUE(suite.isFallback()) << name;
    EXPECT_EQ(suite.path(), Suite::standard(location()).path()) << name;
    EXPECT_EQ(suite.integer("marker"), 9) << name;
    ASSERT_TRUE(Suite::problemOpening(name, location()).has_value());
    EXPECT_NE(Suite::problemOpening(name, location())->message.find("invalid suite name"), std::string::npos);
  }
}

TEST_F(SuiteTest, DatabasePathThatIsAFolderFallsBack) {
  std::filesystem::create_directories(location().directory / "group.zelto.limits.sqlite3");
  Suite suite = shared();
  EXPECT_TRUE(suite.isFallback());
  ASSERT_EQ(suite.setInteger("key", 1), std::nullopt);
  EXPECT_EQ(Suite::standard(location()).integer("key"), 1);
}

TEST_F(SuiteTest, FolderThatIsAFileFallsBackAndWritesFail) {
  testing::writeBytes(folder_.path() / "suites", "not a folder");
  Suite suite = shared();
  EXPECT_TRUE(suite.isFallback());
  EXPECT_EQ(suite.integer("key"), std::nullopt);
  std::optional<SuiteError> error = suite.setInteger("key", 1);
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->message.find("not a folder"), std::string::npos) << error->message;
  EXPECT_EQ(testing::readBytes(folder_.path() / "suites"), "not a folder");
}

TEST_F(SuiteTest, UnwritableFolderWithoutDatabaseFallsBack) {
  std::filesystem::create_directories(location().directory);
  ::chmod(folder_.path().c_str(), 0755);
  ::chmod(location().directory.c_str(), 0555);
  const int status = testing::runUnprivileged([&] {
    Suite suite = shared();
    if (!suite.isFallback()) return 1;
    if (!Suite::problemOpening(sharedName, location())) return 2;
    if (!suite.setInteger("key", 1)) return 3;  // the standard suite cannot be created either
    return 0;
  });
  EXPECT_EQ(status, 0);
}

TEST_F(SuiteTest, StandardSuiteWithoutFolderReadsNothingAndRefusesWrites) {
  Suite suite = Suite::open(sharedName, SuiteLocation{{}, "zelto-test"});
  EXPECT_TRUE(suite.isFallback());
  EXPECT_EQ(suite.integer("key"), std::nullopt);
  EXPECT_TRUE(suite.setInteger("key", 1).has_value());
  EXPECT_TRUE(suite.remove("key").has_value());
}

}  // namespace
}  // namespace zelto::defaults
