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

std::optional<std::filesystem::path> defaultSuiteDirectory(const locale::EnvironmentLookup& environment) {
  if (auto explicitDirectory = nonEmpty(environment, "ZELTO_LIMITS_DEFAULTS_DIR")) {
    return std::filesystem::path(*explicitDirectory);
  }
  // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base
  // directory rules ask.
  if (auto dataHome = nonEmpty(environment, "XDG_DATA_HOME"); dataHome && dataHome->front() == '/') {
    return std::filesystem::path(*dataHome) / "zelto-limits";
  }
  if (auto home = nonEmpty(environment, "HOME")) {
    return std::filesystem::path(*home) / ".local" / "share" / "zelto-limits";
  }
  return std::nullopt;
}

bool isValidSuiteName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace zelto::defaults
