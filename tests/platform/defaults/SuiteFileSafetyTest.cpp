#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/defaults/Suite.hpp"
#include "tests/platform/defaults/TemporaryFolder.hpp"

namespace zelto::defaults {
namespace {

using testing::TemporaryFolder;

constexpr const char* sharedName = "group.zelto.limits";

// Sets the umask for the lifetime of the value.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : previous_(::umask(mask)) {}
  ~ScopedUmask() { ::umask(previous_); }

 private:
  mode_t previous_;
};

class SuiteFileSafetyTest : public ::testing::Test {
 protected:
  SuiteLocation location() const { return {folder_.path() / "data" / "zelto-limits", "zelto-test"}; }
  std::filesystem::path databasePath() const { return location().directory / "group.zelto.limits.sqlite3"; }
  Suite shared() const { return Suite::open(sharedName, location()); }

  // Writes a real suite with one value and returns the file's bytes.
  std::string writeSampleDatabase() const {
    EXPECT_EQ(shared().setData("zelto-dashboard-snapshot-v2", std::string(20'000, 'j')), std::nullopt);
    EXPECT_EQ(shared().setInteger("zelto-usage-week-offset-v1", -1), std::nullopt);
    return testing::readBytes(databasePath());
  }

  // Every way of reading, which must all find nothing.
  void expectReadsAsEmpty(const Suite& suite) const {
    EXPECT_EQ(suite.data("zelto-dashboard-snapshot-v2"), std::nullopt);
    EXPECT_EQ(suite.integer("zelto-usage-week-offset-v1"), std::nullopt);
    EXPECT_EQ(suite.value("zelto-usage-week-offset-v1"), std::nullopt);
    EXPECT_TRUE(suite.entries().empty());
  }

  TemporaryFolder folder_;
};

TEST_F(SuiteFileSafetyTest, CreatesFoldersAndFileForTheOwnerOnlyWhateverTheUmask) {
  for (mode_t mask : {mode_t{0}, mode_t{022}, mode_t{077}, mode_t{0777}}) {
    std::filesystem::remove_all(folder_.path() / "data");
    {
      ScopedUmask umask(mask);
      ASSERT_EQ(shared().setInteger("zelto-usage-week-offset-v1", -1), std::nullopt) << "umask " << mask;
    }
    EXPECT_EQ(testing::permissionsOf(folder_.path() / "data"), 0700u) << "umask " << mask;
    EXPECT_EQ(testing::permissionsOf(location().directory), 0700u) << "umask " << mask;
    EXPECT_EQ(testing::permissionsOf(databasePath()), 0600u) << "umask " << mask;
    EXPECT_EQ(shared().integer("zelto-usage-week-offset-v1"), -1);
  }
}

TEST_F(SuiteFileSafetyTest, ExistingFolderAndFileKeepTheirModes) {
  std::filesystem::create_directories(location().directory);
  ::chmod(location().directory.c_str(), 0755);
  ASSERT_EQ(shared().setInteger("key", 1), std::nullopt);
  ::chmod(databasePath().c_str(), 0640);
  ASSERT_EQ(shared().setInteger("key", 2), std::nullopt);
  EXPECT_EQ(testing::permissionsOf(location().directory), 0755u);
  EXPECT_EQ(testing::permissionsOf(databasePath()), 0640u);
}

TEST_F(SuiteFileSafetyTest, UsesARollbackJournal) {
  writeSampleDatabase();
  // Byte 18 and 19 of a SQLite header are 1 for a rollback-journal database
  // (2 in WAL mode); readers then need no shared-memory file.
  const std::string bytes = testing::readBytes(databasePath());
  ASSERT_GT(bytes.size(), 100u);
  EXPECT_EQ(bytes[18], 1);
  EXPECT_EQ(bytes[19], 1);
}

TEST_F(SuiteFileSafetyTest, FileThatIsNotSqliteIsNeverChanged) {
  const std::string foreign =
      "{\"this\": \"is a JSON file someone put here, not a database\"}\n" + std::string(5000, '.');
  std::filesystem::create_directories(location().directory);
  testing::writeBytes(databasePath(), foreign);
  Suite suite = shared();
  EXPECT_FALSE(suite.isFallback());
  expectReadsAsEmpty(suite);

  std::optional<SuiteError> writeError = suite.setInteger("zelto-usage-week-offset-v1", -1);
  ASSERT_TRUE(writeError.has_value());
  EXPECT_NE(writeError->message.find("not a database"), std::string::npos) << writeError->message;
  EXPECT_TRUE(suite.setData("key", "bytes").has_value());
  EXPECT_TRUE(suite.remove("key").has_value());

  std::optional<SuiteError> readError = suite.checkReadable();
  ASSERT_TRUE(readError.has_value());
  EXPECT_NE(readError->message.find("not a database"), std::string::npos) << readError->message;
  EXPECT_EQ(testing::readBytes(databasePath()), foreign);
}

TEST_F(SuiteFileSafetyTest, DamagedDatabaseReadsAsEmptyAndStaysAsItWas) {
  std::string bytes = writeSampleDatabase();
  ASSERT_EQ(bytes.size() % 4096, 0u);
  // Scribble over every page after the first (the table and the values),
  // keeping a valid header.
  for (std::size_t index = 4096; index < bytes.size(); ++index) bytes[index] = static_cast<char>(0xA5 ^ index);
  testing::writeBytes(databasePath(), bytes);

  Suite suite = shared();
  expectReadsAsEmpty(suite);
  EXPECT_TRUE(suite.checkReadable().has_value());
  EXPECT_EQ(testing::readBytes(databasePath()), bytes);
}

TEST_F(SuiteFileSafetyTest, TruncatedDatabaseReadsAsEmptyAndStaysAsItWas) {
  const std::string truncated = writeSampleDatabase().substr(0, 50);
  testing::writeBytes(databasePath(), truncated);
  Suite suite = shared();
  expectReadsAsEmpty(suite);
  EXPECT_TRUE(suite.checkReadable().has_value());
  EXPECT_EQ(testing::readBytes(databasePath()), truncated);
}

TEST_F(SuiteFileSafetyTest, HealthyDatabaseChecksReadable) {
  writeSampleDatabase();
  EXPECT_EQ(shared().checkReadable(), std::nullopt);
}

TEST_F(SuiteFileSafetyTest, ReadsLeaveTheDatabaseFileUnchanged) {
  const std::string before = writeSampleDatabase();
  Suite suite = shared();
  EXPECT_EQ(suite.integer("zelto-usage-week-offset-v1"), -1);
  EXPECT_EQ(suite.entries().size(), 2u);
  EXPECT_EQ(suite.checkReadable(), std::nullopt);
  EXPECT_EQ(testing::readBytes(databasePath()), before);
}

TEST_F(SuiteFileSafetyTest, ReadOnlyDatabaseStillReads) {
  writeSampleDatabase();
  // Another user who may read the database but not write it.
  ::chmod(folder_.path().c_str(), 0755);
  ::chmod((folder_.path() / "data").c_str(), 0755);
  ::chmod(location().directory.c_str(), 0777);
  ::chmod(databasePath().c_str(), 0444);
  const std::string before = testing::readBytes(databasePath());
  const int status = testing::runUnprivileged([&] {
    Suite suite = shared();
    if (suite.isFallback()) return 1;
    if (suite.integer("zelto-usage-week-offset-v1") != -1) return 2;
    if (suite.data("zelto-dashboard-snapshot-v2") != std::string(20'000, 'j')) return 3;
    if (!suite.setInteger("zelto-usage-week-offset-v1", 0)) return 4;  // a write must fail
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(testing::readBytes(databasePath()), before);
}

TEST_F(SuiteFileSafetyTest, ReadOnlyFolderAndFileStillRead) {
  // A reader that may not write anywhere near the suite still reads it, and
  // leaves it exactly as it was.
  const std::string before = writeSampleDatabase();
  ::chmod(folder_.path().c_str(), 0755);
  ::chmod((folder_.path() / "data").c_str(), 0755);
  ::chmod(location().directory.c_str(), 0555);
  ::chmod(databasePath().c_str(), 0444);
  const int status = testing::runUnprivileged([&] {
    Suite suite = shared();
    if (suite.isFallback()) return 1;
    if (suite.integer("zelto-usage-week-offset-v1") != -1) return 2;
    if (suite.entries().empty()) return 3;
    if (suite.checkReadable()) return 4;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(testing::readBytes(databasePath()), before);
}

TEST_F(SuiteFileSafetyTest, FilesLeftByReadersAreOwnerOnlyToo) {
  writeSampleDatabase();
  ASSERT_EQ(shared().integer("zelto-usage-week-offset-v1"), -1);
  for (const auto& entry : std::filesystem::directory_iterator(location().directory)) {
    EXPECT_EQ(testing::permissionsOf(entry.path()), 0600u) << entry.path();
  }
}

TEST_F(SuiteFileSafetyTest, UnreadableDatabaseFallsBack) {
  writeSampleDatabase();
  ::chmod(folder_.path().c_str(), 0755);
  ::chmod((folder_.path() / "data").c_str(), 0755);
  ::chmod(location().directory.c_str(), 0777);
  ::chmod(databasePath().c_str(), 0600);
  const int status = testing::runUnprivileged([&] {
    Suite suite = shared();
    if (!suite.isFallback()) return 1;
    if (suite.integer("zelto-usage-week-offset-v1")) return 2;
    return 0;
  });
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace zelto::defaults
