#include "apps/zelto-limits-widget/DesktopCommands.hpp"

namespace zelto::cli {

void registerGalleryWindowCommand(CLI::App& app, DesktopCommands& commands) {
  // The contact-sheet gallery registers the same subcommand; either adds the
  // --window flag to whichever exists.
  const auto existing = app.get_subcommands([](const CLI::App* command) { return command->get_name() == "gallery"; });
  commands.galleryWindow = existing.empty() ? nullptr : existing.front();
  if (commands.galleryWindow == nullptr) {
    commands.galleryWindow = app.add_subcommand("gallery", "Show the widget gallery (--window: in a window)");
  }
  commands.galleryWindow->add_flag("--window", commands.window,
                                   "Open the gallery in a window; choosing a family opens that widget");
}

}  // namespace zelto::cli
