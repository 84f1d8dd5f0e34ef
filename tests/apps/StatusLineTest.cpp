#include <gtest/gtest.h>

#include <boost/json/parse.hpp>

#include "apps/zelto-limits-widget/StatusLine.hpp"
#include "platform/defaults/Suite.hpp"
#include "tests/apps/ProgramRunner.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace zelto::cli {
namespace {

constexpr Date now = 763291800;  // 2025-03-10T09:30:00Z

host::RequestEnvironment environment() {
  return {now, *locale::Calendar::make("UTC", 2), locale::Locale::make("en_US"), {}};
}

// One account named `name` whose tightest window has `remaining` percent
// left and resets in 2 h 18 min, beside a roomier window.
ZeltoDashboardSnapshot dashboardWith(const std::string& name, std::int64_t remaining) {
  ZeltoLimitSnapshot limits;
  limits.fetchedAt = now;
  limits.windows = {{"weekly", "Weekly", 10, now + 4 * 86400, 10080},
                    {"five", "5-hour", 100 - remaining, now + 8280, 300}};
  limits.resetCredits = {{"credit", "Full reset", now - 3600}};
  return ZeltoDashboardSnapshot{now, {{"id", name, std::nullopt, limits, std::nullopt, std::nullopt}}};
}

// The tone bands at their edges, in every format.
TEST(StatusLine, ToneClassesAndColoursFollowTheRemainingPercent) {
  struct Case {
    std::int64_t remaining;
    const char* className;
    const char* colour;
  };
  for (const Case& c : {Case{26, "ok", "#AEBEFF"}, Case{25, "warning", "#FFB570"}, Case{10, "warning", "#FFB570"},
                        Case{9, "critical", "#FF5B6F"}}) {
    SCOPED_TRACE(c.remaining);
    const StatusLine line = makeStatusLine(dashboardWith("Personal", c.remaining), environment());
    const std::string percent = std::to_string(c.remaining) + "%";
    EXPECT_EQ(line.text, "Personal " + percent + " · resets in 2 hr, 18 min");
    const auto waybar = boost::json::parse(formatStatusLine(line, StatusFormat::waybar)).as_object();
    EXPECT_EQ(waybar.at("class"), c.className);
    EXPECT_EQ(waybar.at("percentage"), c.remaining);
    EXPECT_EQ(formatStatusLine(line, StatusFormat::polybar), std::string("%{F") + c.colour + "}" + line.text + "%{F-}");
    const auto i3blocks = boost::json::parse(formatStatusLine(line, StatusFormat::i3blocks)).as_object();
    EXPECT_EQ(i3blocks.at("color"), c.colour);
    EXPECT_EQ(i3blocks.at("short_text").as_string(), percent);
  }
}

TEST(StatusLine, TooltipListsWindowsAndCreditsAndTheWaitingStateHasNoPercentage) {
  const StatusLine line = makeStatusLine(dashboardWith("Personal", 40), environment());
  EXPECT_EQ(line.tooltip,
            "Personal\n  Weekly: 90% left, resets in 4 days\n  5-hour: 40% left, resets in 2 hr, 18 min\n"
            "  Full reset: expired 1 hr ago");
  // Exactly 2 h 18 min ahead: the reset text turns into "2 hr, 17 min" at
  // once, before the credit's "1 hr ago" turns into "1 hr, 1 min ago".
  EXPECT_GT(line.nextChange, now);
  EXPECT_LT(line.nextChange, now + 0.01);

  const StatusLine waiting = makeStatusLine(std::nullopt, environment());
  const auto json = boost::json::parse(formatStatusLine(waiting, StatusFormat::json)).as_object();
  EXPECT_EQ(json.at("text"), "Waiting for Zelto");
  EXPECT_EQ(json.at("class"), "waiting");
  EXPECT_TRUE(json.at("percentage").is_null());
  EXPECT_FALSE(boost::json::parse(formatStatusLine(waiting, StatusFormat::waybar)).as_object().contains("percentage"));
}

// A name with quotes, a line break and markup stays one line and reaches
// each bar as text, never as markup or a formatting tag.
TEST(StatusLine, DataTextsAreEscapedForEachBar) {
  const StatusLine line = makeStatusLine(dashboardWith("A \"q\"\n<b>&%{F#f00}", 50), environment());
  const std::string shown = "A \"q\" <b>&%{F#f00}";
  for (const StatusFormat format :
       {StatusFormat::text, StatusFormat::json, StatusFormat::waybar, StatusFormat::polybar, StatusFormat::i3blocks}) {
    EXPECT_EQ(formatStatusLine(line, format).find('\n'), std::string::npos) << static_cast<int>(format);
  }
  EXPECT_EQ(formatStatusLine(line, StatusFormat::text), shown + " 50% · resets in 2 hr, 18 min");
  const auto waybar = boost::json::parse(formatStatusLine(line, StatusFormat::waybar)).as_object();
  EXPECT_EQ(waybar.at("text"), "A &quot;q&quot; &lt;b&gt;&amp;%{F#f00} 50% · resets in 2 hr, 18 min");
  EXPECT_EQ(waybar.at("tooltip").as_string().find("A &quot;q&quot; &lt;b&gt;&amp;"), 0u);
  const auto json = boost::json::parse(formatStatusLine(line, StatusFormat::json)).as_object();
  EXPECT_EQ(json.at("text").as_string(), formatStatusLine(line, StatusFormat::text));
  const std::string polybar = formatStatusLine(line, StatusFormat::polybar);
  EXPECT_EQ(polybar.find("%{F#f00}"), std::string::npos) << polybar;
  EXPECT_NE(polybar.find("A \"q\" <b>&%"), std::string::npos) << polybar;
}

// `status --watch` prints the current line at once and a new one after a
// write to the suite, then ends cleanly on SIGTERM.
TEST(StatusCommand, WatchPrintsANewLineAfterASuiteWrite) {
  const testing::TemporaryDirectory folder;
  const std::filesystem::path suites = folder / "suites";
  std::filesystem::create_directories(suites);
  testing::RunningProgram watch({ZELTO_WIDGET_PROGRAM, "status", "--watch", "--format", "json", "--dir", suites.string()},
                                {{"TZ", "UTC"}, {"HOME", folder.path().string()}}, folder.path());
  auto linesWithin = [&](std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string output;
    while (std::chrono::steady_clock::now() < deadline) {
      output = watch.output();
      if (static_cast<std::size_t>(std::count(output.begin(), output.end(), '\n')) >= count) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return output;
  };
  ASSERT_EQ(linesWithin(1), "{\"text\":\"Waiting for Zelto\",\"tooltip\":\"Waiting for Zelto\",\"class\":\"waiting\","
                            "\"percentage\":null}\n")
      << watch.error();
  const defaults::Suite suite = defaults::Suite::open("group.zelto.limits", {suites, "test"});
  ASSERT_FALSE(suite.setData(SharedSnapshotStore::dashboardKey, encodeJson(dashboardWith("Personal", 9))));
  const std::string output = linesWithin(2);
  const std::string second = output.substr(output.find('\n') + 1);
  ASSERT_FALSE(second.empty()) << watch.error();
  EXPECT_EQ(boost::json::parse(second).as_object().at("class"), "critical");
  ASSERT_EQ(::kill(watch.pid(), SIGTERM), 0);
  EXPECT_EQ(watch.wait(std::chrono::seconds(5)), 0);
}

}  // namespace
}  // namespace zelto::cli
