#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/locale/UserSettings.hpp"

namespace zelto::defaults {

// Exit statuses of zelto-limits-defaults.
enum ExitStatus : int {
  exitSuccess = 0,
  // The key is missing, or the value was refused because the widget could
  // not read it.
  exitRefused = 1,
  // Bad command line, unreadable input file, or a suite folder or database
  // that cannot be used (not a suite, damaged, unreadable).
  exitUsageError = 2,
  // The suite is busy: another process held it past the wait, or the disk
  // failed. Trying again later may work; nothing was changed.
  exitBusy = 3,
};

// The streams the command uses besides the suite.
struct CommandStreams {
  std::istream& input;
  std::ostream& output;
  std::ostream& error;
};

// Runs the suite's command-line tool: `read [KEY]`, `write KEY (--int N |
// --data-file FILE) [--force]` and `delete KEY`, with `--suite NAME` and
// `--dir DIR` before or after the subcommand. `arguments` excludes the
// program name. Failures print one line on `streams.error`; the result is
// the exit status.
int runDefaultsCommand(const std::vector<std::string>& arguments, const locale::EnvironmentLookup& environment,
                       CommandStreams streams);

}  // namespace zelto::defaults
