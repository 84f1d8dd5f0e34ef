#include <cstdlib>

#include "apps/zelto-limits-widget/DesktopCommands.hpp"
#include "apps/zelto-limits-widget/SuiteOptions.hpp"
#include "platform/kit/WidgetFamily.hpp"

namespace zelto::cli {

void registerShowCommand(CLI::App& app, DesktopCommands& commands) {
  commands.show = app.add_subcommand("show", "Put the widget on the desktop and keep it current");
  commands.show
      ->add_option("--family", commands.family, "small, medium or large (default: the remembered one, else medium)")
      ->check(CLI::IsMember({"small", "medium", "large"}))
      ->type_name("FAMILY");
  commands.show->add_option("--instance", commands.request.instance, "Name of this widget; several may be open")
      ->type_name("NAME");
  commands.show->add_flag("--reduce-motion", commands.request.reduceMotion, "Switch weeks without animation");
}

bool displayAvailable() {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  return set("WAYLAND_DISPLAY") || set("DISPLAY");
}

std::optional<int> runDesktopCommand(CLI::App& app, DesktopCommands& commands, const RequestOptions& options) {
  const bool noSubcommand = app.get_subcommands().empty();
  if (commands.reload->parsed()) return DesktopHost::sendAction("reload");
  if (commands.quit->parsed()) return DesktopHost::sendAction("quit");
  const bool gallery = commands.galleryWindow->parsed() && commands.window;
  if (!commands.show->parsed() && !gallery && !(noSubcommand && displayAvailable())) return std::nullopt;
  if (!displayAvailable() || !gtk_init_check(nullptr, nullptr)) {
    throw UsageError("no display to show the widget on (DISPLAY and WAYLAND_DISPLAY are not set or unusable)");
  }
  // Bad options are reported here, before anything is handed over.
  resolveRequest(options, locale::processEnvironment());
  resolveContainer(options, locale::processEnvironment(), defaults::SuiteAccess::read);
  DesktopHost host;
  if (gallery) return host.showGallery(options);
  commands.request.options = options;
  if (commands.family) commands.request.family = kit::widgetFamilyNamed(*commands.family);
  return host.show(commands.request);
}

}  // namespace zelto::cli
