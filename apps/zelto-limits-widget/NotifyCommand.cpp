#include "apps/zelto-limits-widget/NotifyCommand.hpp"

#include <iostream>
#include <memory>
#include <string>

#include "apps/zelto-limits-widget/HostSettings.hpp"

namespace zelto::cli {

RegisteredCommand registerNotifyCommand(CLI::App& program) {
  auto action = std::make_shared<std::string>();
  CLI::App* command = program.add_subcommand(
      "notify", "Desktop notifications when a window runs low or a reset credit expires: on, off, or status");
  command->add_option("action", *action, "on, off or status")
      ->required()
      ->check(CLI::IsMember({"on", "off", "status"}));
  return {command, [action](const host::RequestEnvironment&, const SharedContainer&) {
            const HostSettings settings(HostSettings::defaultFile(locale::processEnvironment()));
            if (*action != "status" && !settings.setNotificationsEnabled(*action == "on")) {
              std::cerr << "zelto-limits-widget: cannot write " << settings.file().string() << '\n';
              return 2;
            }
            std::cout << (settings.notificationsEnabled() ? "on" : "off") << '\n';
            return 0;
          }};
}

}  // namespace zelto::cli
