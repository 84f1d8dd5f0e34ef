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

struct LocationCase {
  const char* description;
  std::optional<std::filesystem::path> named;
  std::map<std::string, std::string> variables;
  std::optional<std::filesystem::path> directory;
  FolderOrigin origin = FolderOrigin::namedByUser;
};

TEST(SuiteLocation, FollowsTheCommandLineThenTheOverrideThenXdgDataHomeThenHome) {
  constexpr auto standard = FolderOrigin::defaultFolder;
  const LocationCase cases[] = {
      {"named folder wins", "/opt/s", {{"ZELTO_LIMITS_DEFAULTS_DIR", "/srv/suites"}}, "/opt/s"},
      {"override before the default",
       std::nullopt,
       {{"ZELTO_LIMITS_DEFAULTS_DIR", "/srv/suites"}, {"XDG_DATA_HOME", "/data"}, {"HOME", "/home/ada"}},
       "/srv/suites"},
      {"relative override is taken as given", std::nullopt, {{"ZELTO_LIMITS_DEFAULTS_DIR", "suites"}}, "suites"},
      {"empty override is ignored",
       std::nullopt,
       {{"ZELTO_LIMITS_DEFAULTS_DIR", ""}, {"XDG_DATA_HOME", "/data"}},
       "/data/zelto-limits",
       standard},
      {"relative XDG_DATA_HOME is invalid",
       std::nullopt,
       {{"XDG_DATA_HOME", "data"}, {"HOME", "/home/ada"}},
       "/home/ada/.local/share/zelto-limits",
       standard},
      {"nothing set", std::nullopt, {{"HOME", ""}}, std::nullopt},
  };
  for (const LocationCase& testCase : cases) {
    const auto location = suiteLocation(testCase.named, environmentOf(testCase.variables), "tool");
    ASSERT_EQ(location.has_value(), testCase.directory.has_value()) << testCase.description;
    if (!location) continue;
    EXPECT_EQ(location->directory, *testCase.directory) << testCase.description;
    EXPECT_EQ(location->origin, testCase.origin) << testCase.description;
  }
}

}  // namespace
}  // namespace zelto::defaults
