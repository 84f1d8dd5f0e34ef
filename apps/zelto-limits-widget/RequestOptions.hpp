#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/host/RequestEnvironment.hpp"
#include "platform/locale/UserSettings.hpp"

namespace zelto::cli {

// A bad option value or an unusable folder: one clear line, exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The options every subcommand takes so that any run can be reproduced
// exactly. Absent ones fall back to the user's own settings and the clock.
struct RequestOptions {
  std::optional<std::string> directory;
  std::optional<std::string> suiteName;
  std::optional<std::string> now;
  std::optional<std::string> timeZone;
  std::optional<std::string> localeName;
  std::optional<int> firstWeekday;
};

// A week offset given on the command line: a whole decimal number within the
// signed 64-bit range, with an optional sign; throws UsageError otherwise.
std::int64_t parseWeekOffset(const std::string& text);

// Resolves the options against the environment; throws UsageError. A time
// zone or locale given as an option must be one ICU knows; those taken from
// the environment fall back quietly (to the system's zone, UTC, en_US). Where
// the suite lives is resolved apart (SuiteOptions.hpp).
host::RequestEnvironment resolveRequest(const RequestOptions& options, const locale::EnvironmentLookup& environment);

}  // namespace zelto::cli
