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
  SuiteLocation location(FolderOrigin origin = FolderOrigin::namedByUser) const {
    return {folder_.path() / "data" / "zelto-limits", "zelto-test", origin};
  }
  std::filesystem::path databasePath() const { return location().directory / "group.zelto.limits.sqlite3"; }
  Suite shared() const { return Suite::open(sharedName, location()); }

  // Writes a real suite with two values and returns the file's bytes.
  std::string writeSampleDatabase() const {
    EXPECT_EQ(shared().setData("zelto-dashboard-snapshot-v2", std::string(20'000, 'j')), std::nullopt);
    EXPECT_EQ(shared().setInteger("zelto-usage-week-offset-v1", -1), std::nullopt);
    return testing::readBytes(databasePath());
  }

  // Reads find nothing, writes fail, and the file stays byte for byte, with
  // its mode.
  void expectLeftAlone(const std::string& bytes, const char* why) const {
    const mode_t mode = testing::permissionsOf(databasePath());
    const Suite suite = shared();
    EXPECT_EQ(suite.data("zelto-dashboard-snapshot-v2"), std::nullopt);
    EXPECT_EQ(suite.integer("zelto-usage-week-offset-v1"), std::nullopt);
    EXPECT_TRUE(suite.entries().value().empty());
    const std::optional<SuiteError> error = suite.setInteger("zelto-usage-week-offset-v1", -1);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->message.find(why), std::string::npos) << error->message;
    EXPECT_TRUE(suite.remove("zelto-usage-week-offset-v1").has_value());
    const std::optional<SuiteError> check = suite.checkReadable();
    ASSERT_TRUE(check.has_value());
    EXPECT_NE(check->message.find(why), std::string::npos) << check->message;
    EXPECT_EQ(testing::readBytes(databasePath()), bytes);
    EXPECT_EQ(testing::permissionsOf(databasePath()), mode);
  }

  TemporaryFolder folder_;
};

TEST_F(SuiteFileSafetyTest, FoldersAndFilesAreForTheOwnerOnlyWhateverTheUmaskOrTheirOldMode) {
  struct Case {
    mode_t umask;
    // The mode of an empty database and side files another program left,
    // or 0 for none.
    mode_t leftMode;
    FolderOrigin origin;
  };
  const Case cases[] = {{0, 0, FolderOrigin::namedByUser},       {0777, 0, FolderOrigin::namedByUser},
                        {022, 0644, FolderOrigin::namedByUser},  {022, 0666, FolderOrigin::defaultFolder}};
  for (const Case& c : cases) {
    std::filesystem::remove_all(folder_.path() / "data");
    if (c.leftMode != 0) {
      std::filesystem::create_directories(location().directory);
      ::chmod(location().directory.c_str(), 0755);
      for (const char* suffix : {"", "-wal", "-shm"}) {
        testing::writeBytes(databasePath().string() + suffix, "");
        ::chmod((databasePath().string() + suffix).c_str(), c.leftMode);
      }
    }
    {
      ScopedUmask umask(c.umask);
      ASSERT_EQ(Suite::open(sharedName, location(c.origin)).setInteger("key", -1), std::nullopt);
    }
    EXPECT_TRUE(c.leftMode != 0 || testing::permissionsOf(folder_.path() / "data") == 0700u);
    // A folder the user named and that already existed keeps its mode.
    const bool kept = c.leftMode != 0 && c.origin == FolderOrigin::namedByUser;
    EXPECT_EQ(testing::permissionsOf(location().directory), kept ? 0755u : 0700u) << c.umask << " " << c.leftMode;
    for (const auto& entry : std::filesystem::directory_iterator(location().directory)) {
      EXPECT_EQ(testing::permissionsOf(entry.path()), 0600u) << entry.path() << " " << c.leftMode;
    }
    EXPECT_EQ(shared().integer("key"), -1);
  }
}

TEST_F(SuiteFileSafetyTest, UsesAWriteAheadLog) {
  writeSampleDatabase();
  // Bytes 18 and 19 of a SQLite header are 2 for a database in WAL mode:
  // readers never wait for a writer.
  const std::string bytes = testing::readBytes(databasePath());
  ASSERT_GT(bytes.size(), 100u);
  EXPECT_EQ(bytes[18], 2);
  EXPECT_EQ(bytes[19], 2);
}

TEST_F(SuiteFileSafetyTest, FilesThatAreNotSuitesAreNeverChanged) {
  std::filesystem::create_directories(location().directory);
  const std::string json = "{\"this\": \"is a JSON file someone put here\"}\n" + std::string(5000, '.');
  testing::writeBytes(databasePath(), json);
  ::chmod(databasePath().c_str(), 0644);
  expectLeftAlone(json, "not a database");

  // A SQLite database of another program, with a table of its own.
  std::filesystem::remove(databasePath());
  {
    SqliteConnection other(databasePath(), ConnectionMode::readWriteCreate);
    ASSERT_TRUE(other.execute("CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES('keep me')"));
  }
  ::chmod(databasePath().c_str(), 0644);
  expectLeftAlone(testing::readBytes(databasePath()), "not a Zelto Limits suite");
}

TEST_F(SuiteFileSafetyTest, DamagedOrTruncatedDatabaseReadsAsEmptyAndStaysAsItWas) {
  const std::string whole = writeSampleDatabase();
  ASSERT_EQ(whole.size() % 4096, 0u);
  std::string scribbled = whole;
  // Every page after the first (the table and the values), keeping a valid
  // header.
  for (std::size_t index = 4096; index < scribbled.size(); ++index) scribbled[index] = static_cast<char>(0xA5 ^ index);
  for (const std::string& bytes : {scribbled, whole.substr(0, 50)}) {
    for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(databasePath().string() + suffix);
    testing::writeBytes(databasePath(), bytes);
    const Suite suite = shared();
    EXPECT_EQ(suite.data("zelto-dashboard-snapshot-v2"), std::nullopt);
    EXPECT_TRUE(suite.entries().value().empty());
    EXPECT_TRUE(suite.checkReadable().has_value());
    EXPECT_EQ(testing::readBytes(databasePath()), bytes);
  }
}

TEST_F(SuiteFileSafetyTest, AFailedWriteLeavesNoFileBehind) {
  // SQLite cannot create its journal or log beside the new database.
  std::filesystem::create_directories(location().directory);
  for (const char* suffix : {"-journal", "-wal"}) std::filesystem::create_directory(databasePath().string() + suffix);
  EXPECT_TRUE(shared().setInteger("key", 1).has_value());
  EXPECT_FALSE(std::filesystem::exists(databasePath()));
}

TEST_F(SuiteFileSafetyTest, ReadsLeaveTheFilesUnchangedAndStillWorkInAReadOnlyFolder) {
  const std::string before = writeSampleDatabase();
  EXPECT_EQ(shared().entries().value().size(), 2u);
  EXPECT_EQ(shared().checkReadable(), std::nullopt);
  EXPECT_EQ(testing::readBytes(databasePath()), before);
  // A reader that may not create or change anything beside the suite: the
  // files are its own (given to "nobody" when the tests run as root) but
  // read-only, and so is the folder.
  ::chmod(folder_.path().c_str(), 0755);
  ::chmod((folder_.path() / "data").c_str(), 0755);
  const bool root = ::geteuid() == 0;
  for (const auto& entry : std::filesystem::directory_iterator(location().directory)) {
    EXPECT_TRUE(!root || ::chown(entry.path().c_str(), 65534, 65534) == 0);
    ::chmod(entry.path().c_str(), 0400);
  }
  EXPECT_TRUE(!root || ::chown(location().directory.c_str(), 65534, 65534) == 0);
  ::chmod(location().directory.c_str(), 0500);
  EXPECT_EQ(testing::runUnprivileged([&] {
              const Suite suite = shared();
              if (suite.isFallback()) return 1;
              if (suite.integer("zelto-usage-week-offset-v1") != -1) return 2;
              return suite.data("zelto-dashboard-snapshot-v2") == std::string(20'000, 'j') ? 0 : 3;
            }),
            0);
  EXPECT_EQ(testing::readBytes(databasePath()), before);
}

}  // namespace
}  // namespace zelto::defaults
