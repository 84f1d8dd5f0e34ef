#include "platform/defaults/ReadConnectionPool.hpp"

#include <gtest/gtest.h>

#include "TemporaryFolder.hpp"
#include "platform/defaults/Suite.hpp"

namespace zelto::defaults {
namespace {

using testing::inChildProcess;

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

TEST_F(ReadConnectionPoolTest, LeasesOfOneDatabaseAreHeldApart) {
  ASSERT_EQ(suite().setInteger("offset", -1), std::nullopt);
  const ReadConnectionLease first = acquireReadConnection(suite().path());
  const ReadConnectionLease second = acquireReadConnection(suite().path());
  ASSERT_TRUE(first && second);
  EXPECT_NE(first.get(), second.get());
  EXPECT_FALSE(acquireReadConnection(folder / "missing.sqlite3"));
  EXPECT_FALSE(std::filesystem::exists(folder / "missing.sqlite3"));
}

}  // namespace
}  // namespace zelto::defaults
