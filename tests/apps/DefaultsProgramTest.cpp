#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "platform/defaults/Suite.hpp"
#include "tests/platform/defaults/TemporaryFolder.hpp"

namespace zelto::defaults::testing {
namespace {

struct ProgramResult {
  int status = -1;
  std::string output;
  std::string error;
};

// Runs the built program with exactly `environment` (NAME=value ...), its
// standard input from `input`.
ProgramResult runProgram(const TemporaryFolder& folder, const std::string& environment, const std::string& arguments,
                         const std::filesystem::path& input = "/dev/null") {
  const std::string command = "env -i " + environment + " " + ZELTO_DEFAULTS_PROGRAM + " " + arguments + " <'" +
                              input.string() + "' >'" + (folder / "out").string() + "' 2>'" +
                              (folder / "err").string() + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(folder / "out"), readBytes(folder / "err")};
}

TEST(DefaultsProgram, FindsTheSuiteFolderAndReadsStandardInput) {
  TemporaryFolder folder;
  const std::string home = "HOME='" + (folder / "home").string() + "'";
  const std::string named = "ZELTO_LIMITS_DEFAULTS_DIR='" + (folder / "suites").string() + "'";
  const std::string json = "{\"updatedAt\": 1, \"accounts\": []}";
  writeBytes(folder / "in", json);
  EXPECT_EQ(runProgram(folder, named, "write zelto-dashboard-snapshot-v2 --data-file -", folder / "in").status, 0);
  EXPECT_EQ(runProgram(folder, named, "read zelto-dashboard-snapshot-v2").output, json + "\n");
  ASSERT_EQ(runProgram(folder, "XDG_DATA_HOME='" + (folder / "data").string() + "' " + home, "write k --int 2").status,
            0);
  ASSERT_EQ(runProgram(folder, home, "write k --int 3").status, 0);
  const auto defaultFolder = folder / "home" / ".local" / "share" / "zelto-limits";
  EXPECT_EQ(Suite::open("group.zelto.limits", {folder / "data" / "zelto-limits", "x"}).integer("k"), 2);
  EXPECT_EQ(Suite::open("group.zelto.limits", {defaultFolder, "x"}).integer("k"), 3);

  // The default folder is kept owner-only; a folder the user named is left
  // as it is.
  ::chmod(defaultFolder.c_str(), 0755);
  ::chmod((folder / "suites").c_str(), 0755);
  ASSERT_EQ(runProgram(folder, home, "write k --int 4").status, 0);
  ASSERT_EQ(runProgram(folder, named, "write k --int 5").status, 0);
  EXPECT_EQ(permissionsOf(defaultFolder), 0700u);
  EXPECT_EQ(permissionsOf(folder / "suites"), 0755u);

  const ProgramResult nowhere = runProgram(folder, "", "read");
  EXPECT_EQ(nowhere.status, 2);
  EXPECT_NE(nowhere.error.find("--dir"), std::string::npos) << nowhere.error;
}

TEST(DefaultsProgram, UnreadableStandardInputIsAnErrorNotAnEmptyValue) {
  TemporaryFolder folder;
  const ProgramResult result = runProgram(folder, "ZELTO_LIMITS_DEFAULTS_DIR='" + (folder / "s").string() + "'",
                                          "write k --data-file -", folder.path());
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.error.find("cannot read standard input"), std::string::npos) << result.error;
  EXPECT_EQ(std::count(result.error.begin(), result.error.end(), '\n'), 1) << result.error;
}

}  // namespace
}  // namespace zelto::defaults::testing
