#include "apps/zelto-limits-widget/DesktopCommands.hpp"

namespace zelto::cli {

void registerRemoteCommands(CLI::App& app, DesktopCommands& commands) {
  commands.reload = app.add_subcommand("reload", "Ask the running widget host for new timelines now");
  commands.quit = app.add_subcommand("quit", "Close every widget of the running host");
}

}  // namespace zelto::cli
