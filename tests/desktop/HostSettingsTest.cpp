#include <gtest/gtest.h>

#include <fstream>

#include "apps/zelto-limits-widget/HostSettings.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace zelto::cli {
namespace {

TEST(HostSettings, EachInstanceKeepsItsFamilyAndPositionBesideOthers) {
  const testing::TemporaryDirectory folder;
  const HostSettings settings(folder / "zelto-limits/host.ini");
  const InstanceSettings work{kit::WidgetFamily::systemLarge, desktop::WindowPosition{120, -4, "DELL U2720Q"}};
  const InstanceSettings home{kit::WidgetFamily::systemSmall, desktop::WindowPosition{0, 300, std::nullopt}};
  ASSERT_TRUE(settings.save("work", work));
  ASSERT_TRUE(settings.save("home", home));
  EXPECT_EQ(settings.load("work"), work);
  EXPECT_EQ(settings.load("home"), home);
  EXPECT_EQ(settings.load("never-saved"), InstanceSettings{});
}

TEST(HostSettings, UnreadableValuesFallBackToDefaults) {
  const testing::TemporaryDirectory folder;
  const struct {
    const char* text;
    InstanceSettings expected;
  } cases[] = {
      {"\x01\xff not a key file [[", {}},
      {"[widget default]\nfamily=huge\nx=10\ny=20\n", {kit::WidgetFamily::systemMedium, {{10, 20, std::nullopt}}}},
      {"[widget default]\nfamily=small\nx=ten\ny=20\n", {kit::WidgetFamily::systemSmall, std::nullopt}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::ofstream(folder / "host.ini", std::ios::trunc) << c.text;
    EXPECT_EQ(HostSettings(folder / "host.ini").load("default"), c.expected);
  }
}

TEST(HostSettings, DefaultFileFollowsTheConfigurationFolder) {
  const auto lookup = [](std::optional<std::string> config) {
    return [config](const std::string& name) -> std::optional<std::string> {
      if (name == "XDG_CONFIG_HOME") return config;
      if (name == "HOME") return std::string("/home/ada");
      return std::nullopt;
    };
  };
  EXPECT_EQ(HostSettings::defaultFile(lookup("/cfg")), "/cfg/zelto-limits/host.ini");
  EXPECT_EQ(HostSettings::defaultFile(lookup("")), "/home/ada/.config/zelto-limits/host.ini");
}

}  // namespace
}  // namespace zelto::cli
