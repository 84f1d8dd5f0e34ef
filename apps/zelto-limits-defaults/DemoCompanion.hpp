#pragma once

#include <functional>
#include <string>
#include <vector>

#include "apps/zelto-limits-defaults/DefaultsCommand.hpp"
#include "platform/locale/Date.hpp"

namespace zelto::defaults {

// One line for the tool's list of subcommands.
inline constexpr const char* demoCommandSummary =
    "Write a made-up dashboard that changes with the clock, to try the widget without a companion";

// What the demo needs from the world besides the suite, so that a test can
// run it with a fixed clock.
struct DemoWorld {
  std::function<Date()> now;
  // Waits up to `seconds`; true when the user asked the demo to stop.
  std::function<bool(double seconds)> waitForStop;
};

// The real clock, and a wait that ends early on SIGINT or SIGTERM (both are
// blocked while the demo runs, so neither can interrupt a write).
DemoWorld processWorld();

// Runs `demo [--once] [--interval SECONDS] [--accounts 1..4] [--seed N]
// [--force]` with `--suite NAME` and `--dir DIR` before or after it.
// `arguments` is the tool's whole command line without the program name.
// Every snapshot goes through the tool's own `write`, so it is checked
// exactly as any other. A stored dashboard that the demo did not write is
// left alone (exit status 1) unless --force.
int runDemoCommand(const std::vector<std::string>& arguments, const locale::EnvironmentLookup& environment,
                   CommandStreams streams, const DemoWorld& world = processWorld());

}  // namespace zelto::defaults
