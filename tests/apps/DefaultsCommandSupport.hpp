#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "apps/zelto-limits-defaults/DefaultsCommand.hpp"
#include "platform/defaults/Suite.hpp"
#include "tests/platform/defaults/TemporaryFolder.hpp"

namespace zelto::defaults::testing {

struct CommandResult {
  int status = -1;
  std::string output;
  std::string error;
};

// Runs the command in-process against a suite folder of its own, as if
// ZELTO_LIMITS_DEFAULTS_DIR pointed there.
class DefaultsCommandTest : public ::testing::Test {
 protected:
  std::filesystem::path suiteFolder() const { return folder_.path() / "suites"; }
  Suite suite(const std::string& name = "group.zelto.limits") const {
    return Suite::open(name, SuiteLocation{suiteFolder(), "zelto-limits-defaults"});
  }

  CommandResult run(const std::vector<std::string>& arguments, const std::string& input = "") const {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const std::string folder = suiteFolder().string();
    auto environment = [folder](const std::string& name) -> std::optional<std::string> {
      if (name == "ZELTO_LIMITS_DEFAULTS_DIR") return folder;
      return std::nullopt;
    };
    CommandResult result;
    result.status = runDefaultsCommand(arguments, environment, {in, out, err});
    result.output = out.str();
    result.error = err.str();
    return result;
  }

  TemporaryFolder folder_;
};

// One line on standard error, naming the program.
inline ::testing::AssertionResult isOneErrorLine(const std::string& error) {
  const std::string prefix = "zelto-limits-defaults: ";
  if (error.compare(0, prefix.size(), prefix) != 0) return ::testing::AssertionFailure() << "no prefix: " << error;
  if (error.size() <= prefix.size() + 1 || error.back() != '\n' || error.find('\n') != error.size() - 1) {
    return ::testing::AssertionFailure() << "not exactly one line: " << error;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace zelto::defaults::testing
