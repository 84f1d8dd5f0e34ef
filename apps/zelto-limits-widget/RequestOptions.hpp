#pragma once

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

// Resolves the options against the environment; throws UsageError. Where
// the suite lives is resolved apart (SuiteOptions.hpp).
host::RequestEnvironment resolveRequest(const RequestOptions& options, const locale::EnvironmentLookup& environment);

}  // namespace zelto::cli
