#pragma once

#include <CLI/CLI.hpp>

#include <functional>

#include "apps/zelto-limits-widget/RequestOptions.hpp"
#include "platform/host/RequestEnvironment.hpp"
#include "widget/model/SharedSnapshotStore.hpp"

namespace zelto::cli {

// A subcommand added to the program, and what runs it once it was parsed.
struct RegisteredCommand {
  CLI::App* command = nullptr;
  std::function<int(const host::RequestEnvironment&, const SharedContainer&)> run;
};

// `status [--format text|json|waybar|polybar|i3blocks] [--watch]`: one line
// for a status bar; with --watch, a new line whenever the suite changes what
// it says or one of its relative times changes wording, until SIGINT,
// SIGTERM or the bar closes the pipe. The clock follows real time in --watch
// unless the program's --now option fixes it.
RegisteredCommand registerStatusCommand(CLI::App& program, const RequestOptions& options);

}  // namespace zelto::cli
