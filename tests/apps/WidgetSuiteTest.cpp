#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "apps/zelto-limits-widget/SuiteOptions.hpp"
#include "tests/platform/defaults/TemporaryFolder.hpp"
#include "tests/support/Dashboards.hpp"
#include "tests/support/Environments.hpp"

namespace zelto::cli {
namespace {

using defaults::SuiteAccess;

locale::EnvironmentLookup fakeEnvironment(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
    auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  };
}

TEST(ResolveContainer, FindsTheFolderAndRefusesWhatCannotBeUsed) {
  testing::TemporaryDirectory directory;
  const auto home = fakeEnvironment({{"HOME", directory.path().string()}});
  const SharedContainer standard = resolveContainer({}, home, SuiteAccess::write);
  EXPECT_EQ(standard.location.directory, directory.path() / ".local/share/zelto-limits");
  EXPECT_EQ(standard.location.origin, defaults::FolderOrigin::defaultFolder);
  EXPECT_EQ(standard.suiteName, "group.zelto.limits");
  const auto overridden = resolveContainer({}, fakeEnvironment({{"ZELTO_LIMITS_DEFAULTS_DIR", "/srv/s"}}),
                                           SuiteAccess::read);
  EXPECT_EQ(overridden.location.directory, "/srv/s");
  EXPECT_EQ(overridden.location.origin, defaults::FolderOrigin::namedByUser);

  const auto file = directory.path() / "not-a-folder";
  defaults::testing::writeBytes(file, "x");
  RequestOptions refused[6];
  refused[0].suiteName = "../escape";
  refused[1].suiteName = "";
  refused[2].suiteName = std::string(240, 's');
  refused[3].directory = "";
  refused[4].directory = file.string();
  refused[5].directory = (file / "below").string();
  for (const RequestOptions& options : refused) {
    for (SuiteAccess access : {SuiteAccess::read, SuiteAccess::write}) {
      EXPECT_THROW(resolveContainer(options, home, access), UsageError)
          << options.suiteName.value_or("") << options.directory.value_or("");
    }
  }
  EXPECT_THROW(resolveContainer({}, fakeEnvironment({}), SuiteAccess::read), UsageError);
}

class WidgetSuiteTest : public ::testing::Test {
 protected:
  struct ProgramResult {
    int status;
    std::string output, error;
  };

  // Runs the real program on the suite.
  ProgramResult runProgram(const std::string& arguments) const {
    const std::string command = "ZELTO_LIMITS_DEFAULTS_DIR='" + directory.path().string() + "' " +
                                ZELTO_WIDGET_PROGRAM + " --now 2025-03-12T10:00:00Z " + arguments + " >'" +
                                (directory / "stdout").string() + "' 2>'" + (directory / "stderr").string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, defaults::testing::readBytes(directory / "stdout"),
            defaults::testing::readBytes(directory / "stderr")};
  }

  testing::TemporaryDirectory directory;
  SharedContainer container = testing::containerIn(directory.path());
  host::RequestEnvironment environment = testing::environmentAt();
};

TEST_F(WidgetSuiteTest, ABusySuiteExitsThreeAndTheIntentStoresNothing) {
  auto account = testing::plainAccount("a");
  account.usage = testing::usageOn({environment.now - 21 * testing::day}, environment.calendar);
  testing::storeDashboard(container, ZeltoDashboardSnapshot{environment.now, {account}});
  testing::storeOffset(container, -2);
  {
    const defaults::testing::ExclusiveHolder holder(testing::suiteOf(container).path(), 30'000);
    for (const char* arguments : {"intent previous", "timeline"}) {
      const ProgramResult result = runProgram(arguments);
      EXPECT_EQ(result.status, 3) << arguments;
      EXPECT_EQ(result.output, "") << "nothing printed as if there were no data";
      EXPECT_EQ(result.error.rfind("zelto-limits-widget: the suite is busy: ", 0), 0u) << result.error;
      EXPECT_EQ(result.error.find('\n'), result.error.size() - 1) << result.error;
    }
  }
  EXPECT_EQ(testing::storedOffset(container), -2);
}

TEST_F(WidgetSuiteTest, AnIntentOnAnotherProgramsDatabaseExitsTwoAndChangesNothing) {
  const auto path = testing::suiteOf(container).path();
  {
    defaults::SqliteConnection other(path, defaults::ConnectionMode::readWriteCreate);
    ASSERT_TRUE(other.execute("CREATE TABLE notes(body TEXT)"));
  }
  const std::string before = defaults::testing::readBytes(path);
  const ProgramResult result = runProgram("intent next");
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.error.find("not a Zelto Limits suite"), std::string::npos) << result.error;
  EXPECT_EQ(defaults::testing::readBytes(path), before);
}

}  // namespace
}  // namespace zelto::cli
