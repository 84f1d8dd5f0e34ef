#include "apps/zelto-limits-defaults/DemoCompanion.hpp"

#include <CLI/CLI.hpp>

#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <ctime>
#include <random>
#include <sstream>
#include <variant>

#include "apps/zelto-limits-defaults/DemoDashboard.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace zelto::defaults {

namespace {

constexpr const char* programName = "zelto-limits-defaults";

struct DemoRequest {
  std::vector<std::string> suiteArguments;  // --suite and --dir as given, for the tool's own commands
  std::string suiteName = SharedSnapshotStore::appGroupIdentifier;
  DemoSettings settings;
  bool once = false;
  double interval = 5;
  bool force = false;
};

// A parsed request, or the exit status to end with at once (help, a bad
// command line).
using ParsedDemo = std::variant<DemoRequest, int>;

ParsedDemo parseDemoArguments(const std::vector<std::string>& arguments, CommandStreams streams) {
  DemoRequest request;
  std::string directory;
  std::optional<std::uint64_t> seed;
  CLI::App app(demoCommandSummary, programName);
  app.require_subcommand(1);
  app.add_option("--suite", request.suiteName, "Suite name (a file name)")->capture_default_str()->type_name("NAME");
  CLI::Option* directoryOption =
      app.add_option("--dir", directory, "Folder of the suites instead of the default one")->type_name("DIR");
  CLI::App* demo = app.add_subcommand("demo", demoCommandSummary);
  demo->fallthrough();
  demo->footer(
      "The demo's accounts have ids that start with \"demo-\". A dashboard snapshot with any other account is\n"
      "another writer's, and the demo does not replace it unless --force. Ctrl-C (or SIGTERM) ends the demo;\n"
      "the last snapshot stays in the suite.");
  CLI::Option* onceOption = demo->add_flag("--once", request.once, "Write one snapshot and exit");
  demo->add_option("--interval", request.interval, "Write a new snapshot every SECONDS until stopped")
      ->capture_default_str()
      ->type_name("SECONDS")
      ->check(CLI::Range(0.05, 86400.0).description(""))
      ->excludes(onceOption);
  demo->add_option("--accounts", request.settings.accounts,
                   "Number of accounts; from 3 on, the third one shows a failed fetch")
      ->capture_default_str()
      ->type_name("1..4")
      ->check(CLI::Range(1, maximumDemoAccounts).description(""));
  demo->add_option("--seed", seed, "Make the made-up numbers reproducible (default: a fresh seed per run)")
      ->type_name("N");
  demo->add_flag("--force", request.force, "Replace a dashboard snapshot that another writer stored");

  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::Success& success) {
    return app.exit(success, streams.output, streams.error);
  } catch (const CLI::ParseError& error) {
    streams.error << programName << ": " << error.what() << " (see demo --help)\n";
    return exitUsageError;
  }
  request.suiteArguments = {"--suite", request.suiteName};
  if (directoryOption->count() > 0) {
    request.suiteArguments.insert(request.suiteArguments.end(), {"--dir", directory});
  }
  request.settings.seed = seed ? *seed : std::random_device{}();
  return request;
}

// The user's calendar for the day keys; UTC with Monday first when the
// settings name a zone ICU does not know.
locale::Calendar userCalendar(const locale::EnvironmentLookup& environment) {
  const locale::UserSettings user = locale::readUserSettings(environment);
  if (auto calendar = locale::Calendar::make(user.timeZoneId, user.firstWeekday)) return *calendar;
  return *locale::Calendar::make("UTC", 2);
}

// The tool's own command, run in this process with captured streams.
struct ToolRun {
  int status;
  std::string output;
  std::string error;
};

ToolRun runTool(const DemoRequest& request, std::vector<std::string> command,
                const locale::EnvironmentLookup& environment, const std::string& input = "") {
  std::vector<std::string> arguments = request.suiteArguments;
  arguments.insert(arguments.end(), command.begin(), command.end());
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = runDefaultsCommand(arguments, environment, {in, out, err});
  return {status, out.str(), err.str()};
}

// Ends with a failure of the tool's own command, passing its message on.
int passOn(const ToolRun& run, std::ostream& error) {
  error << run.error;
  return run.status;
}

// Whether the stored dashboard may be replaced: none is stored, or the demo
// stored it, or --force. Anything else (a foreign or unreadable snapshot)
// stays. nullopt: go ahead; else the exit status.
std::optional<int> checkOwnership(const DemoRequest& request, const locale::EnvironmentLookup& environment,
                                  std::ostream& error) {
  const ToolRun read = runTool(request, {"read", SharedSnapshotStore::dashboardKey}, environment);
  if (read.status == exitRefused) return std::nullopt;  // no snapshot stored
  if (read.status != exitSuccess) return passOn(read, error);
  if (request.force) return std::nullopt;
  const auto stored = decodeDashboardSnapshot(read.output);
  if (stored && isDemoDashboard(stored.value())) return std::nullopt;
  error << programName << ": suite \"" << request.suiteName
        << "\" holds a dashboard snapshot that the demo did not write (its account ids do not all start with \""
        << demoAccountPrefix << "\"); not replacing it (use demo --force to replace it)\n";
  return exitRefused;
}

std::optional<int> writeSnapshot(const DemoRequest& request, Date now, const locale::Calendar& calendar,
                                 const locale::EnvironmentLookup& environment, std::ostream& error) {
  const std::string json = encodeJson(makeDemoDashboard(request.settings, now, calendar));
  const ToolRun write =
      runTool(request, {"write", SharedSnapshotStore::dashboardKey, "--data-file", "-"}, environment, json);
  if (write.status != exitSuccess) return passOn(write, error);
  return std::nullopt;
}

}  // namespace

DemoWorld processWorld() {
  return DemoWorld{
      [] {
        const auto since1970 = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch());
        return since1970.count() - referenceDateUnixSeconds;
      },
      [](double seconds) {
        // The signals stay blocked from the first wait on: one that arrives
        // during a write is taken by the next wait, after the write is done.
        sigset_t stopSignals;
        sigemptyset(&stopSignals);
        sigaddset(&stopSignals, SIGINT);
        sigaddset(&stopSignals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
        const double whole = std::floor(seconds);
        timespec timeout{static_cast<time_t>(whole), static_cast<long>((seconds - whole) * 1e9)};
        while (true) {
          const int signal = sigtimedwait(&stopSignals, nullptr, &timeout);
          if (signal == SIGINT || signal == SIGTERM) return true;
          if (signal < 0 && errno == EINTR) continue;  // another signal: keep waiting (the timeout restarts)
          return false;
        }
      },
  };
}

int runDemoCommand(const std::vector<std::string>& arguments, const locale::EnvironmentLookup& environment,
                   CommandStreams streams, const DemoWorld& world) {
  // The first wait blocks SIGINT and SIGTERM; block them before the first
  // write too, so that Ctrl-C never lands in the middle of one.
  if (world.waitForStop) world.waitForStop(0);
  ParsedDemo parsed = parseDemoArguments(arguments, streams);
  if (const int* status = std::get_if<int>(&parsed)) return *status;
  const DemoRequest& request = std::get<DemoRequest>(parsed);
  const locale::Calendar calendar = userCalendar(environment);

  for (int written = 0;; ++written) {
    if (auto status = checkOwnership(request, environment, streams.error)) return *status;
    if (auto status = writeSnapshot(request, world.now(), calendar, environment, streams.error)) return *status;
    if (request.once) {
      streams.output << "Wrote a demo dashboard with " << request.settings.accounts << " account"
                     << (request.settings.accounts == 1 ? "" : "s") << " to suite \"" << request.suiteName
                     << "\" (seed " << request.settings.seed << ").\n";
      return exitSuccess;
    }
    if (written == 0) {
      streams.output << "Writing a demo dashboard with " << request.settings.accounts << " account"
                     << (request.settings.accounts == 1 ? "" : "s") << " to suite \"" << request.suiteName
                     << "\" every " << request.interval << " s (seed " << request.settings.seed
                     << "). Ctrl-C stops; the last snapshot stays." << std::endl;
    }
    if (world.waitForStop(request.interval)) {
      streams.output << "Stopped after " << written + 1 << " snapshot" << (written == 0 ? "" : "s") << "."
                     << std::endl;
      return exitSuccess;
    }
  }
}

}  // namespace zelto::defaults
