#include "platform/defaults/SuiteLocation.hpp"

#include <gtest/gtest.h>

#include <map>

namespace zelto::defaults {
namespace {

locale::EnvironmentLookup environmentOf(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
    auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  };
}

struct DirectoryCase {
  const char* description;
  std::map<std::string, std::string> variables;
  std::optional<std::filesystem::path> expected;
};

TEST(DefaultSuiteDirectory, FollowsOverrideThenXdgDataHomeThenHome) {
  const DirectoryCase cases[] = {
      {"override wins",
       {{"ZELTO_LIMITS_DEFAULTS_DIR", "/srv/suites"}, {"XDG_DATA_HOME", "/data"}, {"HOME", "/home/ada"}},
       "/srv/suites"},
      {"relative override is taken as given", {{"ZELTO_LIMITS_DEFAULTS_DIR", "suites"}}, "suites"},
      {"empty override is ignored",
       {{"ZELTO_LIMITS_DEFAULTS_DIR", ""}, {"XDG_DATA_HOME", "/data"}},
       "/data/zelto-limits"},
      {"XDG_DATA_HOME before HOME", {{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/ada"}}, "/data/zelto-limits"},
      {"empty XDG_DATA_HOME falls back to HOME",
       {{"XDG_DATA_HOME", ""}, {"HOME", "/home/ada"}},
       "/home/ada/.local/share/zelto-limits"},
      {"relative XDG_DATA_HOME is invalid",
       {{"XDG_DATA_HOME", "data"}, {"HOME", "/home/ada"}},
       "/home/ada/.local/share/zelto-limits"},
      {"HOME alone", {{"HOME", "/home/ada"}}, "/home/ada/.local/share/zelto-limits"},
      {"nothing set", {}, std::nullopt},
      {"only empty values", {{"HOME", ""}, {"XDG_DATA_HOME", ""}}, std::nullopt},
  };
  for (const DirectoryCase& testCase : cases) {
    EXPECT_EQ(defaultSuiteDirectory(environmentOf(testCase.variables)), testCase.expected) << testCase.description;
  }
}

TEST(IsValidSuiteName, RefusesNamesThatAreNotOneFileName) {
  const std::pair<std::string, bool> cases[] = {
      {"group.zelto.limits", true},
      {"zelto-limits-defaults", true},
      {"...", true},
      {".hidden", true},
      {"with space", true},
      {"", false},
      {".", false},
      {"..", false},
      {"a/b", false},
      {"/", false},
      {"../escape", false},
      {std::string("a\0b", 3), false},
  };
  for (const auto& [name, valid] : cases) {
    EXPECT_EQ(isValidSuiteName(name), valid) << "name \"" << name << "\"";
  }
}

}  // namespace
}  // namespace zelto::defaults
