#include "apps/zelto-limits-widget/SuiteOptions.hpp"

namespace zelto::cli {
namespace {

// The standard suite of this program, used when a suite name is refused.
constexpr const char* programSuiteName = "zelto-limits-widget";

}  // namespace

SharedContainer resolveContainer(const RequestOptions& options, const locale::EnvironmentLookup& environment,
                                 defaults::SuiteAccess access) {
  if (options.directory && options.directory->empty()) throw UsageError("--dir: the folder name is empty");
  const auto named = options.directory ? std::optional<std::filesystem::path>(*options.directory) : std::nullopt;
  std::optional<defaults::SuiteLocation> location = defaults::suiteLocation(named, environment, programSuiteName);
  if (!location) {
    throw UsageError(
        "cannot tell where the suite lives: set HOME, XDG_DATA_HOME or ZELTO_LIMITS_DEFAULTS_DIR, or pass --dir");
  }
  SharedContainer container{*location, options.suiteName.value_or(SharedSnapshotStore::appGroupIdentifier)};
  if (auto problem = defaults::Suite::problemOpening(container.suiteName, container.location, access)) {
    throw UsageError((defaults::isValidSuiteName(container.suiteName) ? "cannot use the suite: " : "--suite: ") +
                     problem->message);
  }
  return container;
}

}  // namespace zelto::cli
