#include <cstdlib>

#include "apps/zelto-limits-widget/DesktopCommands.hpp"
#include "apps/zelto-limits-widget/SuiteOptions.hpp"
#include "apps/zelto-limits-widget/WidgetScene.hpp"
#include "platform/kit/WidgetFamily.hpp"
#include "widget/runtime/LimitTimelineProvider.hpp"

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
  if (!displayAvailable()) {
    throw UsageError("no display to show the widget on (DISPLAY and WAYLAND_DISPLAY are not set or unusable)");
  }
  // Bad options are reported here, before anything is handed over.
  const auto user = locale::processEnvironment();
  const auto environment = resolveRequest(options, user);
  const auto container = resolveContainer(options, user, defaults::SuiteAccess::read);
  commands.request.options = options;
  if (commands.family) commands.request.family = kit::widgetFamilyNamed(*commands.family);
  // While GTK opens the display, the placeholder the widget shows first is
  // laid out once on the text system's thread, so that its texts are ready.
  std::function<void(const render::PangoTextSystem&)> warmUp;
  if (!gallery) {
    const auto family = commands.request.family.value_or(
        HostSettings(HostSettings::defaultFile(user)).load(commands.request.instance).family);
    warmUp = [environment, container, family](const render::PangoTextSystem& text) {
      const LimitTimelineProvider provider(container);
      const auto entry = provider.placeholder(host::TimelineProviderContext{family, false, environment});
      scene::layoutScene(entry, environment, scene::settingsFor(family), text);
    };
  }
  auto startUp = DesktopHost::beginStartUp(std::move(warmUp));
  // The widget draws with Cairo into images: GDK's probe of OpenGL at display
  // open (loading the GL driver, a large part of start-up time and memory)
  // buys nothing. A value the user set is kept.
  g_setenv("GDK_GL", "disable", FALSE);
  if (!gtk_init_check(nullptr, nullptr)) {
    throw UsageError("no display to show the widget on (DISPLAY and WAYLAND_DISPLAY are not set or unusable)");
  }
  DesktopHost host(std::move(startUp));
  if (gallery) return host.showGallery(options);
  return host.show(commands.request);
}

}  // namespace zelto::cli
