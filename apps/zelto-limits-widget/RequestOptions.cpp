#include "apps/zelto-limits-widget/RequestOptions.hpp"

#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <system_error>
#include <variant>

#include "apps/zelto-limits-widget/IsoDate.hpp"
#include "platform/defaults/SuiteLocation.hpp"
#include "platform/locale/Iso8601.hpp"
#include "widget/model/SharedSnapshotStore.hpp"

namespace zelto::cli {
namespace {

namespace fs = std::filesystem;

// The standard suite of this program, used when a suite name is refused.
constexpr const char* programSuiteName = "zelto-limits-widget";

fs::path suiteDirectory(const RequestOptions& options, const locale::EnvironmentLookup& environment) {
  if (options.directory) {
    if (options.directory->empty()) throw UsageError("--dir: the folder name is empty");
    return fs::path(*options.directory);
  }
  auto directory = defaults::defaultSuiteDirectory(environment);
  if (!directory) {
    throw UsageError(
        "cannot tell where the suite lives: set HOME, XDG_DATA_HOME or ZELTO_LIMITS_DEFAULTS_DIR, or pass --dir");
  }
  return *directory;
}

// A folder that does not exist yet is fine for reading (the suite is empty)
// and for writing (it is created); one that exists must be a searchable
// folder, and writable when the request writes.
void checkDirectory(const fs::path& directory, SuiteAccess access) {
  std::error_code error;
  const auto status = fs::status(directory, error);
  if (error && error != std::errc::no_such_file_or_directory) {
    throw UsageError("cannot use the folder " + directory.string() + ": " + error.message());
  }
  if (!fs::exists(status)) {
    if (access == SuiteAccess::read) return;
    // The nearest existing ancestor must let us create the folder.
    fs::path ancestor = directory.parent_path();
    while (!ancestor.empty() && !fs::exists(ancestor, error)) ancestor = ancestor.parent_path();
    if (ancestor.empty()) ancestor = ".";
    if (!fs::is_directory(ancestor, error) || ::access(ancestor.c_str(), W_OK | X_OK) != 0) {
      throw UsageError("cannot create the folder " + directory.string() + ": " + ancestor.string() +
                       " is not writable");
    }
    return;
  }
  if (!fs::is_directory(status)) throw UsageError("cannot use " + directory.string() + ": it is not a folder");
  const int mode = access == SuiteAccess::write ? (R_OK | W_OK | X_OK) : (R_OK | X_OK);
  if (::access(directory.c_str(), mode) != 0) {
    throw UsageError("cannot use the folder " + directory.string() + ": permission denied");
  }
}

Date parseNow(const std::string& text, const locale::Calendar& calendar) {
  const auto parsed = locale::parseIso8601(text, calendar);
  if (const Date* date = std::get_if<Date>(&parsed)) return *date;
  if (std::get<locale::Iso8601Failure>(parsed) == locale::Iso8601Failure::nonexistentLocalTime) {
    throw UsageError("--now: the local time \"" + text + "\" does not exist in the time zone " + calendar.timeZoneId() +
                     " (its clocks skip it)");
  }
  throw UsageError("--now: expected an ISO-8601 date and time such as 2025-03-12T10:00:00+01:00, found \"" + text +
                   "\"");
}

}  // namespace

std::int64_t parseWeekOffset(const std::string& text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 10);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    throw UsageError("--offset: expected a whole decimal number within the signed 64-bit range, found \"" + text +
                     "\"");
  }
  return value;
}

host::RequestEnvironment resolveRequest(const RequestOptions& options, const locale::EnvironmentLookup& environment,
                                        SuiteAccess access) {
  const locale::UserSettings user = locale::readUserSettings(environment);

  const std::string timeZone = options.timeZone.value_or(user.timeZoneId);
  if (options.localeName && !locale::Locale::isKnown(*options.localeName)) {
    throw UsageError("--locale: unknown locale \"" + *options.localeName + "\"");
  }
  const std::string localeName = options.localeName.value_or(user.localeName);
  auto userLocale = locale::Locale::make(localeName);
  // A locale given on the command line brings its own first weekday unless
  // one is given too.
  const int firstWeekday =
      options.firstWeekday.value_or(options.localeName ? userLocale.defaultFirstWeekday() : user.firstWeekday);
  if (firstWeekday < 1 || firstWeekday > 7) {
    throw UsageError("--first-weekday: expected 1 (Sunday) to 7 (Saturday), found " + std::to_string(firstWeekday));
  }
  auto calendar = locale::Calendar::make(timeZone, firstWeekday);
  if (!calendar) throw UsageError("--time-zone: unknown time zone \"" + timeZone + "\"");

  Date now = systemNow();
  if (options.now) now = parseNow(*options.now, *calendar);

  std::string suiteName = options.suiteName.value_or(SharedSnapshotStore::appGroupIdentifier);
  if (!defaults::isValidSuiteName(suiteName)) {
    throw UsageError("--suite: \"" + suiteName + "\" cannot name a suite (empty, \".\", \"..\", or containing \"/\")");
  }
  const fs::path directory = suiteDirectory(options, environment);
  checkDirectory(directory, access);

  return host::RequestEnvironment{
      now, *calendar, userLocale,
      host::SharedContainer{defaults::SuiteLocation{directory, programSuiteName}, std::move(suiteName)}};
}

}  // namespace zelto::cli
