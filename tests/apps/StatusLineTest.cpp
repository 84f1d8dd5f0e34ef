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

// One account named `name` whose tightest window has `remaining` percent
// left and resets in 2 h 18 min, after a roomier window.
ZeltoDashboardSnapshot dashboardWith(const std::string& name, std::int64_t remaining) {
  ZeltoLimitSnapshot limits{now, std::nullopt, {{"weekly", "Weekly", 10, now + 4 * 86400, 10080},
                                               {"five", "5-hour", 100 - remaining, now + 8280, 300}},
                            std::nullopt, {{"credit", "Full reset", now - 3600}}};
  return ZeltoDashboardSnapshot{now, {{"id", name, std::nullopt, limits, std::nullopt, std::nullopt}}};
}

std::string statusOf(const std::optional<ZeltoDashboardSnapshot>& dashboard, StatusFormat format) {
  const host::RequestEnvironment environment{now, *locale::Calendar::make("UTC", 2), locale::Locale::make("en_US")};
  return formatStatusLine(makeStatusLine(dashboard, environment), format);
}

boost::json::object parsed(const std::string& line) { return boost::json::parse(line).as_object(); }

// The tone bands at their edges, in each bar's convention.
TEST(StatusLine, ClassesAndColoursFollowTheToneBands) {
  struct Case {
    std::int64_t remaining;
    const char* className;
    const char* colour;
  };
  for (const auto& [remaining, className, colour] : {Case{26, "ok", "#AEBEFF"}, Case{25, "warning", "#FFB570"},
                                                     Case{10, "warning", "#FFB570"}, Case{9, "critical", "#FF5B6F"}}) {
    const auto dashboard = dashboardWith("Personal", remaining);
    const std::string text = "Personal " + std::to_string(remaining) + "% · resets in 2 hr, 18 min";
    EXPECT_EQ(statusOf(dashboard, StatusFormat::text), text);
    const auto waybar = parsed(statusOf(dashboard, StatusFormat::waybar));
    EXPECT_EQ(waybar.at("class"), className);
    EXPECT_EQ(waybar.at("percentage"), remaining);
    EXPECT_EQ(statusOf(dashboard, StatusFormat::polybar), std::string("%{F") + colour + "}" + text + "%{F-}");
    EXPECT_EQ(parsed(statusOf(dashboard, StatusFormat::i3blocks)).at("color"), colour);
  }
  EXPECT_EQ(parsed(statusOf(dashboardWith("Personal", 40), StatusFormat::json)).at("tooltip"),
            "Personal\n  Weekly: 90% left, resets in 4 days\n  5-hour: 40% left, resets in 2 hr, 18 min\n"
            "  Full reset: expired 1 hr ago");
  EXPECT_EQ(statusOf(std::nullopt, StatusFormat::json),
            R"({"text":"Waiting for Zelto","tooltip":"Waiting for Zelto","class":"waiting","percentage":null})");
}

// A name with quotes, a line break and markup stays one line and reaches
// each bar as text, never as markup or a formatting tag.
TEST(StatusLine, DataTextsAreEscapedForEachBar) {
  const auto dashboard = dashboardWith("A \"q\"\n<b>&%{F#f00}", 50);
  for (const StatusFormat format :
       {StatusFormat::text, StatusFormat::json, StatusFormat::waybar, StatusFormat::polybar, StatusFormat::i3blocks}) {
    EXPECT_EQ(statusOf(dashboard, format).find('\n'), std::string::npos);
  }
  EXPECT_EQ(statusOf(dashboard, StatusFormat::text), "A \"q\" <b>&%{F#f00} 50% · resets in 2 hr, 18 min");
  const auto waybar = parsed(statusOf(dashboard, StatusFormat::waybar));
  EXPECT_EQ(waybar.at("text"), "A &quot;q&quot; &lt;b&gt;&amp;%{F#f00} 50% · resets in 2 hr, 18 min");
  EXPECT_EQ(waybar.at("tooltip").as_string().find("A &quot;q&quot; &lt;b&gt;&amp;"), 0u);
  EXPECT_EQ(statusOf(dashboard, StatusFormat::polybar).find("%{F#f00}"), std::string::npos);
}

// `status --watch` prints the current line at once, a new one after a write
// to the suite, another when "resets in 30 sec" ticks down, and ends cleanly
// on SIGTERM.
TEST(StatusCommand, WatchPrintsANewLineAfterASuiteWrite) {
  const testing::TemporaryDirectory folder;
  std::filesystem::create_directories(folder / "suites");
  testing::RunningProgram watch({ZELTO_WIDGET_PROGRAM, "status", "--watch", "--format", "waybar", "--dir", (folder / "suites").string()},
                                {{"TZ", "UTC"}}, folder.path());
  auto lines = [&](std::size_t count) {
    std::string output;
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         std::count(output.begin(), output.end(), '\n') < static_cast<long>(count) && std::chrono::steady_clock::now() < deadline;
         std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
      output = watch.output();
    }
    return output;
  };
  ASSERT_NE(lines(1).find("\"class\":\"waiting\"}\n"), std::string::npos) << watch.error();
  const defaults::Suite suite = defaults::Suite::open("group.zelto.limits", {folder / "suites", "test"});
  ZeltoDashboardSnapshot dashboard = dashboardWith("Personal", 9);
  const Date realNow = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count() - referenceDateUnixSeconds;
  dashboard.accounts[0].limits->windows[1].resetsAt = realNow + 30;
  ASSERT_FALSE(suite.setData(SharedSnapshotStore::dashboardKey, encodeJson(dashboard)));
  const std::string output = lines(3);
  std::istringstream stream(output);
  std::string waiting, written, ticked;
  std::getline(stream, waiting), std::getline(stream, written), std::getline(stream, ticked);
  ASSERT_FALSE(ticked.empty()) << output;
  EXPECT_EQ(parsed(written).at("class"), "critical");
  const std::string before(parsed(written).at("text").as_string()), after(parsed(ticked).at("text").as_string());
  EXPECT_EQ(before.rfind("Personal 9% · resets in ", 0), 0u) << before;
  EXPECT_EQ(after.rfind("Personal 9% · resets in ", 0), 0u) << after;
  EXPECT_NE(before, after);  // a second later, one second less
  ASSERT_EQ(::kill(watch.pid(), SIGTERM), 0);
  EXPECT_EQ(watch.wait(std::chrono::seconds(5)), 0);
}

}  // namespace
}  // namespace zelto::cli
