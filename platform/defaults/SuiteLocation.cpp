#include "platform/defaults/SuiteLocation.hpp"

namespace zelto::defaults {

namespace {

// A variable that is set and not empty.
std::optional<std::string> nonEmpty(const locale::EnvironmentLookup& environment, const std::string& name) {
  std::optional<std::string> value = environment(name);
  if (!value || value->empty()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<SuiteLocation> suiteLocation(const std::optional<std::filesystem::path>& named,
                                           const locale::EnvironmentLookup& environment,
                                           const std::string& standardSuiteName) {
  if (named) return SuiteLocation{*named, standardSuiteName, FolderOrigin::namedByUser};
  if (auto explicitDirectory = nonEmpty(environment, "ZELTO_LIMITS_DEFAULTS_DIR")) {
    return SuiteLocation{*explicitDirectory, standardSuiteName, FolderOrigin::namedByUser};
  }
  // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base
  // directory rules ask.
  if (auto dataHome = nonEmpty(environment, "XDG_DATA_HOME"); dataHome && dataHome->front() == '/') {
    return SuiteLocation{std::filesystem::path(*dataHome) / "zelto-limits", standardSuiteName,
                         FolderOrigin::defaultFolder};
  }
  if (auto home = nonEmpty(environment, "HOME")) {
    return SuiteLocation{std::filesystem::path(*home) / ".local" / "share" / "zelto-limits", standardSuiteName,
                         FolderOrigin::defaultFolder};
  }
  return std::nullopt;
}

bool isValidSuiteName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.size() > maximumSuiteNameLength) return false;
  return name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace zelto::defaults
