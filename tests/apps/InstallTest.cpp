#include <gtest/gtest.h>

#include "tests/apps/ProgramRunner.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace zelto {
namespace {

// Runs a program to its end in `folder`: its exit status and output, with
// its errors after the output.
std::pair<int, std::string> run(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
                                std::map<std::string, std::string> environment = {}) {
  environment.emplace("PATH", "/usr/local/bin:/usr/bin:/bin");
  testing::RunningProgram program(arguments, environment, folder);
  const int status = program.wait().value_or(-1);
  return {status, program.output() + program.error()};
}

// `cmake --install` into a fresh prefix puts every file where the desktop
// looks for it, naming the installed program, and the desktop's validators
// accept them where they are installed.
TEST(Install, EveryFileLandsWhereTheDesktopExpectsItAndValidates) {
  const testing::TemporaryDirectory folder;
  const std::filesystem::path prefix = folder / "prefix with space";
  const auto [status, output] = run({ZELTO_CMAKE_COMMAND, "--install", ZELTO_BINARY_DIR, "--prefix", prefix}, folder.path());
  ASSERT_EQ(status, 0) << output;
  for (const char* file : {"bin/zelto-limits-widget", "bin/zelto-limits-defaults", "share/man/man1/zelto-limits-defaults.1"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(prefix / file)) << file;
  }
  const std::string command = "\"" + (prefix / "bin/zelto-limits-widget").string() + "\" show\n";
  EXPECT_NE(testing::readFile(prefix / "share/applications/zelto-limits.desktop").find("Exec=" + command), std::string::npos);
  EXPECT_NE(testing::readFile(prefix / "share/zelto-limits/autostart/zelto-limits.desktop").find("Exec=" + command), std::string::npos);
  const auto unit = prefix / "share/systemd/user/zelto-limits-widget.service";
  EXPECT_NE(testing::readFile(unit).find("ExecStart=" + command), std::string::npos);
  EXPECT_NE(testing::readFile(prefix / "share/icons/hicolor/scalable/apps/zelto-limits.svg").find("<svg"), std::string::npos);
  EXPECT_NE(testing::readFile(prefix / "share/man/man1/zelto-limits-widget.1").find("autostart"), std::string::npos);

  if (run({"sh", "-c", "command -v desktop-file-validate"}, folder.path()).first == 0) {
    EXPECT_EQ(run({"desktop-file-validate", prefix / "share/applications/zelto-limits.desktop",
                   prefix / "share/zelto-limits/autostart/zelto-limits.desktop"}, folder.path()),
              std::make_pair(0, std::string()));
  }
  if (run({"sh", "-c", "command -v systemd-analyze"}, folder.path()).first == 0) {
    EXPECT_EQ(run({"systemd-analyze", "--user", "verify", unit}, folder.path(), {{"XDG_RUNTIME_DIR", folder.path()}}),
              std::make_pair(0, std::string()));
  }
}

// `autostart on` writes the entry into the user's autostart folder (where
// XDG_CONFIG_HOME says, else ~/.config), `status` tells, `off` removes it.
TEST(Install, AutostartTurnsOnAndOffForTheUser) {
  const testing::TemporaryDirectory folder;
  const std::pair<std::map<std::string, std::string>, std::filesystem::path> cases[] = {
      {{{"HOME", folder.path()}}, folder / ".config/autostart/zelto-limits.desktop"},
      {{{"HOME", folder.path()}, {"XDG_CONFIG_HOME", folder / "config"}}, folder / "config/autostart/zelto-limits.desktop"},
  };
  for (const auto& [environment, entry] : cases) {
    auto autostart = [&](const char* action) { return run({ZELTO_WIDGET_PROGRAM, "autostart", action}, folder.path(), environment); };
    EXPECT_EQ(autostart("status"), std::make_pair(0, std::string("off\n")));
    EXPECT_EQ(autostart("on"), std::make_pair(0, "on " + entry.string() + "\n"));
    EXPECT_NE(testing::readFile(entry).find("Exec=\"" ZELTO_WIDGET_PROGRAM "\" show\n"), std::string::npos);
    EXPECT_EQ(autostart("status"), std::make_pair(0, "on " + entry.string() + "\n"));
    EXPECT_EQ(autostart("off"), std::make_pair(0, std::string("off\n")));
    EXPECT_FALSE(std::filesystem::exists(entry));
  }
}

}  // namespace
}  // namespace zelto
