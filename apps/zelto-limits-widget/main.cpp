// zelto-limits-widget: the widget host's command line. Runs the widget's
// timeline provider and week intents against the shared suite and prints
// what a widget host would receive, as JSON.

#include <CLI/CLI.hpp>

#include <cstdint>
#include <iostream>
#include <optional>
#include <string>

#include "apps/zelto-limits-widget/AutostartCommand.hpp"
#include "apps/zelto-limits-widget/DesktopCommands.hpp"
#include "apps/zelto-limits-widget/GalleryCommand.hpp"
#include "apps/zelto-limits-widget/NotifyCommand.hpp"
#include "apps/zelto-limits-widget/RenderCommand.hpp"
#include "apps/zelto-limits-widget/RequestOptions.hpp"
#include "apps/zelto-limits-widget/StatusCommand.hpp"
#include "apps/zelto-limits-widget/SuiteOptions.hpp"
#include "apps/zelto-limits-widget/WidgetCommands.hpp"

namespace {

using zelto::cli::RequestOptions;

constexpr const char* programName = "zelto-limits-widget";

void addRequestOptions(CLI::App& app, RequestOptions& options) {
  app.add_option("--dir", options.directory,
                 "Folder of the shared suites (default: $ZELTO_LIMITS_DEFAULTS_DIR, else $XDG_DATA_HOME/zelto-limits)")
      ->type_name("DIR");
  app.add_option("--suite", options.suiteName, "Suite name (default: group.zelto.limits)")->type_name("NAME");
  app.add_option("--now", options.now, "The clock for this run, ISO-8601, e.g. 2025-03-12T10:00:00+01:00")
      ->type_name("ISO-8601");
  app.add_option("--time-zone", options.timeZone, "IANA time zone, e.g. Europe/Berlin (default: TZ or the system's)")
      ->type_name("IANA-NAME");
  app.add_option("--locale", options.localeName,
                 "Locale, BCP 47 or POSIX form, e.g. de-DE (default: LC_ALL, LC_TIME, LANG)")
      ->type_name("NAME");
  app.add_option("--first-weekday", options.firstWeekday, "First day of the week, 1 (Sunday) to 7 (Saturday)")
      ->type_name("1..7")
      ->check(CLI::Range(1, 7).description(""));
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Zelto Limits widget host. Runs the widget's timeline provider and week intents against the shared\n"
      "suite and prints what a widget host receives, as JSON. Dates are seconds since 2001-01-01T00:00:00Z.",
      programName};
  app.require_subcommand(0, 1);
  app.fallthrough();
  RequestOptions options;
  addRequestOptions(app, options);

  auto* placeholder = app.add_subcommand("placeholder", "Print the placeholder entry (the sample dashboard)");
  bool preview = false;
  auto* snapshot = app.add_subcommand("snapshot", "Print the snapshot entry");
  snapshot->add_flag("--preview", preview, "Answer as for the widget gallery (the sample dashboard)");
  auto* timeline = app.add_subcommand("timeline", "Print the timeline: its one entry and when to reload");
  std::string direction;
  auto* intent = app.add_subcommand("intent", "Run a week intent, then print the stored week offset and the reloads");
  intent->add_option("direction", direction, "previous or next")
      ->required()
      ->check(CLI::IsMember({"previous", "next"}));
  std::optional<std::string> offset;  // checked by parseWeekOffset: CLI11 takes 0x10 and clamps overflow
  auto* week = app.add_subcommand("week", "Print the usage week of the dashboard (the stored offset unless --offset)");
  week->add_option("--offset", offset, "Week offset: 0 is the current week, -1 the one before")->type_name("N");
  const zelto::cli::RenderCommand render(app);
  const zelto::cli::GalleryCommand gallery(app);

  const auto status = zelto::cli::registerStatusCommand(app, options);
  const auto autostart = zelto::cli::registerAutostartCommand(app);
  const auto notify = zelto::cli::registerNotifyCommand(app);
  zelto::cli::DesktopCommands desktop;
  zelto::cli::registerDesktopCommands(app, desktop);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << programName << ": " << e.what() << " (see --help)\n";
    return 2;
  }

  try {
    if (auto status = zelto::cli::runDesktopCommand(app, desktop, options)) return *status;
    if (app.get_subcommands().empty()) throw zelto::cli::UsageError("a subcommand is required (see --help)");
    using zelto::cli::WeekDirection;
    const auto access = intent->parsed() ? zelto::defaults::SuiteAccess::write : zelto::defaults::SuiteAccess::read;
    const auto user = zelto::locale::processEnvironment();
    const auto environment = zelto::cli::resolveRequest(options, user);
    const auto container = zelto::cli::resolveContainer(options, user, access);
    if (placeholder->parsed()) return zelto::cli::runPlaceholder(environment, container, std::cout);
    if (snapshot->parsed()) return zelto::cli::runSnapshot(environment, container, preview, std::cout);
    if (timeline->parsed()) return zelto::cli::runTimeline(environment, container, std::cout);
    if (intent->parsed()) {
      const auto step = direction == "previous" ? WeekDirection::previous : WeekDirection::next;
      return zelto::cli::runIntent(environment, container, step, std::cout);
    }
    if (week->parsed()) {
      const auto weekOffset = offset ? std::optional(zelto::cli::parseWeekOffset(*offset)) : std::nullopt;
      return zelto::cli::runWeek(environment, container, weekOffset, std::cout);
    }
    for (const auto* command : {&status, &autostart, &notify}) {
      if (command->command->parsed()) return command->run(environment, container);
    }
    if (render.parsed()) return render.run(environment, container, std::cout);
    if (gallery.parsed()) return gallery.run(environment, container, std::cout);
  } catch (const zelto::cli::UsageError& e) {
    std::cerr << programName << ": " << e.what() << '\n';
    return 2;
  } catch (const zelto::cli::SuiteBusyError& e) {
    std::cerr << programName << ": " << e.what() << '\n';
    return 3;
  }
  return 2;
}
