// The host on a Wayland compositor with the layer shell: sway on its
// headless backend and a private session bus, both started here, and grim
// screenshots of sway's output.

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <memory>

#include "tests/desktop/HostProcess.hpp"

namespace {

using namespace zelto::testing;
namespace fs = std::filesystem;

constexpr guint32 desktop = 0x204060;
using Screenshot = std::unique_ptr<GdkPixbuf, decltype(&g_object_unref)>;

guint32 pixel(const Screenshot& shot, int x, int y) {
  const guint8* at = gdk_pixbuf_read_pixels(shot.get()) + y * gdk_pixbuf_get_rowstride(shot.get()) +
                     x * gdk_pixbuf_get_n_channels(shot.get());
  return at[0] << 16 | at[1] << 8 | at[2];
}

// sway with one 640x480 output of the desktop colour, run as nobody when the
// test runs as root (sway refuses root); the host, as the test's user,
// connects to its socket.
class LayerShell : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto runtime = folder_ / "runtime";
    for (const auto* folder : {"runtime", "sway", "grim"}) fs::create_directory(folder_ / folder);
    fs::permissions(runtime, fs::perms::owner_all);
    fs::permissions(folder_.path(), fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add);
    std::ofstream(folder_ / "sway.config") << "xwayland disable\noutput * mode 640x480 bg #204060 solid_color\n";
    std::vector<std::string> command{"sway", "-c", (folder_ / "sway.config").string()};
    if (geteuid() == 0) {
      const passwd* nobody = getpwnam("nobody");
      ASSERT_TRUE(nobody != nullptr && ::chown(runtime.c_str(), nobody->pw_uid, nobody->pw_gid) == 0);
      command.insert(command.begin(),
                     {"setpriv", "--reuid=nobody", "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups"});
    }
    sway_.emplace(command,
                  std::map<std::string, std::string>{
                      {"XDG_RUNTIME_DIR", runtime}, {"WLR_BACKENDS", "headless"}, {"WLR_RENDERER", "pixman"}},
                  folder_ / "sway");
    // Ready once the output shows the desktop.
    const bool started = eventually(
        [&] {
          for (const auto& entry : fs::directory_iterator(runtime)) {
            if (entry.is_socket() && entry.path().filename().string().rfind("wayland-", 0) == 0) socket_ = entry;
          }
          const auto shot = screenshot("desktop.png");
          return shot && pixel(shot, 0, 0) == desktop;
        },
        10s);
    if (!started) GTEST_SKIP() << "sway cannot start here:\n" << sway_->error();
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("WAYLAND_DISPLAY", socket_.c_str(), 1);
    setenv("GDK_BACKEND", "wayland", 1);
    unsetenv("DISPLAY");
  }

  // A screenshot of the output, kept in $ZELTO_TEST_OUTPUT_DIR when set.
  Screenshot screenshot(const std::string& name) const {
    const char* kept = std::getenv("ZELTO_TEST_OUTPUT_DIR");
    const fs::path file = kept != nullptr ? fs::path(kept) / ("layer-shell-" + name) : folder_ / name;
    fs::create_directories(file.parent_path());
    RunningProgram grim({"grim", file.string()}, {{"WAYLAND_DISPLAY", socket_.string()}}, folder_ / "grim");
    return {grim.wait(10s) == 0 ? gdk_pixbuf_new_from_file(file.c_str(), nullptr) : nullptr, g_object_unref};
  }

  TemporaryDirectory folder_;
  std::optional<RunningProgram> sway_;  // killed before its folder goes; swaybg ends with it
  fs::path socket_;
};

// Anchored to the output's top-left corner, the remembered position becomes
// the margins: the canvas fills exactly that rectangle, the desktop shows
// around it and in its rounded corners, and a normal window opened later
// covers it.
TEST_F(LayerShell, TheWidgetSitsOnTheBottomLayerAtItsMargins) {
  const int x = 230, y = 290, right = x + 364 - 1, bottom = y + 170 - 1, middleX = x + 364 / 2, middleY = y + 170 / 2;
  HostProcess host("medium", threeWeeks);
  fs::create_directories(host.folder() / "config/zelto-limits");
  std::ofstream(host.folder() / "config/zelto-limits/host.ini") << "[widget default]\nx=230\ny=290\n";
  host.start();
  EXPECT_EQ(host.count("window default layer-shell"), 1u) << host.log();
  const auto shot = screenshot("medium.png");
  ASSERT_TRUE(shot);
  // x, y, and whether the canvas is there.
  const int points[][3] = {{x, middleY, 1},     {right, middleY, 1},     {middleX, y, 1},     {middleX, bottom, 1},
                           {x - 1, middleY, 0}, {right + 1, middleY, 0}, {middleX, y - 1, 0}, {middleX, bottom + 1, 0},
                           {x, y, 0},           {right, bottom, 0}};
  for (const auto& [px, py, canvas] : points) EXPECT_EQ(pixel(shot, px, py) != desktop, canvas == 1) << px << "," << py;
  ASSERT_EQ(host.run({"gallery", "--window"}), 0);
  EXPECT_TRUE(eventually([&] {
    const auto covered = screenshot("medium-covered.png");
    return covered && pixel(covered, middleX, middleY) != pixel(shot, middleX, middleY) &&
           pixel(covered, x - 1, middleY) != desktop;
  })) << host.log();
}

}  // namespace
