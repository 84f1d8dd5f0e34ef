#pragma once

#include "platform/locale/UserSettings.hpp"

#include <filesystem>
#include <optional>
#include <string>

namespace zelto::defaults {

// Who chose the folder of the suites. The suites' own default folder holds
// account names and e-mail addresses, so it is kept owner-only; a folder the
// user named is theirs and its mode is left as it is.
enum class FolderOrigin { namedByUser, defaultFolder };

// Where suites live: <directory>/<suite name>.sqlite3. The standard suite of
// a process is the suite named after the program.
struct SuiteLocation {
  std::filesystem::path directory;
  std::string standardSuiteName;
  FolderOrigin origin = FolderOrigin::namedByUser;
};

// The folder `named` (from a command line) when given, else
// $ZELTO_LIMITS_DEFAULTS_DIR when set and not empty (both named by the user),
// else the default folder $XDG_DATA_HOME/zelto-limits with XDG_DATA_HOME
// defaulting to $HOME/.local/share. nullopt when none of them is known.
std::optional<SuiteLocation> suiteLocation(const std::optional<std::filesystem::path>& named,
                                           const locale::EnvironmentLookup& environment,
                                           const std::string& standardSuiteName);

// The longest suite name whose database and side files ("-journal", "-wal",
// "-shm") all fit in a file name.
inline constexpr std::size_t maximumSuiteNameLength = 255 - sizeof(".sqlite3-journal") + 1;

// Whether `name` may name a suite: not empty, not "." or "..", no "/" and no
// NUL character, and short enough for its files' names.
bool isValidSuiteName(const std::string& name);

}  // namespace zelto::defaults
