#include <gtest/gtest.h>
#include <sys/stat.h>

#include <boost/json/parse.hpp>

#include "platform/defaults/Suite.hpp"
#include "tests/apps/ProgramRunner.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace zelto {
namespace {

// The Python block that follows `heading` in README.md, exactly as written.
std::string readmeSnippet(const std::string& heading) {
  const std::string readme = testing::readFile(std::filesystem::path(ZELTO_SOURCE_DIR) / "README.md");
  const std::size_t section = readme.find(heading);
  const std::size_t start = readme.find("```python\n", section);
  const std::size_t end = readme.find("\n```\n", start);
  if (section == std::string::npos || start == std::string::npos || end == std::string::npos) return "";
  return readme.substr(start + 10, end + 1 - (start + 10));
}

// The companion written in the README, run as it stands, writes a suite
// that the widget reads: `snapshot` prints exactly the stored dashboard.
TEST(CompanionInterface, ReadmePythonCompanionFeedsTheWidget) {
  const testing::TemporaryDirectory folder;
  const std::string snippet = readmeSnippet("A complete companion in Python");
  ASSERT_FALSE(snippet.empty());
  std::ofstream(folder / "companion.py") << snippet;
  const std::filesystem::path suites = folder / "suites";
  const std::map<std::string, std::string> environment = {
      {"ZELTO_LIMITS_DEFAULTS_DIR", suites.string()}, {"HOME", folder.path().string()}, {"TZ", "UTC"},
      {"PATH", "/usr/local/bin:/usr/bin:/bin"}};
  testing::RunningProgram python({"python3", (folder / "companion.py").string()}, environment, folder.path());
  ASSERT_EQ(python.wait(), 0) << python.error();

  const std::filesystem::path file = suites / "group.zelto.limits.sqlite3";
  struct stat status {};
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  const auto bytes =
      defaults::Suite::open("group.zelto.limits", {suites, "test"}).data(SharedSnapshotStore::dashboardKey).value();
  ASSERT_TRUE(bytes) << "no byte string under the dashboard key";
  const auto written = decodeDashboardSnapshot(*bytes);
  ASSERT_TRUE(written.ok()) << written.error().describe();

  testing::RunningProgram widget({ZELTO_WIDGET_PROGRAM, "snapshot"}, environment, folder.path());
  ASSERT_EQ(widget.wait(), 0) << widget.error();
  const boost::json::value entry = boost::json::parse(widget.output());
  EXPECT_EQ(entry.at("dashboard"), boost::json::value(toJson(written.value())));
}

}  // namespace
}  // namespace zelto
