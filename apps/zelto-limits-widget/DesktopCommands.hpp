#pragma once

#include <CLI/CLI.hpp>

#include <optional>

#include "apps/zelto-limits-widget/DesktopHost.hpp"
#include "apps/zelto-limits-widget/RequestOptions.hpp"

namespace zelto::cli {

// The subcommands of the desktop host: show, reload, quit, and the gallery
// window. Each registers itself on `app`; run() runs whichever was given.
struct DesktopCommands {
  CLI::App* show = nullptr;
  CLI::App* reload = nullptr;
  CLI::App* quit = nullptr;
  CLI::App* galleryWindow = nullptr;
  ShowRequest request;
  std::optional<std::string> family;
  bool window = false;
};

void registerShowCommand(CLI::App& app, DesktopCommands& commands);
void registerRemoteCommands(CLI::App& app, DesktopCommands& commands);
void registerGalleryWindowCommand(CLI::App& app, DesktopCommands& commands);

inline void registerDesktopCommands(CLI::App& app, DesktopCommands& commands) {
  registerShowCommand(app, commands);
  registerRemoteCommands(app, commands);
  registerGalleryWindowCommand(app, commands);
}

// Whether a desktop is there to show the widget on (a Wayland or X display).
bool displayAvailable();

// The exit status of the desktop subcommand that was given (show also when
// no subcommand was given and a display is available); nullopt when none of
// them applies. `options` are the options every subcommand takes.
std::optional<int> runDesktopCommand(CLI::App& app, DesktopCommands& commands, const RequestOptions& options);

}  // namespace zelto::cli
