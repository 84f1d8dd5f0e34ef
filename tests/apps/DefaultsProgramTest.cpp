#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "platform/defaults/Suite.hpp"
#include "tests/platform/defaults/TemporaryFolder.hpp"

namespace zelto::defaults::testing {
namespace {

struct ProgramResult {
  int status = -1;
  std::string output;
  std::string error;
};

// Runs the built program with exactly `environment`, feeding `input` on
// standard input.
class DefaultsProgramTest : public ::testing::Test {
 protected:
  ProgramResult run(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment,
                    const std::string& input = "") const {
    writeBytes(folder_ / "stdin", input);
    return runWithInputFrom(folder_ / "stdin", arguments, environment);
  }

  ProgramResult runWithInputFrom(const std::filesystem::path& in, const std::vector<std::string>& arguments,
                                 const std::map<std::string, std::string>& environment) const {
    const std::filesystem::path out = folder_ / "stdout", err = folder_ / "stderr";
    std::vector<std::string> argumentStrings = {ZELTO_DEFAULTS_PROGRAM};
    argumentStrings.insert(argumentStrings.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environmentStrings;
    for (const auto& [name, value] : environment) environmentStrings.push_back(name + "=" + value);
    std::vector<char*> argv, envp;
    for (std::string& argument : argumentStrings) argv.push_back(argument.data());
    for (std::string& variable : environmentStrings) envp.push_back(variable.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
      const int inFd = ::open(in.c_str(), O_RDONLY);
      const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (inFd < 0 || outFd < 0 || errFd < 0 || ::dup2(inFd, 0) < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0) {
        ::_exit(127);
      }
      ::execve(argv[0], argv.data(), envp.data());
      ::_exit(127);
    }
    ProgramResult result;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) result.status = WEXITSTATUS(status);
    result.output = readBytes(out);
    result.error = readBytes(err);
    return result;
  }

  std::map<std::string, std::string> overrideFolder() const {
    return {{"ZELTO_LIMITS_DEFAULTS_DIR", (folder_ / "suites").string()}, {"HOME", (folder_ / "home").string()}};
  }

  TemporaryFolder folder_;
};

TEST_F(DefaultsProgramTest, WritesFromStandardInputAndReadsBack) {
  const std::string json = "{\"updatedAt\": 1, \"accounts\": []}";
  const ProgramResult write = run({"write", "zelto-dashboard-snapshot-v2", "--data-file", "-"}, overrideFolder(), json);
  EXPECT_EQ(write.status, 0) << write.error;
  EXPECT_EQ(write.output + write.error, "");
  const ProgramResult read = run({"read", "zelto-dashboard-snapshot-v2"}, overrideFolder());
  EXPECT_EQ(read.status, 0);
  EXPECT_EQ(read.output, json + "\n");
  EXPECT_EQ(Suite::open("group.zelto.limits", {folder_ / "suites", "x"}).data("zelto-dashboard-snapshot-v2"), json);

  const ProgramResult missing = run({"read", "absent"}, overrideFolder());
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(std::count(missing.error.begin(), missing.error.end(), '\n'), 1) << missing.error;
}

TEST_F(DefaultsProgramTest, UnreadableStandardInputIsAnErrorNotACrash) {
  const ProgramResult result = runWithInputFrom(folder_.path(), {"write", "k", "--data-file", "-"}, overrideFolder());
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.error.find("cannot read standard input"), std::string::npos) << result.error;
  EXPECT_EQ(std::count(result.error.begin(), result.error.end(), '\n'), 1) << result.error;
}

TEST_F(DefaultsProgramTest, FindsTheSuiteFolderFromTheEnvironment) {
  const std::map<std::string, std::string> xdg = {{"XDG_DATA_HOME", (folder_ / "data").string()},
                                                  {"HOME", (folder_ / "home").string()}};
  const std::map<std::string, std::string> home = {{"HOME", (folder_ / "home").string()}};
  ASSERT_EQ(run({"write", "where", "--int", "1"}, overrideFolder()).status, 0);
  ASSERT_EQ(run({"write", "where", "--int", "2"}, xdg).status, 0);
  ASSERT_EQ(run({"write", "where", "--int", "3"}, home).status, 0);
  const auto stored = [&](const std::filesystem::path& directory) {
    return Suite::open("group.zelto.limits", {directory, "x"}).integer("where");
  };
  EXPECT_EQ(stored(folder_ / "suites"), 1);
  EXPECT_EQ(stored(folder_ / "data" / "zelto-limits"), 2);
  EXPECT_EQ(stored(folder_ / "home" / ".local" / "share" / "zelto-limits"), 3);
  EXPECT_EQ(permissionsOf(folder_ / "home" / ".local" / "share" / "zelto-limits"), 0700u);
  // The default folder is kept owner-only; a folder the user named is not
  // touched.
  ::chmod((folder_ / "home" / ".local" / "share" / "zelto-limits").c_str(), 0755);
  ::chmod((folder_ / "suites").c_str(), 0755);
  ASSERT_EQ(run({"write", "where", "--int", "4"}, home).status, 0);
  ASSERT_EQ(run({"write", "where", "--int", "5"}, overrideFolder()).status, 0);
  EXPECT_EQ(permissionsOf(folder_ / "home" / ".local" / "share" / "zelto-limits"), 0700u);
  EXPECT_EQ(permissionsOf(folder_ / "suites"), 0755u);

  const ProgramResult nowhere = run({"read"}, {});
  EXPECT_EQ(nowhere.status, 2);
  EXPECT_NE(nowhere.error.find("--dir"), std::string::npos) << nowhere.error;
}

}  // namespace
}  // namespace zelto::defaults::testing
