#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "apps/zelto-limits-widget/StatusCommand.hpp"
#include "platform/locale/UserSettings.hpp"

namespace zelto::cli {

// The user's autostart entry: $XDG_CONFIG_HOME/autostart/zelto-limits.desktop
// (XDG_CONFIG_HOME defaults to ~/.config); nullopt without HOME.
std::optional<std::filesystem::path> autostartEntryPath(const locale::EnvironmentLookup& environment);

// The autostart entry that starts `program` (an absolute path) with `show`
// when the user logs in; the path is quoted as desktop entries require.
std::string autostartEntry(const std::filesystem::path& program);

// `autostart on|off|status`: writes the entry for the running program,
// removes it, or says whether it is there ("on PATH" or "off").
RegisteredCommand registerAutostartCommand(CLI::App& program);

}  // namespace zelto::cli
