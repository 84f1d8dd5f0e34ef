#include <gtest/gtest.h>

#include "tests/apps/ProgramRunner.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace zelto {
namespace {

const std::map<std::string, std::string> toolEnvironment = {{"PATH", "/usr/local/bin:/usr/bin:/bin"},
                                                            {"LANG", "C.UTF-8"}};

// Runs a tool to the end; its exit status, standard output and error.
std::tuple<int, std::string, std::string> runTool(const std::vector<std::string>& arguments,
                                                  const std::map<std::string, std::string>& environment,
                                                  const std::filesystem::path& folder) {
  testing::RunningProgram program(arguments, environment, folder);
  const std::optional<int> status = program.wait();
  return {status.value_or(-1), program.output(), program.error()};
}

bool hasTool(const std::string& name) {
  return std::get<0>(runTool({"sh", "-c", "command -v " + name}, toolEnvironment, testing::TemporaryDirectory().path())) == 0;
}

// `cmake --install` into a fresh prefix puts every file where the desktop
// looks for it, and the desktop's own validators accept them.
TEST(Install, EveryFileLandsWhereTheDesktopExpectsItAndValidates) {
  const testing::TemporaryDirectory folder;
  const std::filesystem::path prefix = folder / "prefix with space";
  const auto [status, output, error] =
      runTool({ZELTO_CMAKE_COMMAND, "--install", ZELTO_BINARY_DIR, "--prefix", prefix.string()}, toolEnvironment,
              folder.path());
  ASSERT_EQ(status, 0) << output << error;

  const std::filesystem::path program = prefix / "bin/zelto-limits-widget";
  for (const char* file : {"bin/zelto-limits-widget", "bin/zelto-limits-defaults",
                           "share/applications/zelto-limits.desktop", "share/icons/hicolor/scalable/apps/zelto-limits.svg",
                           "share/zelto-limits/autostart/zelto-limits.desktop",
                           "share/systemd/user/zelto-limits-widget.service", "share/man/man1/zelto-limits-widget.1",
                           "share/man/man1/zelto-limits-defaults.1"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(prefix / file)) << file;
  }
  const std::string desktop = testing::RunningProgram::read(prefix / "share/applications/zelto-limits.desktop");
  EXPECT_NE(desktop.find("Exec=\"" + program.string() + "\" show\n"), std::string::npos) << desktop;
  const std::string unit = testing::RunningProgram::read(prefix / "share/systemd/user/zelto-limits-widget.service");
  EXPECT_NE(unit.find("ExecStart=\"" + program.string() + "\" show\n"), std::string::npos) << unit;
  EXPECT_EQ(testing::RunningProgram::read(prefix / "share/icons/hicolor/scalable/apps/zelto-limits.svg").find("<svg"),
            39u);
  // The man page carries the help text, subcommands included.
  EXPECT_NE(testing::RunningProgram::read(prefix / "share/man/man1/zelto-limits-widget.1").find("autostart"),
            std::string::npos);

  if (hasTool("desktop-file-validate")) {
    const auto [valid, out, err] = runTool({"desktop-file-validate", (prefix / "share/applications/zelto-limits.desktop").string(),
                                            (prefix / "share/zelto-limits/autostart/zelto-limits.desktop").string()},
                                           toolEnvironment, folder.path());
    EXPECT_EQ(valid, 0) << out << err;
  }
  if (hasTool("systemd-analyze")) {
    std::map<std::string, std::string> environment = toolEnvironment;
    environment["XDG_RUNTIME_DIR"] = folder.path().string();
    environment["HOME"] = folder.path().string();
    const auto [valid, out, err] = runTool(
        {"systemd-analyze", "--user", "verify", (prefix / "share/systemd/user/zelto-limits-widget.service").string()},
        environment, folder.path());
    EXPECT_EQ(valid, 0) << out << err;
  }
}

// `autostart on` writes the entry into the user's autostart folder (where
// XDG_CONFIG_HOME says, else ~/.config), `status` tells, `off` removes it.
TEST(Install, AutostartTurnsOnAndOffForTheUser) {
  const testing::TemporaryDirectory folder;
  struct Case {
    std::map<std::string, std::string> environment;
    std::filesystem::path entry;
  };
  const Case cases[] = {
      {{{"HOME", folder.path().string()}}, folder / ".config/autostart/zelto-limits.desktop"},
      {{{"HOME", folder.path().string()}, {"XDG_CONFIG_HOME", (folder / "config").string()}},
       folder / "config/autostart/zelto-limits.desktop"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    auto autostart = [&](const char* action) { return runTool({ZELTO_WIDGET_PROGRAM, "autostart", action}, c.environment, folder.path()); };
    EXPECT_EQ(std::get<1>(autostart("status")), "off\n");
    EXPECT_EQ(std::get<1>(autostart("on")), "on " + c.entry.string() + "\n");
    EXPECT_NE(testing::RunningProgram::read(c.entry).find("Exec=\"" ZELTO_WIDGET_PROGRAM "\" show\n"), std::string::npos);
    EXPECT_EQ(std::get<1>(autostart("status")), "on " + c.entry.string() + "\n");
    EXPECT_EQ(std::get<1>(autostart("off")), "off\n");
    EXPECT_FALSE(std::filesystem::exists(c.entry));
  }
}

}  // namespace
}  // namespace zelto
