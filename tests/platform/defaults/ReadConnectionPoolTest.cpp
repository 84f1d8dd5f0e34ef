#include "platform/defaults/ReadConnectionPool.hpp"

#include <gtest/gtest.h>

#include "TemporaryFolder.hpp"
#include "platform/defaults/Suite.hpp"

namespace zelto::defaults {
namespace {

// Runs `body` in a forked child and returns its exit status.
int inChildProcess(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class ReadConnectionPoolTest : public ::testing::Test {
 protected:
  Suite suite() const { return Suite::open("group.zelto.limits", {folder.path(), "pool-tests"}); }
  testing::TemporaryFolder folder;
};

TEST_F(ReadConnectionPoolTest, KeptConnectionSeesAnotherProcesssWrite) {
  ASSERT_EQ(suite().setInteger("offset", -1), std::nullopt);
  ASSERT_EQ(suite().integer("offset"), -1);  // the pooled connection now exists
  EXPECT_EQ(inChildProcess([&] { return suite().setInteger("offset", -4) ? 1 : 0; }), 0);
  EXPECT_EQ(suite().integer("offset"), -4);
  EXPECT_EQ(inChildProcess([&] { return suite().remove("offset") ? 1 : 0; }), 0);
  EXPECT_EQ(suite().integer("offset"), std::nullopt);
}

TEST_F(ReadConnectionPoolTest, ReplacedOrRemovedFileIsReadAnew) {
  ASSERT_EQ(suite().setData("snapshot", "first"), std::nullopt);
  ASSERT_EQ(suite().data("snapshot"), "first");
  std::filesystem::remove(suite().path());
  EXPECT_EQ(suite().data("snapshot"), std::nullopt);
  ASSERT_EQ(suite().setData("snapshot", "second"), std::nullopt);
  EXPECT_EQ(suite().data("snapshot"), "second");
  // A foreign file moved over the database reads as empty, untouched.
  const auto foreign = folder / "foreign";
  testing::writeBytes(foreign, std::string(4096, 'x'));
  std::filesystem::rename(foreign, suite().path());
  EXPECT_EQ(suite().data("snapshot"), std::nullopt);
  EXPECT_EQ(testing::readBytes(suite().path()), std::string(4096, 'x'));
}

TEST_F(ReadConnectionPoolTest, ChildProcessDoesNotUseItsParentsConnection) {
  ASSERT_EQ(suite().setInteger("offset", -2), std::nullopt);
  ASSERT_EQ(suite().integer("offset"), -2);
  EXPECT_EQ(inChildProcess([&] {
              if (suite().integer("offset") != -2) return 1;
              if (suite().setInteger("offset", -3)) return 2;
              return suite().integer("offset") == -3 ? 0 : 3;
            }),
            0);
  EXPECT_EQ(suite().integer("offset"), -3);
}

TEST_F(ReadConnectionPoolTest, MissingDatabaseIsNeitherOpenedNorCreated) {
  EXPECT_FALSE(acquireReadConnection(folder / "missing.sqlite3"));
  EXPECT_FALSE(std::filesystem::exists(folder / "missing.sqlite3"));
}

}  // namespace
}  // namespace zelto::defaults
