#pragma once

#include "platform/locale/UserSettings.hpp"

#include <filesystem>
#include <optional>
#include <string>

namespace zelto::defaults {

// Where suites live: <directory>/<suite name>.sqlite3. The standard suite of
// a process is the suite named after the program.
struct SuiteLocation {
  std::filesystem::path directory;
  std::string standardSuiteName;
};

// $ZELTO_LIMITS_DEFAULTS_DIR when set and not empty, else
// $XDG_DATA_HOME/zelto-limits with XDG_DATA_HOME defaulting to
// $HOME/.local/share. nullopt when neither HOME nor the variables are set.
std::optional<std::filesystem::path> defaultSuiteDirectory(const locale::EnvironmentLookup& environment);

// Whether `name` may name a suite: not empty, not "." or "..", no "/" and no
// NUL character.
bool isValidSuiteName(const std::string& name);

}  // namespace zelto::defaults
